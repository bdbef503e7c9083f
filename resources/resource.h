#pragma once
// Resource, control and command identifiers shared by the resource script
// and the code. Plain #defines so that the resource compiler reads them too.

// Icon and dialog templates.
#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDD_PAGE_SETTINGS 130
#define IDD_COMMENT 131

// Controls of the page settings dialog.
#define IDC_PAGE_NAME 1000
#define IDC_TOPMOST 1001
#define IDC_FIXEDPOS 1002
#define IDC_RESET_PAGE 1003

// Control of the comment dialog.
#define IDC_COMMENT 1000

// The embedded archives: resource type and their entries. The first holds
// the pictures at 100 %, the outlines and the click sound; the second the
// pictures of the other display scales and the page backgrounds.
#define ARCHIVE_RESOURCE_TYPE "ARCHIVEX"
#define IDR_ARCHIVE_INDEX 1000
#define IDR_ARCHIVE_DATA 1001
#define IDR_EXTRA_ARCHIVE_INDEX 1002
#define IDR_EXTRA_ARCHIVE_DATA 1003

// The manifest of the common controls' activation context: outside the ids
// the loader reads by itself, so that no start pays for resolving it.
#define IDR_CONTROLS_MANIFEST 300

// Popup menu commands.
#define ID_PAGE_SETTINGS 32771
#define ID_SLOT_ADD 32772
#define ID_SLOT_EDIT 32773
#define ID_SLOT_DELETE 32774
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

// The framework's message for a text that is too long (%1: the limit).
#define AFX_IDP_PARSE_STRING_SIZE 61716

// Static controls carry no id of their own.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The version resource's numbers (the About text spells out 1.0.0).
#define DIDA_VERSION_NUMBERS 1, 0, 0, 0
