#include "resources/resources.h"

extern const char res_main[] = R"RES(
! Every line below the main window, so that no dialog widget of the same name
! (help, user, global ...) takes them.
Kelvora.title: Ostrale 18x/Dorvan ISx Konfigurator
Kelvora.children: Form main
*main.children: Frame kurzbox; Frame kitbox; Frame cfgbox; HFrame selbox; HFrame filebox; MsgLine theline

*main*kurzbox.children: Button kurz
*main*kitbox.children: EqualRow kitrow
*main*kitrow.children: Button outcalls; Button incalls
*main*cfgbox.children: EqualRow cfgrow
*main*cfgrow.children: EqualColumn cfgleft; EqualColumn cfgright
*main*cfgleft.children: Button grund; Button appnum; Button amtrecht; Button avas; Button bsteuer
*main*cfgright.children: Button global; Button einricht; Button endgeraet; Button gebuehr; Button user
*main*selbox.children: Chooser whsel; Chooser absel
*main*filebox.children: EqualColumn filecol; Separator sep1; EqualColumn xfercol; Separator sep2; EqualColumn progcol
*main*filecol.children: Button laden; Button sichern; Button uebersicht
*main*xfercol.children: Button lesen; Button schreiben; Button schnittstelle
*main*progcol.children: Button help; Button quit
*main*filebox*XmSeparator.orientation: vertical
! Tab goes from button to button, not only from box to box.
*main*XmPushButton.navigationType: tab_group

*main*kurz.labelString: Kurzwahlen / Nahbereichs- und Sperrnummern
*main*kurz.activateCallback: dokwz()
*main*outcalls.labelString: Gespräche ausgehend
*main*outcalls.activateCallback: doOutKit()
*main*incalls.labelString: Gespräche eingehend
*main*incalls.activateCallback: doInKit()

*main*grund.labelString: Grundeinstellungen
*main*grund.activateCallback: showConf()
*main*grund.sensitive: False
*main*appnum.labelString: Interne Rufnummern
*main*appnum.activateCallback: dornz()
*main*appnum.sensitive: False
*main*amtrecht.labelString: Amtsberechtigungen
*main*amtrecht.activateCallback: doamtperm()
*main*amtrecht.sensitive: False
*main*avas.labelString: RWS/AVA/TFE
*main*avas.activateCallback: docalldist()
*main*avas.sensitive: False
*main*bsteuer.labelString: Steuerkontakte
*main*bsteuer.activateCallback: dosteuerk()
*main*bsteuer.sensitive: False
*main*global.labelString: Globale Einstellungen
*main*global.activateCallback: doglob()
*main*global.sensitive: False
*main*einricht.labelString: Berechtigungen
*main*einricht.activateCallback: dotlnperm()
*main*einricht.sensitive: False
*main*endgeraet.labelString: Endgeräte
*main*endgeraet.activateCallback: dotlntyp()
*main*endgeraet.sensitive: False
*main*gebuehr.labelString: Gebühren
*main*gebuehr.activateCallback: dogebdat()
*main*gebuehr.sensitive: False
*main*user.labelString: Teilnehmerdaten
*main*user.activateCallback: douserfkt()
*main*user.sensitive: False

*main*whsel.caption: Dateikennung:
*main*whsel.chooserType: radio
*main*whsel.strings: Hembel, Wendholt
*main*absel.caption: Anlagen-Auswahl:
*main*absel.chooserType: radio
*main*absel.strings: Anlage A, Anlage B
*main*absel.sensitive: False
*main*absel.item1.sensitive: False

*main*laden.labelString: Laden
*main*laden.activateCallback: loadCFGFile()
*main*sichern.labelString: Sichern
*main*sichern.activateCallback: saveCFGFileAs()
*main*sichern.sensitive: False
*main*uebersicht.labelString: Übersicht
*main*uebersicht.activateCallback: showOverview()
*main*uebersicht.sensitive: False
! The overview page is opened with this command; %s is the page's file.
Kelvora.browseCommand: xdg-open %s
*main*lesen.labelString: Auslesen
*main*lesen.activateCallback: readConfig()
*main*schreiben.labelString: Programmieren
*main*schreiben.activateCallback: writeConfig()
*main*schreiben.sensitive: False
*main*schnittstelle.labelString: Schnittstelle...
*main*schnittstelle.activateCallback: choosePort()
*main*help.labelString: Hilfe
*main*help.activateCallback: showHelp()
*main*quit.labelString: Beenden
*main*quit.activateCallback: quitting()

*main*theline.shadowThickness: 0
*main*theline.highlightThickness: 0
*main*theline.leftOffset: 0
*main*theline.rightOffset: 0
*main*theline.bottomOffset: 0
! What the line says once a file or transfer step has ended; %s is the
! file's name or the time.
*main*theline.saved: Gespeichert: %s
*main*theline.notSaved: Nicht gespeichert: %s
*main*theline.loaded: Geladen: %s
*main*theline.notLoaded: Nicht geladen: %s
*main*theline.programDone: Programmiert um %s
*main*theline.programFailed: Programmieren fehlgeschlagen um %s: die Änderungen bleiben erhalten
*main*theline.tlnReadDone: Teilnehmerdaten ausgelesen um %s
*main*theline.tlnProgramDone: Teilnehmerdaten programmiert um %s
*main*theline.tlnProgramFailed: Teilnehmerdaten: Programmieren fehlgeschlagen um %s
)RES";

// One resource line: what each part of the main window is for, shown by "Hilfe".
extern const char res_help[] =
    "*main*help.helpText: "
    "Kurzwahlen/Nah-/Sperrber.: Kurzwahlverzeichniss/Nah- und Sperrbereiche editieren\\n"
    "Gespräche ausgehend: Liste der ausgehenden Gespräche (Zusatzmodul nötig)\\n"
    "Gespräche eingehend: Liste der eingegangenen Gespräche (Zusatzmodul nötig)\\n"
    "Grundeinstellung: MSN Eingabe/Zuweisung und generelles Anlagen-Setup\\n"
    "Globales: Globale Anlagenparameter (Autom.Amtsholung/Landes-/Ortsvorwahl...)\\n"
    "Nebenstellen-Nr.: Vergabe der Nebenstellen-Nummern\\n"
    "Berechtigungen: Master-/Aufschalte-/Aufschaltschutzberechtigungen\\n"
    "Amtsberechtigungen: Vergabe der Amtsberechtigungen der Nebenstellen\\n"
    "Endgeräte: Endgerätetypen der Nebenstellen festlegen (Telefon/Fax/Modem...)\\n"
    "RWS/AVA/TFE: Zuordnung der Rufweiterleitung/Zweitwecker/Türfreisprechgeräte...\\n"
    "Gebührenausdruck: Gebührenübertragung und -erfassung an Drucker/Nebenstellen\\n"
    "Steuerkontakte: Konfiguration der Steuerkontakte\\n"
    "Teilnehmerdaten: Teilnehmerspezifische Einstellungen\\n"
    "Dateikennung: Auswahl der Dateikennung zwecks Kompatibilität zum Original-\\n"
    "              Programm beim Sichern einer Datei\\n"
    "Anlagen-Auswahl: z. Z. ohne Funktion (fuer vernetzte oder Unteranlagen)\\n"
    "Sichern: Konfigurationsdatei sichern\\n"
    "Übersicht: die Anlage auf einer Seite im Browser, zum Ansehen und Drucken\\n"
    "Laden: Konfigurationsdatei laden\\n"
    "Auslesen: Konfigurationsdaten aus der Anlage lesen\\n"
    "Programmieren: Konfigurationsdaten zur Anlage senden\\n"
    "Schnittstelle: die serielle Schnittstelle der Anlage wählen\\n"
    "Beenden: \"kelvora\" beenden\n";
