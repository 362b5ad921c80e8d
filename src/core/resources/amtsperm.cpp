#include "resources/resources.h"

extern const char res_amtsperm[] = R"RES(
! Trunk permissions: one level for each of the 30 subscribers
*amtsperm_dlg.title: Amtsberechtigungen
*main*amtrecht.labelString: Amtsberechtigungen
*main*amtrecht.helpLine: Amtsberechtigungen: Vergabe der Amtsberechtigungen der Nebenstellen
*amtsperm_dlg.children: Form amtsperm
*amtsperm.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*amtsperm.children: HFrame am_grp; EqualRow am_btns
*am_grp.title: Amtsberechtigungen
*am_grp.children: Column am_ab; Separator am_sep0; Column am_s0; Separator am_sep1; Column am_s1
*am_grp*XmSeparator.orientation: vertical
*am_ab.children: Chooser tele0..9
*am_ab.captions: "AB  #1: ", "AB  #2: ", "AB  #3: ", "AB  #4: ", "AB  #5: ", "AB  #6: ", "AB  #7: ", "AB  #8: ", \
"TFE #1: ", "TFE #2: "
*am_s0.children: Chooser tele10..19
*am_s0.captions: "S0 #0: ", "S0 #1: ", "S0 #2: ", "S0 #3: ", "S0 #4: ", "S0 #5: ", "S0 #6: ", "S0 #7: ", \
"S0 #8: ", "S0 #9: "
*am_s1.children: Chooser tele20..29
*am_s1.captions: "S1 #0: ", "S1 #1: ", "S1 #2: ", "S1 #3: ", "S1 #4: ", "S1 #5: ", "S1 #6: ", "S1 #7: ", \
"S1 #8: ", "S1 #9: "
*am_grp*chooserType: option
*am_grp*strings: Nur intern, Kommend, Ort, Nahbereich, Inland, Unbeschränkt
! ten menus to a column: no vertical margin
*am_grp*XmRowColumn.marginHeight: 0
! Captions of one width, so that the menus of a column line up whether a
! caption shows a number or not.
*am_grp.box*XmLabel.alignment: alignment_beginning
*am_grp*captionWidth: Ruf #00:\040
*am_btns.children: Button okay; Button cancel; Button help
*amtsperm*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Hier koennen Sie jeder Nebenstelle eine der folgenden Berechtigungen zuweisen:\n\
\n\
Nur intern:   Nur interne Gespräche einleiten und annehmen\n\
Kommend:      Interne Gespräche einleiten und eingehende Gespräche annehmen\n\
Ort:          Orts-/Interngespräche einleiten und eingehende Gespräche annehmen\n\
Nahbereich:   Gespräche im Nahbereich einleiten (die Nahbereichsnummern müssen\n\
              eingetragen sein) und eingehende Gespräche annehmen\n\
Inland:       Inlandsgespräche einleiten und eingehende Gespräche annehmen\n\
Unbeschränkt: Jede Art Gespräch einleiten und annehmen\n\
\n\
Die Kurzwahl ist von diesen Berechtigungen nicht betroffen, außer von \\"Nur Intern\\".", "Hilfe")
)RES";
