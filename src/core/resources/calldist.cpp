#include "resources/resources.h"

extern const char res_calldist[] = R"RES(
! Call distribution: one function at a time over the 30 subscribers
*calldist_dlg.title: Rufverteilung
*main*avas.labelString: RWS/AVA/TFE
*main*avas.helpLine: RWS/AVA/TFE: Zuordnung der Rufweiterleitung/Zweitwecker/Türfreisprechgeräte...
*calldist_dlg.children: Form calldist
*calldist.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*calldist.children: Row cd_sel; EqualRow cd_btns
*cd_sel.children: Frame cd_todof; HFrame cd_grpf
*cd_todof.title: Funktions-Auswahl
*cd_todof.children: Chooser todo
*calldist*todo.chooserType: radio
*calldist*todo.strings: Anrufvariante 1, Anrufvariante 2, Türeinheit 1, Türeinheit 2, Rufweiterschaltung, \
Zweitwecker 1, Zweitwecker 2
*calldist*todo.valueChangedCallback: doCallDist()
*cd_grpf.title: Apparate-Auswahl
*cd_grpf.children: Chooser grp0; Chooser grp1; Chooser grp2
*cd_grpf*chooserType: check
*calldist*grp0.strings: AB 1, AB 2, AB 3, AB 4, AB 5, AB 6, AB 7, AB 8, TFE 1, TFE 2
*calldist*grp1.strings: S0 0, S0 1, S0 2, S0 3, S0 4, S0 5, S0 6, S0 7, S0 8, S0 9
*calldist*grp2.strings: S1 0, S1 1, S1 2, S1 3, S1 4, S1 5, S1 6, S1 7, S1 8, S1 9
*cd_btns.children: Button okay; Button cancel; Button help
*calldist*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Zuordnungen der Nebenstellen zu folgenden Funktionen:\n\
Anrufvariante 1:    Tagschaltung\n\
Anrufvariante 2:    Nachtschaltung\n\
Türeinheit 1/2:     Bedienung der Türöffner\n\
Rufweiterschaltung: Bei nicht zugeordneter MSN klingeln diese Nebenstellen\n\
Zweitwecker 1/2:    Zusätzliche (externe) Klingel über Relaissteuerung", "Hilfe")
)RES";
