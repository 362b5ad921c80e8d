#include "resources/resources.h"

extern const char res_main[] = R"RES(
Kelvora.title: Ostrale 18x/Dorvan ISx Konfigurator
Kelvora.children: Form main
*main.children: Frame kurzbox; Frame kitbox; Frame cfgbox; HFrame selbox; HFrame filebox; MsgLine theline

*kurzbox.children: Button kurz
*kitbox.children: EqualRow kitrow
*kitrow.children: Button outcalls; Button incalls
*cfgbox.children: EqualRow cfgrow
*cfgrow.children: EqualColumn cfgleft; EqualColumn cfgright
*cfgleft.children: Button grund; Button appnum; Button amtrecht; Button avas; Button bsteuer
*cfgright.children: Button global; Button einricht; Button endgeraet; Button gebuehr; Button user
*selbox.children: Chooser whsel; Chooser absel
*filebox.children: EqualColumn filecol; Separator sep1; EqualColumn xfercol; Separator sep2; EqualColumn progcol
*filecol.children: Button laden; Button sichern
*xfercol.children: Button lesen; Button schreiben
*progcol.children: Button help; Button quit
*filebox*XmSeparator.orientation: vertical

*kurz.labelString: Kurzwahlen / Nahbereichs- und Sperrnummern
*kurz.activateCallback: dokwz()
*outcalls.labelString: Gespräche ausgehend
*outcalls.activateCallback: doOutKit()
*incalls.labelString: Gespräche eingehend
*incalls.activateCallback: doInKit()

*grund.labelString: Grundeinstellungen
*grund.activateCallback: showConf()
*grund.sensitive: False
*appnum.labelString: Interne Rufnummern
*appnum.activateCallback: dornz()
*appnum.sensitive: False
*amtrecht.labelString: Amtsberechtigungen
*amtrecht.activateCallback: doamtperm()
*amtrecht.sensitive: False
*avas.labelString: RWS/AVA/TFE
*avas.activateCallback: docalldist()
*avas.sensitive: False
*bsteuer.labelString: Steuerkontakte
*bsteuer.activateCallback: dosteuerk()
*bsteuer.sensitive: False
*global.labelString: Globale Einstellungen
*global.activateCallback: doglob()
*global.sensitive: False
*einricht.labelString: Berechtigungen
*einricht.activateCallback: dotlnperm()
*einricht.sensitive: False
*endgeraet.labelString: Endgeräte
*endgeraet.activateCallback: dotlntyp()
*endgeraet.sensitive: False
*gebuehr.labelString: Gebühren
*gebuehr.activateCallback: dogebdat()
*gebuehr.sensitive: False
*user.labelString: Teilnehmerdaten
*user.activateCallback: douserfkt()
*user.sensitive: False

*whsel.caption: Dateikennung:
*whsel.chooserType: radio
*whsel.strings: Hembel, Wendholt
*absel.caption: Anlagen-Auswahl:
*absel.chooserType: radio
*absel.strings: Anlage A, Anlage B
*absel.sensitive: False
*absel.item1.sensitive: False

*laden.labelString: Laden
*laden.activateCallback: loadCFGFile()
*sichern.labelString: Sichern
*sichern.activateCallback: saveCFGFileAs()
*sichern.sensitive: False
*lesen.labelString: Auslesen
*lesen.activateCallback: readConfig()
*schreiben.labelString: Programmieren
*schreiben.activateCallback: writeConfig()
*schreiben.sensitive: False
*help.labelString: Hilfe
*help.activateCallback: showHelp()
*quit.labelString: Beenden
*quit.activateCallback: quitting()

*theline.shadowThickness: 0
*theline.highlightThickness: 0
*theline.leftOffset: 0
*theline.rightOffset: 0
*theline.bottomOffset: 0
)RES";
