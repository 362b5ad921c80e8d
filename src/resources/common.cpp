#include "resources/resources.h"

// Single ISO 8859-1 core fonts, never font sets: a font set would drop or cut
// the umlauts in UTF-8 and C locales.
extern const char res_common[] = R"RES(
*fontList: -misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1
*XmPushButton.fontList: -misc-fixed-bold-r-normal--13-*-*-*-c-70-iso8859-1
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
