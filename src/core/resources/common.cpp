#include "resources/resources.h"

// DejaVu Sans through Xft, its size in points so that it follows Xft.dpi (else
// the screen's resolution); lists in its monospaced cut, for their columns.
// Kelvora.coreFont puts the whole window into one core font instead.
// A core font is named singly, never as a font set: a font set would drop or
// cut the umlauts in UTF-8 and C locales.
extern const char res_common[] = R"RES(
*renderTable: sans
*XmList.renderTable: mono
*sans.fontType: FONT_IS_XFT
*sans.fontName: DejaVu Sans
*sans.fontSize: 9
*mono.fontType: FONT_IS_XFT
*mono.fontName: DejaVu Sans Mono
*mono.fontSize: 9
! A box that is on shows a tick, a round one a dot: a sunken grey alone is
! hard to tell from off.
*XmToggleButton.indicatorOn: indicator_check_box
*XmToggleButtonGadget.indicatorOn: indicator_check_box
*XmToggleButton.selectColor: white
*XmToggleButtonGadget.selectColor: white
! Every input field is a tab group of its own and shows its cursor only while
! it has the focus.  (Input fields are text fields; the file dialog's get this too.)
*XmTextField.navigationType: exclusive_tab_group
*XmTextField.cursorPositionVisible: False
*XmTextField.focusCallback: dotextfocus()
*XmTextField.losingFocusCallback: dotxtunfoc()
! The standard buttons of every dialog; a dialog's own lines replace what differs.
*okay.labelString: OK
*okay.activateCallback: XmtDialogOkayCallback()
*cancel.labelString: Abbrechen
*cancel.activateCallback: XmtDialogCancelCallback()
*help.labelString: Hilfe
*help.activateCallback: XmtDisplayInformationMsg("msg1", "OK übernimmt die Eingaben, Abbrechen verwirft sie.\nZur Anlage gelangen sie erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
