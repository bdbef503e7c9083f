#pragma once
// Reading the six launch pages from the settings file at start-up and writing
// them back at exit.
#include "app/LaunchPage.h"

// Fills the pages from g_settings: each page's name (its default name when
// the file has none) and every slot whose target key is not empty. Slots
// are emptied first; no icon is taken here (see LaunchPage).
void LoadPages(LaunchPage pages[kPageCount]);

// Writes the pages to g_settings, page by page: the name, then for a used
// slot its comment, icon source and target keys (a null value removes the
// key), for an empty slot only an empty target key.
void SavePages(const LaunchPage pages[kPageCount]);
