#include "resources/resources.h"

extern const char res_msns[] = R"RES(
! The ten MSNs of an external port
*msns_dlg.title: Rufnummern
*msns_dlg.children: Form msns
*msns.dialogStyle: DIALOG_FULL_APPLICATION_MODAL
*msns.autoUnmanage: False
*msns.children: Row ms_cols; EqualRow ms_btns
*ms_cols.children: Frame ms_col0; Frame ms_col1
*ms_col0.children: InputField num0 = msn0; InputField num1 = msn1; InputField num2 = msn2; InputField num3 = msn3; InputField num4 = msn4
*ms_col1.children: InputField num5 = msn5; InputField num6 = msn6; InputField num7 = msn7; InputField num8 = msn8; InputField num9 = msn9
*msns*num0.caption: MSN 0: 
*msns*num1.caption: MSN 1: 
*msns*num2.caption: MSN 2: 
*msns*num3.caption: MSN 3: 
*msns*num4.caption: MSN 4: 
*msns*num5.caption: MSN 5: 
*msns*num6.caption: MSN 6: 
*msns*num7.caption: MSN 7: 
*msns*num8.caption: MSN 8: 
*msns*num9.caption: MSN 9: 
! up to eight digits, no leading zero
*ms_cols*pattern: dddddddd
*ms_cols*verifyCallback: CheckLeadZero()
*ms_cols*errorCallback: XmtDisplayWarningMsg("msg1", "Bitte keine führende Null eingeben!")
*ms_btns.children: Button okay; Button cancel; Button help
*ms_btns*okay.labelString: OK
*ms_btns*okay.activateCallback: XmtDialogOkayCallback()
*ms_btns*cancel.labelString: Abbrechen
*ms_btns*cancel.activateCallback: XmtDialogCancelCallback()
*ms_btns*help.labelString: Hilfe
*ms_btns*help.activateCallback: XmtDisplayInformationMsg("msg1", "Zur Zeit nicht fertig...", "Hilfe")
)RES";
