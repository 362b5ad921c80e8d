// What each button of the main window runs.  The procedures are registered,
// the dialog families set up and the editing buttons made sensitive from this
// one table; a new dialog of the main window is one row here.
#pragma once

#include <X11/Intrinsic.h>
#include <span>

struct MainButton {
    const char *button;    // widget name below the main window ("grund")
    const char *procedure; // the name its activateCallback line calls ("showConf")
    XtCallbackProc run;
    bool needsValidConfiguration;
    void (*setup)() = nullptr; // registers the callbacks of the dialogs it opens
};

// In the order the families are set up at start-up.
std::span<const MainButton> mainButtons();
