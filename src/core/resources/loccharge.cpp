#include "resources/resources.h"

extern const char res_loccharge[] = R"RES(
! Internal rates: one unit price per subscriber, three columns by bus
*loccharge_dlg.title: Interner Gebührenwert
*loccharge_dlg.children: Form loccharge
*loccharge.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*loccharge.children: HFrame lc_rates; EqualRow lc_btns
*lc_rates.title: Interner Gebührensatz in Pfennig
*lc_rates.children: Column lc_ab; Column lc_s0; Column lc_s1
*lc_ab.children: InputField lcf0..9
*lc_ab.captions: "AB  #1: ", "AB  #2: ", "AB  #3: ", "AB  #4: ", "AB  #5: ", "AB  #6: ", "AB  #7: ", "AB  #8: ", \
"TFE #1: ", "TFE #2: "
*lc_s0.children: InputField lcf10..19
*lc_s0.captions: "S0 #0: ", "S0 #1: ", "S0 #2: ", "S0 #3: ", "S0 #4: ", "S0 #5: ", "S0 #6: ", "S0 #7: ", \
"S0 #8: ", "S0 #9: "
*lc_s1.children: InputField lcf20..29
*lc_s1.captions: "S1 #0: ", "S1 #1: ", "S1 #2: ", "S1 #3: ", "S1 #4: ", "S1 #5: ", "S1 #6: ", "S1 #7: ", \
"S1 #8: ", "S1 #9: "
*lc_rates*XmTextField.unitType: 100th_millimeters
*lc_rates*XmTextField.width: 1900
*lc_rates*pattern: ddd
*lc_rates*verifyCallback: Check_0_255()
*lc_rates*errorCallback: XmtDisplayWarningMsg("msg1", "Der Wert muß zwischen 0 und 255 liegen!")
*lc_btns.children: Button okay; Button cancel; Button help
*loccharge*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Hier kann für jede Nebenstelle ein \nabweichender Einheitenpreis angegeben\nwerden.\n", "Hilfe")
)RES";
