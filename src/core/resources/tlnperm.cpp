#include "resources/resources.h"

extern const char res_tlnperm[] = R"RES(
! Extension permissions: one function at a time over the 30 subscribers
*tlnperm_dlg.title: Teilnehmer-Berechtigungen
*main*einricht.labelString: Berechtigungen
*main*einricht.helpLine: Berechtigungen: Master-/Aufschalte-/Aufschaltschutzberechtigungen
*tlnperm_dlg.children: Form tlnperm
*tlnperm.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*tlnperm.children: Row tp_sel; EqualRow tp_btns
*tp_sel.children: Frame tp_funkf; HFrame tp_setf
*tp_funkf.title: Funktions-Auswahl
*tp_funkf.children: Chooser funk
*tlnperm*funk.chooserType: radio
*tlnperm*funk.strings: Master, Aufschaltschutz, Aufschalten
*tlnperm*funk.valueChangedCallback: doFunkPerm()
*tp_setf.title: Apparate-Auswahl
*tp_setf.children: Chooser set0; Chooser set1; Chooser set2
*tp_setf*chooserType: check
*tlnperm*set0.strings: AB 1, AB 2, AB 3, AB 4, AB 5, AB 6, AB 7, AB 8, TFE 1, TFE 2
*tlnperm*set1.strings: S0 0, S0 1, S0 2, S0 3, S0 4, S0 5, S0 6, S0 7, S0 8, S0 9
*tlnperm*set2.strings: S1 0, S1 1, S1 2, S1 3, S1 4, S1 5, S1 6, S1 7, S1 8, S1 9
*tp_btns.children: Button okay; Button cancel; Button help
*tp_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Links eine Berechtigung wählen, rechts die Apparate ankreuzen, die sie haben:\n\
\n\
Master:           Darf die Anlage am Telefon programmieren\n\
Aufschaltschutz:  In Gespräche dieses Apparats darf sich niemand aufschalten\n\
Aufschalten:      Darf sich in ein laufendes Gespräch eines anderen aufschalten\n\
\n\
OK übernimmt alle drei Berechtigungen, Abbrechen verwirft sie; zur Anlage\n\
gelangen sie erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
