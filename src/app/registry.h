// The main window's buttons and the dialogs they open.  Each button is one row
// here: its procedure is registered, its resource lines (where it sits, what it
// calls, whether it waits for a valid configuration, its line in the help text)
// are made and the editing buttons follow the record's valid flag from this one
// table.  A dialog's button label and help line are in its own resource section
// (`*main*<button>.labelString`, `*main*<button>.helpLine`); its title is its
// `*<dialog>.title`.
#pragma once

#include <X11/Intrinsic.h>
#include <span>

struct MainButton {
    const char *button;    // widget name below the main window ("grund")
    const char *procedure; // the name its activateCallback line calls ("showConf")
    XtCallbackProc run;
    bool needsValidConfiguration;
    // For a button that opens a dialog: the dialog's shell ("anltyp_dlg") and
    // the container the button sits in ("cfgleft"), whose children are the
    // rows naming it, in the order of the rows.
    const char *dialog = nullptr;
    const char *column = nullptr;
};

// The dialogs first, in the order of the help text; then the configuration's
// files, transfers, "Hilfe" and "Beenden".
std::span<const MainButton> mainButtons();

// Registers the callbacks of the dialogs the buttons open, family by family.
void setUpDialogFamilies();

// The built-in resource table with the main window's lines made from the rows
// after it; NUL-terminated, built on first use.
const char **mainWindowResources();
