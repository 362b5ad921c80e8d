#include "resources/resources.h"

extern const char res_main[] = R"RES(
! Every line below the main window, so that no dialog widget of the same name
! (help, user, global ...) takes them.
Kelvora.title: Ostrale 18x/Dorvan ISx Konfigurator
Kelvora.children: Form main
*main.children: Frame kurzbox; Frame kitbox; Frame cfgbox; HFrame selbox; HFrame filebox; MsgLine theline

*main*kitbox.children: EqualRow kitrow
*main*cfgbox.children: EqualRow cfgrow
*main*cfgrow.children: EqualColumn cfgleft; EqualColumn cfgright
*main*selbox.children: Chooser whsel; Chooser absel
*main*filebox.children: EqualColumn filecol; Separator sep1; EqualColumn xfercol; Separator sep2; EqualColumn progcol
*main*filecol.children: Button laden; Button sichern; Button uebersicht
*main*xfercol.children: Button lesen; Button schreiben; Button schnittstelle
*main*progcol.children: Button help; Button quit
*main*filebox*XmSeparator.orientation: vertical
! Tab goes from button to button, not only from box to box.
*main*XmPushButton.navigationType: tab_group
! The dialogs' buttons sit in kurzbox, kitrow, cfgleft and cfgright; their
! places, procedures and start sensitivity are the main window's table's
! (src/app/registry.cpp), their labels and help lines their dialogs' sections'.
! The other buttons' procedures and sensitivity are the table's as well.

*main*whsel.caption: Dateikennung:
*main*whsel.chooserType: radio
*main*whsel.strings: Hembel, Wendholt
*main*absel.caption: Anlagen-Auswahl:
*main*absel.chooserType: radio
*main*absel.strings: Anlage A, Anlage B
*main*absel.sensitive: False
*main*absel.item1.sensitive: False

*main*laden.labelString: Laden
*main*sichern.labelString: Sichern
*main*uebersicht.labelString: Übersicht
! The overview page is opened with this command; %s is the page's file.
Kelvora.browseCommand: xdg-open %s
*main*lesen.labelString: Auslesen
*main*schreiben.labelString: Programmieren
*main*schnittstelle.labelString: Schnittstelle...
*main*help.labelString: Hilfe
*main*quit.labelString: Beenden

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

// What the rest of the main window is for: "Hilfe" shows the dialogs' help
// lines in the order of the table and these after them (*main*help.helpText).
extern const char res_help[] =
    "*main*help.otherLines: "
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
