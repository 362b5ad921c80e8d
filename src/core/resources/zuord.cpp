#include "resources/resources.h"

extern const char res_zuord[] = R"RES(
! Which subscribers ring for each MSN
*zuord_dlg.title: MSN-Zuordnung
*zuord_dlg.children: Form zuord
*zuord.dialogStyle: DIALOG_FULL_APPLICATION_MODAL
*zuord.children: Row zu_sel; EqualRow zu_btns
*zu_sel.children: Frame zu_msnf; HFrame zu_appf
*zu_msnf.title: MSN-Auswahl
*zu_msnf.children: Chooser msn
*zuord*msn.chooserType: radio
*zuord*msn.strings: MSN 0, MSN 1, MSN 2, MSN 3, MSN 4, MSN 5, MSN 6, MSN 7, MSN 8, MSN 9
*zuord*msn.valueChangedCallback: doMSNZuord()
*zu_appf.title: Apparate-Auswahl
*zu_appf.children: Chooser app0; Chooser app1; Chooser app2
*zu_appf*chooserType: check
*zuord*app0.strings: AB 1, AB 2, AB 3, AB 4, AB 5, AB 6, AB 7, AB 8, TFE 1, TFE 2
*zuord*app1.strings: S0 0, S0 1, S0 2, S0 3, S0 4, S0 5, S0 6, S0 7, S0 8, S0 9
*zuord*app2.strings: S1 0, S1 1, S1 2, S1 3, S1 4, S1 5, S1 6, S1 7, S1 8, S1 9
*zu_btns.children: Button okay; Button help
*zu_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Oben eine MSN wählen, darunter die Apparate ankreuzen, die bei einem Anruf\n\
auf diese MSN klingeln sollen (AB: analoge Nebenstellen, TFE: Türstationen,\n\
S0/S1: Endgeräte an den internen S0-Bussen).\n\
\n\
Jedes Kreuz gilt sofort; OK schließt den Dialog. Zur Anlage gelangt die\n\
Zuordnung erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
