#include "resources/resources.h"

// Named messages and file dialogs; lines under a message's name replace the
// texts the program passes when it shows that message.
extern const char res_messages[] = R"RES(
*wrongFile.message: Die Datei\n"%s"\nist keine %s!
*wrongFile.title: Datei-Fehler
*wrongFile.help: Die gewählte Datei beginnt nicht mit der Kennung, die Dateien\n\
dieser Art tragen (Konfigurationsdateien *.cfg, Kurzwahl-Dateien *.kwz),\n\
oder sie hat nicht deren Größe (Teilnehmerdateien *.tnd: genau 1650 Bytes).\n\
Sie wurde nicht geladen. Bitte eine Datei der richtigen Art wählen.
*writeError.help: Die Datei konnte nicht vollständig geschrieben werden, meist weil\n\
das Verzeichnis schreibgeschützt oder die Platte voll ist.\n\
Bitte ein anderes Verzeichnis wählen oder Platz schaffen und noch einmal sichern.
*readOnly.message: Die Datei\n"%s"\nist schreibgeschützt.
*readOnly.title: Datei-Fehler
*readOnly.help: Die Datei darf nicht geändert werden (sie ist schreibgeschützt).\n\
Bitte unter einem anderen Namen sichern oder erst das Schreibrecht geben (chmod u+w).
*otherOwner.message: Die Datei\n"%s"\ngehört einem anderen Benutzer.
*otherOwner.title: Datei-Fehler
*otherOwner.help: Die Datei eines anderen Benutzers wird nicht ersetzt: sie gehörte danach Ihnen.\n\
Bitte unter einem anderen Namen sichern.
*printError.help: Gedruckt wird über den Befehl "lpr" (Debian: Paket cups-bsd).\n\
Er muß installiert und im Suchpfad PATH sein, und ein Drucker muß eingerichtet sein.\n\
Am Terminal zeigt "lpq", ob der Auftrag angekommen ist.\n\
Ein anderer Befehl: X-Ressource Kelvora.printCommand; ISO 8859-1 statt UTF-8:\n\
Kelvora.printEncoding: ISO-8859-1.

! The transfer error dialog: its help, and the one line of advice added
! below the error where its cause is known ("%s": device, lock holder or
! lock directory).
*tranfer_err.help: Die Übertragung zur Anlage wurde wegen eines Fehlers abgebrochen.\n\
\n\
Uebertragungs-Fehler: Die Anlage hat nicht oder nicht vollständig geantwortet.\n\
   Ist sie eingeschaltet, steckt das Kabel an der richtigen Schnittstelle, und\n\
   führt es RTS und CTS (Hardware-Handshake)? Stimmt der Gerätename?\n\
CRC-Fehler: Die Prüfsumme stimmte nicht, die Daten kamen gestört an.\n\
   Meist hilft ein zweiter Versuch, sonst ein kürzeres oder besseres Kabel.\n\
CMD-Fehler: Die Anlage hat den Befehl abgelehnt, weil sie ihn nicht kennt\n\
   (andere ROM-Version, fehlendes Zusatzmodul für die Gesprächslisten).\n\
Prio-Fehler: Die Anlage hat den Befehl zur falschen Zeit bekommen, etwa\n\
   während sie mit etwas anderem beschäftigt war. Noch einmal versuchen.\n\
Unbekannter Fehler: Die Anlage meldet einen Code, den kelvora nicht kennt.\n\
\n\
Kann die Schnittstelle nicht geöffnet werden, nennt die Meldung den Grund:\n\
eine Sperre durch ein anderes Programm, fehlende Rechte (Gruppe dialout)\n\
oder einen falschen Gerätenamen.\n\
\n\
Ein Lesen, das abbricht, ändert im Programm nichts. Bricht das Programmieren ab,\n\
nachdem die Anlage schon Daten angenommen hat, ist sie nur zum Teil programmiert:\n\
dann erneut programmieren. Die Änderungen im Programm bleiben dabei erhalten.
*tranfer_err.noAnswer: Die Anlage an %s antwortet nicht: Kabel (mit RTS/CTS), Schnittstelle und Strom prüfen.
*tranfer_err.cmdRefused: Die Anlage kennt diesen Befehl nicht: ROM-Version und Zusatzmodule der Anlage prüfen.
*tranfer_err.crcError: Die Daten kamen gestört an: Kabel und Stecker prüfen, dann noch einmal versuchen.
*tranfer_err.portBusy: Belegt von %s: erst dieses Programm beenden, dann noch einmal versuchen.
*tranfer_err.noPermission: Keine Berechtigung für %s: in die Gruppe dialout aufnehmen lassen und neu anmelden.
*tranfer_err.noDevice: Das Gerät %s gibt es nicht: Namen prüfen; ist der USB-Adapter eingesteckt?
*tranfer_err.lockDirDenied: In %s darf kelvora keine Sperrdatei anlegen: Schreibrecht dort nötig.
*tranfer_err.lineGone: Die Verbindung zur Anlage ist weg: Kabel oder USB-Adapter prüfen.
*tranfer_err.partly: Die Anlage ist nur zum Teil programmiert: bitte erneut programmieren.
*tranfer_err.notTerminal: Als Gerät die Schnittstelle angeben, an der die Anlage hängt, etwa /dev/ttyS0 oder /dev/ttyUSB0.
*tranfer_err.netUnreachable: Keine Verbindung zu %s: läuft ser2net auf dem Rechner, stimmen Name und Port, lässt eine Firewall den Port durch?
*tranfer_err.netSettings: Der Server an %s stellt die Schnittstelle nicht ein: in seiner ser2net.yaml "telnet(rfc2217)" als accepter eintragen.
*tranfer_err.netLost: Die Verbindung zu %s ist abgebrochen: Netz und Server prüfen, dann die Übertragung wiederholen.

! What the PBX holds when a signal ended the program ("%s": the signal).
*interrupted.unchanged: Abgebrochen (%s): an der Anlage wurde nichts geändert.
*interrupted.partly: Abgebrochen (%s): die Anlage ist nur zum Teil programmiert: bitte erneut programmieren.
*interrupted.programmed: Abgebrochen (%s) nach dem Programmieren: die Anlage ist vollständig programmiert.

*overwriteFile.message: Die Datei\n"%s"\ngibt es schon.\nSoll sie überschrieben werden?
*overwriteFile.title: Datei überschreiben
*quitUnsaved.message: Es gibt Änderungen, die weder gesichert\nnoch programmiert sind.\nProgramm trotzdem beenden?
*quitUnsaved.title: Beenden
*cfgsave_dlg.title: Konfiguration sichern
*cfgsave_dlg.message: Datei sichern als:
*cfgsave_dlg.directory: /usr/local/kelvora/etc
*cfgsave_dlg.pattern: *.cfg
*cfgsave_dlg.help: Sichert die Konfigurationsdaten in einer Datei.
! The question before programming: what changes against what the PBX last gave
! ("%1": "dem letzten Auslesen" or "der Sicherung <file>").  No .message line:
! the question's text is made of these.
*programPreview.title: Programmieren?
*programPreview.yesLabel: Programmieren
*programPreview.noLabel: Abbrechen
*programPreview.lastRead: dem letzten Auslesen
*programPreview.backup: der Sicherung %1
*programPreview.changes: Gegenüber %1 ändert sich in der Anlage (alt -> neu):
*programPreview.nothing: Gegenüber %1 ändert sich in der Anlage nichts.
*programPreview.unknown: Was sich in der Anlage ändert, ist nicht bekannt: sie wurde noch nicht\n\
ausgelesen, und es gibt keine Sicherung von ihr.
*programPreview.more: ... und %1 weitere
*programPreview.help: Programmieren schickt die Daten zur Anlage; sie gelten dort sofort.\n\
Die Liste zeigt jedes Feld, das sich dabei ändert, mit dem Wert, den die Anlage zuletzt\n\
hatte (beim letzten Auslesen oder Programmieren, sonst in der neuesten Sicherung),\n\
und dem neuen. "Abbrechen" schickt nichts.

! Backups of every read: the message line when one could not be written
! ("%1" the directory, "%2" why), why for a folder others could plant files
! in ("%1" the folder, "%2" the user), and the load dialogs' way to them.
*backup.failed: Keine Sicherungskopie in %1: %2
*backup.othersMayWrite: andere dürfen in diesem Ordner schreiben; abhelfen: chmod go-w %1
*backup.notOwned: der Ordner gehört nicht %2; abhelfen: chown %2 %1
*cfgload_dlg.placeLabel: Sicherungen
*load_dlg.placeLabel: Sicherungen
*tlnload_dlg.placeLabel: Sicherungen
*cfgload_dlg.title: Konfiguration laden
*cfgload_dlg.message: Dateiauswahl:
*cfgload_dlg.directory: /usr/local/kelvora/etc
*cfgload_dlg.pattern: *.cfg
*cfgload_dlg.help: Lädt die Konfigurationsdaten aus einer Datei.
*tlnsave_dlg.help: Sichert die Teilnehmerdaten aller 30 Teilnehmer in einer Datei (*.tnd).
*tlnload_dlg.help: Lädt die Teilnehmerdaten aller 30 Teilnehmer aus einer Datei (*.tnd).\n\
Zur Anlage gelangen sie erst mit "Programmieren" im Dialog Teilnehmerdaten.
*txt_dlg.help: Sichert die Liste als Text, eine Zeile je Eintrag, so wie sie angezeigt\n\
und gedruckt wird.
*cvs_dlg.help: Sichert die Liste als Tabelle mit Kommas (CSV) für eine Tabellenkalkulation:\n\
Teilnehmer, Datum, Uhrzeit, Dauer in Sekunden, Gebühr, Nummer und Name.
)RES";
