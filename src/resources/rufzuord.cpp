#include "resources/resources.h"

extern const char res_rufzuord[] = R"RES(
! Internal numbers and the main-PBX connection
*rufzuord_dlg.title: Rufnummernzuordnung
*rufzuord_dlg.children: Form rufzuord
*rufzuord.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*rufzuord.autoUnmanage: False
*rufzuord.children: HFrame rnz_hpt; HFrame rnz_nst; EqualRow rnz_btns
*rnz_hpt.title: Hauptanlage
*rnz_hpt.children: Chooser hpttyp; InputField hptnum
*rufzuord*hpttyp.chooserType: option
*rufzuord*hpttyp.strings: Einzelanlage, Direkt, Über Amt, Vernetzt Master, Vernetzt Slave
*rufzuord*hpttyp.caption: Anschluß:
*rufzuord*hpttyp.captionPosition: top
*rufzuord*hpttyp.valueChangedCallback: setHptMode()
*rufzuord*hptnum.caption: Nummer:
*rufzuord*hptnum.captionPosition: top
*rufzuord*hptnum.pattern: dddddddd
! about 50 mm
*rufzuord*hptnum.columns: 30
*rnz_nst.title: Nebenstellen-Nummern
*rnz_nst.children: Column rnz_ab; Column rnz_s0; Column rnz_s1
*rnz_ab.children: InputField num0; InputField num1; InputField num2; InputField num3; InputField num4; InputField num5; InputField num6; InputField num7; InputField num8; InputField num9
*rnz_s0.children: InputField num10; InputField num11; InputField num12; InputField num13; InputField num14; InputField num15; InputField num16; InputField num17; InputField num18; InputField num19
*rnz_s1.children: InputField num20; InputField num21; InputField num22; InputField num23; InputField num24; InputField num25; InputField num26; InputField num27; InputField num28; InputField num29
! every number field: exactly two digits, 11 to 97
*rnz_nst*pattern: dd
*rnz_nst*matchAll: True
! about 15 mm with the 7-pixel font at 100 dpi (rows size fields by columns)
*rnz_nst*columns: 7
*rnz_nst*verifyCallback: Check_11_97()
*rnz_nst*errorCallback: XmtDisplayWarningMsg("msg1", "Die Nummern müssen zwischen 11 und 97 liegen\nund dürfen nicht doppelt vergeben werden!")
*rufzuord*num0.caption: AB  #1: 
*rufzuord*num1.caption: AB  #2: 
*rufzuord*num2.caption: AB  #3: 
*rufzuord*num3.caption: AB  #4: 
*rufzuord*num4.caption: AB  #5: 
*rufzuord*num5.caption: AB  #6: 
*rufzuord*num6.caption: AB  #7: 
*rufzuord*num7.caption: AB  #8: 
*rufzuord*num8.caption: TFE #1: 
*rufzuord*num9.caption: TFE #2: 
*rufzuord*num10.caption: S0 #0: 
*rufzuord*num11.caption: S0 #1: 
*rufzuord*num12.caption: S0 #2: 
*rufzuord*num13.caption: S0 #3: 
*rufzuord*num14.caption: S0 #4: 
*rufzuord*num15.caption: S0 #5: 
*rufzuord*num16.caption: S0 #6: 
*rufzuord*num17.caption: S0 #7: 
*rufzuord*num18.caption: S0 #8: 
*rufzuord*num19.caption: S0 #9: 
*rufzuord*num20.caption: S1 #0: 
*rufzuord*num21.caption: S1 #1: 
*rufzuord*num22.caption: S1 #2: 
*rufzuord*num23.caption: S1 #3: 
*rufzuord*num24.caption: S1 #4: 
*rufzuord*num25.caption: S1 #5: 
*rufzuord*num26.caption: S1 #6: 
*rufzuord*num27.caption: S1 #7: 
*rufzuord*num28.caption: S1 #8: 
*rufzuord*num29.caption: S1 #9: 
*rnz_btns.children: Button okay; Button cancel; Button help
*rnz_btns*okay.labelString: OK
*rnz_btns*okay.activateCallback: XmtDialogOkayCallback()
*rnz_btns*cancel.labelString: Abbrechen
*rnz_btns*cancel.activateCallback: XmtDialogCancelCallback()
*rnz_btns*help.labelString: Hilfe
*rnz_btns*help.activateCallback: XmtDisplayInformationMsg("msg1", "Zur Zeit nicht fertig...", "Hilfe")
)RES";
