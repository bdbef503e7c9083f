#pragma once
// The version 6 common controls (the system's themed buttons and edit boxes
// of dialogs and message boxes) come from an activation context made from
// the program's own manifest resource, not from the manifest the loader
// reads: resolving them there would delay every start of the program.
//
// Activates that context on the calling thread for the rest of its life;
// later calls on the same thread do nothing. Without the resource or the
// assembly the thread keeps the system's default controls.
void ActivateVisualStyles();
