#pragma once
// The monitors as the system lists them now, for the placement rules.
#include "launcher/Placement.h"

// Every monitor with its rectangle and the primary marked; with the primary
// screen's size for a system that lists none (or lacks the functions).
Desktop ReadDesktop();
