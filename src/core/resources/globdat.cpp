#include "resources/resources.h"

extern const char res_globdat[] = R"RES(
! Global PBX data
*globdat_dlg.title: Globale Anlagendaten
*main*global.labelString: Globale Einstellungen
*main*global.helpLine: Globales: Globale Anlagenparameter (Autom.Amtsholung/Landes-/Ortsvorwahl...)
*globdat_dlg.children: Form globdat
*globdat.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*globdat.children: HFrame gl_upper; Frame gl_lower; EqualRow gl_btns
*gl_upper.children: Frame gl_menus; Chooser amtamt
*gl_menus.children: Chooser moh; Chooser autamt; Chooser ava
*gl_menus.captions: " Wartemusik:", " Autom. Amt:", "    Akt.AVA:"
*gl_menus*chooserType: option
*globdat*moh.strings: Aus, Intern, Extern
*globdat*autamt.strings: Aus, Ein
*globdat*ava.strings: Aus, Ein
*globdat*amtamt.chooserType: check
*globdat*amtamt.strings: Rufweiterleitung Amt/Amt, LM 98/99 (*/#), Privat (ab ROM 1.1x), Tag/Nacht
*gl_lower.children: InputField uus; InputField code; InputField lkz; InputField okz; InputField hot; InputField rwst
*gl_lower.captions: " UserToUser: ", " CodeNummer: ", "Landesvorw.: ", "Ortsvorwahl: ", "Autom. Wahl: ", "   RWS-Zeit: "
*globdat*uus.pattern: cccccccccccccccccccccccccccccccc
*globdat*code.pattern: dddddd
*globdat*lkz.pattern: dd
*globdat*okz.pattern: ddddd
*globdat*hot.pattern: dddddddddddddddddddddddd
*globdat*rwst.pattern: dd
*globdat*lkz.verifyCallback: CheckLeadZero()
*globdat*okz.verifyCallback: CheckLeadZero()
*globdat*lkz.errorCallback: XmtDisplayWarningMsg("msg1", "Bitte keine führende Null eingeben!")
*globdat*okz.errorCallback: XmtDisplayWarningMsg("msg1", "Bitte keine führende Null eingeben!")
*gl_btns.children: Button okay; Button cancel; Button help
*globdat*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Wartemusik: Musik für wartende Anrufer: aus, intern oder von einer externen Quelle\n\
Autom. Amt: Beim Abnehmen des Hörers automatisch eine Amtsleitung belegen\n\
Akt. AVA:   Die unter RWS/AVA/TFE eingestellte Anrufverteilung ein- oder ausschalten\n\
\n\
Rufweiterleitung: Anrufe von außen dürfen wieder nach außen weitergeleitet werden\n\
LM 98/99: Simulation der Tasten * und # durch 98 und 99 ermöglichen\n\
Privat:   Das Führen von Privatgesprächen (#9) verbieten\n\
Tag/Nacht: Anrufvariante 2 (Nachtschaltung) aktivieren\n\
UserToUser: Text (bis 32 Zeichen), den die Anlage bei ISDN-Gesprächen mitsendet\n\
Codenummer: Code der Anlage, bis zu 6 Ziffern\n\
Landesvorw.: Landesvorwahl ohne führende Null (Deutschland: 49)\n\
Ortsvorwahl: Ortsvorwahl ohne führende Null (also 6356 nicht 06356)\n\
Autom. Wahl: \\"Baby-Ruf\\" - Nummer die beim Babyruf gewählt wird\n\
RWS-Zeit: Nach wieviel Sekunden wird ein Anruf weitergeleitet\n\
\n\
OK übernimmt die Werte, Abbrechen verwirft sie; zur Anlage gelangen sie erst\n\
mit \\"Programmieren\\" im Hauptfenster.\n", "Hilfe")
)RES";
