#include "resources/resources.h"

// Named messages and file dialogs; lines under a message's name replace the
// texts the program passes when it shows that message.
extern const char res_messages[] = R"RES(
*wrongFile.message: Die Datei\n"%s"\nist kein Kurzwahlverzeichnis!
*wrongFile.title: Datei-Fehler
*wrongFile.help: Zur Zeit nicht fertig...
*overwriteFile.message: Die Datei\n"%s"\ngibt es schon.\nSoll sie überschrieben werden?
*overwriteFile.title: Datei überschreiben
*quitUnsaved.message: Es gibt Änderungen, die weder gesichert\nnoch programmiert sind.\nProgramm trotzdem beenden?
*quitUnsaved.title: Beenden
*cfgsave_dlg.title: Konfiguration sichern
*cfgsave_dlg.message: Datei sichern als:
*cfgsave_dlg.directory: /usr/local/kelvora/etc
*cfgsave_dlg.pattern: *.cfg
*cfgsave_dlg.help: Sichert die Konfigurationsdaten in einer Datei.
*cfgload_dlg.title: Konfiguration laden
*cfgload_dlg.message: Dateiauswahl:
*cfgload_dlg.directory: /usr/local/kelvora/etc
*cfgload_dlg.pattern: *.cfg
*cfgload_dlg.help: Lädt die Konfigurationsdaten aus einer Datei.
)RES";
