#include "resources/resources.h"

extern const char res_msns[] = R"RES(
! The ten MSNs of an external port
*msns_dlg.title: Rufnummern
*msns_dlg.children: Form msns
*msns.dialogStyle: DIALOG_FULL_APPLICATION_MODAL
*msns.children: Row ms_cols; EqualRow ms_btns
*ms_cols.children: Frame ms_col0; Frame ms_col1
*ms_col0.children: InputField num0..4 = msn0..4
*ms_col0.captions: "MSN 0: ", "MSN 1: ", "MSN 2: ", "MSN 3: ", "MSN 4: "
*ms_col1.children: InputField num5..9 = msn5..9
*ms_col1.captions: "MSN 5: ", "MSN 6: ", "MSN 7: ", "MSN 8: ", "MSN 9: "
! up to eight digits, no leading zero
*ms_cols*pattern: dddddddd
*ms_cols*verifyCallback: CheckLeadZero()
*ms_cols*errorCallback: XmtDisplayWarningMsg("msg1", "Bitte keine führende Null eingeben!")
*ms_btns.children: Button okay; Button cancel; Button help
*ms_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Die Rufnummern (MSN 0 bis 9) des gewählten S0-Ports, wie sie der\n\
Netzbetreiber vergeben hat: ohne Vorwahl und ohne führende Null.\n\
Unter \\"Zuordnung\\" wird festgelegt, welche Apparate bei welcher MSN klingeln.\n\
\n\
OK übernimmt die Nummern, Abbrechen verwirft sie; zur Anlage gelangen sie\n\
erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
