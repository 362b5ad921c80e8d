#include "resources/resources.h"

extern const char res_kwz[] = R"RES(
! Speed-dial directory: the list of the 200 entries and the buttons beside it
*kwz_dlg.title: Wendholt/Hembel Kurzwahlliste
*main*kurz.labelString: Kurzwahlen / Nahbereichs- und Sperrnummern
*main*kurz.helpLine: Kurzwahlen/Nah-/Sperrber.: Kurzwahlverzeichniss/Nah- und Sperrbereiche editieren
*kwz_dlg.children: Form kwz
*kwz.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*kwz.children: Row kwz_row
*kwz_row.children: Frame kwz_left; Column kwz_btns
*kwz_left.children: List ziele
*kwz*ziele.caption: KURZ Name                                   Telefonnummer
*kwz*ziele.captionPosition: top
*kwz*ziele_label.renderTable: mono
*kwz*ziele.selectionPolicy: browse_select
*kwz*ziele.defaultActionCallback: editselct()
*kwz*ziele.visibleItemCount: 25
*kwz*ziele.listSizePolicy: constant
*kwz*ziele.scrollBarDisplayPolicy: static
*kwz*ziele.unitType: 100th_millimeters
*kwz*ziele.width: 21844
*kwz_btns.children: Button editcfg; Button delcfg; Button movecfg; Separator kwz_sep1; \
Button loadall; Button save; Button saveas; Button mergenames; Button importab; Button exportab; \
Separator kwz_sep2; \
Button savetxt; Button print; Separator kwz_sep3; Button getcfg; Button progcfg; Separator kwz_sep4; \
Button nahber_b; Button sperrber_b; Separator kwz_sep5; Button help; Separator kwz_sep6; Button quit
*kwz*editcfg.labelString: Ändern
*kwz*editcfg.activateCallback: get4edit()
*kwz*delcfg.labelString: Löschen
*kwz*delcfg.activateCallback: get4delete()
*kwz*movecfg.labelString: Verschieben
*kwz*movecfg.activateCallback: get4move()
*kwz*loadall.labelString: Laden...
*kwz*loadall.activateCallback: loadFile()
*kwz*save.labelString: Sichern
*kwz*save.activateCallback: saveFile()
*kwz*saveas.labelString: Sichern unter...
*kwz*saveas.activateCallback: saveFileas()
*kwz*mergenames.labelString: Namen nachladen...
*kwz*mergenames.activateCallback: mergeFile()
*kwz*importab.labelString: Importieren...
*kwz*importab.activateCallback: importFile()
*kwz*exportab.labelString: Exportieren...
*kwz*exportab.activateCallback: exportFile()
*kwz*savetxt.labelString: Text sichern
*kwz*savetxt.activateCallback: saveText()
*kwz*print.labelString: Drucken
*kwz*print.activateCallback: printText()
*kwz*getcfg.labelString: Auslesen
*kwz*getcfg.activateCallback: readISkwz()
*kwz*progcfg.labelString: Programmieren
*kwz*progcfg.activateCallback: writeISkwz()
*kwz*nahber_b.labelString: Nahbereich
*kwz*nahber_b.activateCallback: showNahBer()
*kwz*sperrber_b.labelString: Sperrbereich
*kwz*sperrber_b.activateCallback: showSperrBer()
*kwz*quit.labelString: OK
*kwz*quit.activateCallback: closekwz()
*kwz*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Alle Kurzwahl-Nummern müssen ohne die Null zur Amtsholung angegeben werden.\n\
Die Kurzwahl-Nummern beziehen sich immer auf Amtsanschlüsse.\n\
\n\
Ändern:             Eintrag bearbeiten (auch Doppelklick auf die Zeile)\n\
Löschen:            Eintrag ohne Rückfrage löschen\n\
Verschieben:        Eintrag auf eine andere Kurzwahl (100-299) verschieben\n\
Laden...:           Kurzwahlverzeichnis mit Vorwahllisten aus einer Datei laden\n\
Sichern:            In die zuletzt geladene oder gesicherte Datei sichern\n\
Sichern unter...:   In eine neue Datei sichern\n\
Namen nachladen...: Die Namen aus einer anderen Kurzwahl-Datei übernehmen\n\
Importieren...:     Namen und Nummern aus einem Adressbuch übernehmen (CSV, vCard, LDIF, XML):\n\
                    Einträge mit Kurzwahl (100-299) auf ihren Platz, die anderen auf freie\n\
                    Plätze; belegte Kurzwahlen nur nach Rückfrage. Aus +49 (der Landes-\n\
                    vorwahl der Anlage) wird 0, aus anderen Ländern 00 und ihre Vorwahl.\n\
Exportieren...:     Das Verzeichnis als Adressbuch schreiben (Name auf .vcf: vCard, sonst CSV)\n\
Text sichern:       Das Verzeichnis als Text in eine Datei schreiben\n\
Drucken:            Das Verzeichnis drucken\n\
Auslesen:           Kurzwahlen und Vorwahllisten aus der Anlage lesen\n\
Programmieren:      Kurzwahlen und Vorwahllisten zur Anlage senden\n\
Nahbereich:         Vorwahlen des Ortsgesprächsbereichs bearbeiten\n\
Sperrbereich:       Gesperrte Vorwahlen bearbeiten\n\
OK:                 Fenster schließen (fragt nach ungesicherten Änderungen)", "Hilfe")

! Importing an address book: the summary, one line per entry cut, passed
! over or worth a look ("%1", "%2", "%3": line, name, what), what was wrong
! with the columns, and the question before occupied entries go.
*phonebookImport.title: Adressbuch importieren
*phonebookImport.counts: Importiert: %1 (davon %2 mit gekürztem Namen), übersprungen: %3
*phonebookImport.readCsv: Gelesen als CSV in %1, Trennzeichen %2
*phonebookImport.headerAt: , Kopfzeile in Zeile %1
*phonebookImport.noHeader: , ohne Kopfzeile: Kurzwahl, Name, Nummer
*phonebookImport.comma: Komma
*phonebookImport.semicolon: Semikolon
*phonebookImport.tab: Tabulator
*phonebookImport.readVCard: Gelesen als vCard in %1
*phonebookImport.readLdif: Gelesen als LDIF in %1
*phonebookImport.readXml: Gelesen als XML-Telefonbuch in %1
*phonebookImport.readOtherXml: Gelesen als XML in %1
*phonebookImport.readUnknown: Zeichensatz %1 erkannt, aber kein Adressbuch
*phonebookImport.line: Zeile %1: %2
*phonebookImport.namedLine: Zeile %1 (%2): %3
*phonebookImport.more: ... und %1 weitere
*phonebookImport.cut: Name gekürzt (Kurzwahl %1)
*phonebookImport.codeIgnored: Kurzwahl "%1" liegt nicht zwischen 100 und 299, übernommen unter Kurzwahl %2
*phonebookImport.emptyNumber: keine Telefonnummer
*phonebookImport.numberTooLong: Nummer länger als 24 Ziffern
*phonebookImport.duplicateCode: Kurzwahl %1 schon in Zeile %2
*phonebookImport.occupied: Kurzwahl %1 ist belegt
*phonebookImport.directoryFull: keine Kurzwahl mehr frei
*phonebookImport.alreadyThere: steht schon unter Kurzwahl %1
*phonebookImport.onlyFax: nur Faxnummern
*phonebookImport.lostZero: Nummer %1 ohne führende 0 (von einer Tabellenkalkulation verloren?)
*phonebookImport.unclosedQuote: Anführungszeichen ohne Ende, als Zeichen gelesen
*phonebookImport.columnsUnknown: Keine Spalten für Name und Telefonnummer erkannt, die erste Zeile hat: %1
*phonebookImport.columnMissing: Keine Spalte "%1", die erste Zeile hat: %2
*phonebookImport.noFormat: Weder CSV (die erste Zeile hat kein Komma, Semikolon oder Tabulator) noch vCard, LDIF oder XML: nichts importiert
*phonebookImport.noEntries: Keine Einträge gefunden: nichts importiert
*phonebookImport.brokenXml: XML-Fehler in Zeile %1 (%2): nichts importiert
*phonebookImport.noPhoneBook: XML, aber kein Telefonbuch (Wurzelelement <%1>, kein <contact>): nichts importiert
*phonebookImport.columnsHint: Die erste Zeile muss die Spalten benennen, etwa Name;Telefon.
*phonebookImport.chooseColumns: Spalten wählen mit --name-column NAME --number-column NAME[,NAME...]
*phonebookTooBig.title: Adressbuch importieren
*phonebookTooBig.message: Das Adressbuch\n"%s"\nist größer als 16 MB und wird nicht gelesen.
*phonebookImport.help: Importierte Einträge stehen sofort in der Liste; zur Anlage kommen sie\n\
erst mit "Programmieren", in eine Datei mit "Sichern".
*phonebookReplace.title: Belegte Kurzwahlen
*phonebookReplace.message: %ld Einträge haben Kurzwahlen, die schon belegt sind.\nSollen sie überschrieben werden?
*import_dlg.title: Adressbuch importieren
*import_dlg.withFaxLabel: Faxnummern übernehmen (Name mit "(Fax)")
*import_dlg.message: Dateiauswahl:
*import_dlg.help: Liest ein Adressbuch in das Kurzwahlverzeichnis: CSV (Komma, Semikolon oder\n\
Tabulator; UTF-8, UTF-16, Windows-1252 oder Mac Roman), vCard (*.vcf), LDIF (*.ldif)\n\
oder das XML-Telefonbuch eines Routers (*.xml).\n\
CSV: die Spalten nach der Kopfzeile (Vor- und Nachname, sonst Name, sonst Firma; jede\n\
Telefon-Spalte; Kurzwahl), wie Adressbuch-Programme sie schreiben; ohne Kopfzeile\n\
Kurzwahl, Name, Nummer. Jede Nummer eines Kontakts bekommt eine Kurzwahl;\n\
Faxnummern nur mit "Faxnummern übernehmen".\n\
Einträge, die schon mit Name und Nummer im Verzeichnis stehen, werden übersprungen.
*export_dlg.title: Adressbuch exportieren
*export_dlg.message: Dateiauswahl:
*export_dlg.help: Schreibt jeden belegten Eintrag des Kurzwahlverzeichnisses als Adressbuch:\n\
endet der Name auf .vcf als vCard 3.0, sonst als CSV (UTF-8, Semikolon, Kopfzeile).

! The entry editor
*editentry_dlg.title: Eintag ändern
*editentry_dlg.children: Form editentry
*editentry.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*editentry.children: Column ed_fields; Frame ed_btnbox
*ed_fields.children: InputField name; InputField number
*ed_fields.captions: Name:, Nummer:
*editentry*name.pattern: acccccccccccccccccccccccccccccccccccc
*editentry*number.pattern: dddddddddddddddddddddddd
*ed_fields*XmTextField.unitType: 100th_millimeters
*ed_fields*XmTextField.width: 12700
*ed_btnbox.children: EqualRow ed_btns
*ed_btns.children: Button okay; Button cancel

! Its questions, file dialogs and working dialog
*mover.title: Eintag verschieben
*mover.okLabelString: OK
*mover.cancelLabelString: Abbrechen
*mover.help: Die neue Kurzwahl (100 bis 299) für den gewählten Eintrag eingeben.\n\
OK verschiebt Nummer und Name dorthin; ist sie belegt, wird vorher gefragt.
*overwrite.help: Unter der neuen Kurzwahl steht schon ein Eintrag.\n\
Ja ersetzt ihn durch den verschobenen, Nein läßt beide, wie sie sind.
*dosave.help: Das Kurzwahlverzeichnis wurde geändert und noch nicht gesichert.\n\
Ja sichert es in die Datei, aus der es kam (ohne eine fragt "Sichern unter" nach ihr);\n\
geht das nicht, bleibt das Fenster offen. Nein schließt ohne zu sichern.
*load_dlg.title: Kurzwahlliste laden
*load_dlg.message: Dateiauswahl:
*load_dlg.help: Lädt ein Kurzwahlverzeichnis (*.kwz): die 200 Kurzwahlnummern mit ihren Namen\nund die Nahbereichs- und Sperrnummern. Die Liste im Dialog wird ersetzt;\nzur Anlage gelangt sie erst mit "Programmieren".
*save_dlg.title: Kurzwahlliste sichern
*save_dlg.message: Datei sichern als:
*save_dlg.help: Sichert das Kurzwahlverzeichnis mit Namen, Nahbereichs- und Sperrnummern\nin einer Datei (*.kwz).
*merge_dlg.title: Namen nachladen
*merge_dlg.message: Dateiauswahl:
*merge_dlg.help: Lädt die Namenseinträge aus einer Datei.\nVorsicht! Vorhandene Einträge werden überschrieben!
*readwbox.title: Kurzwahlverzeichnis lesen
*readwbox.message: Lese Kurzwahlverzeichnis...
*readwbox.scaleLabel: Datensatz:
)RES";
