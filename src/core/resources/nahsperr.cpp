#include "resources/resources.h"

extern const char res_nahsperr[] = R"RES(
! Local-area prefixes
*nahber_dlg.title: Nahbereichsnummern
*nahber_dlg.children: Form nahber
*nahber.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*nahber.children: HFrame nb_fields; EqualRow nb_btns
*nb_fields.children: Column nb_left; Column nb_right
*nb_left.children: InputField num0..9
*nb_left.captions: "NAH  1: ", "NAH  2: ", "NAH  3: ", "NAH  4: ", "NAH  5: ", "NAH  6: ", "NAH  7: ", "NAH  8: ", "NAH  9: ", "NAH 10: "
*nb_right.children: InputField num10..19
*nb_right.captions: "NAH 11: ", "NAH 12: ", "NAH 13: ", "NAH 14: ", "NAH 15: ", "NAH 16: ", "NAH 17: ", "NAH 18: ", "NAH 19: ", "NAH 20: "
*nb_fields*pattern: ddddd
*nb_fields*XmTextField.unitType: 100th_millimeters
*nb_fields*XmTextField.width: 2000
*nb_btns.children: Button okay; Button cancel; Button help
*nahber*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Angaben zu Vorwahlen die im Ortsgesprächsbereich liegen.\n\
Diese werden von der Anlage für die Amtsberechtigungen verwendet.\n\
Die Null für die Amtsholung darf nicht angegeben werden. \n\
Die Null einer Vorwahl muß angegeben werden! Also 040 und nicht 0040.", "Hilfe")

! Blocked prefixes
*sperrber_dlg.title: Sperrnummern
*sperrber_dlg.children: Form sperrber
*sperrber.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*sperrber.children: HFrame sb_fields; EqualRow sb_btns
*sb_fields.children: Column sb_left; Column sb_right
*sb_left.children: InputField num0..9
*sb_left.captions: "Sperr  #1: ", "Sperr  #2: ", "Sperr  #3: ", "Sperr  #4: ", "Sperr  #5: ", "Sperr  #6: ", "Sperr  #7: ", "Sperr  #8: ", "Sperr  #9: ", "Sperr #10: "
*sb_right.children: InputField num10..19
*sb_right.captions: "Sperr #11: ", "Sperr #12: ", "Sperr #13: ", "Sperr #14: ", "Sperr #15: ", "Sperr #16: ", "Sperr #17: ", "Sperr #18: ", "Sperr #19: ", "Sperr #20: "
*sb_fields*pattern: ddddd
*sb_fields*XmTextField.unitType: 100th_millimeters
*sb_fields*XmTextField.width: 2000
*sb_btns.children: Button okay; Button cancel; Button help
*sperrber*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Angaben zu Vorwahlen die von keinem Apparat angewählt werden sollen.\n\
Die Null für die Amtsholung darf nicht angegeben werden. \n\
Die Null einer Vorwahl muß angegeben werden! Also 0190 und nicht 00190.\n\
Die Angabe von 00190 würde ein Auslandsgespräch nach Amerika sperren!", "Hilfe")
)RES";
