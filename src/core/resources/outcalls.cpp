#include "resources/resources.h"

extern const char res_outcalls[] = R"RES(
! Outgoing calls: one line per call of the PBX's memory
*gebOlist_dlg.title: Ausgehende Gespräche
*main*outcalls.labelString: Gespräche ausgehend
*main*outcalls.helpLine: Gespräche ausgehend: Liste der ausgehenden Gespräche (Zusatzmodul nötig)
*gebOlist_dlg.children: Form gebOlist
*gebOlist.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*gebOlist.children: List gebOtext; EqualRow gebO_btns
*gebOlist*gebOtext.caption: Satz Tl Datum Uhrz.     DM Dauer                 Nummer Name
*gebOlist*gebOtext.captionPosition: top
*gebOlist*gebOtext.listSizePolicy: constant
*gebOlist*gebOtext.scrollBarDisplayPolicy: static
*gebOlist*gebOtext.unitType: 100th_millimeters
*gebOlist*gebOtext.width: 25400
*gebOlist*gebOtext.height: 17780
*gebO_btns.children: Button getgeb; Button spread; Button save; Button print; Button clear; Button okay; Button help
*gebOlist*getgeb.labelString: Auslesen
*gebOlist*getgeb.activateCallback: doKitGetOut()
*gebOlist*spread.labelString: CVS sichern
*gebOlist*spread.activateCallback: saveCvsOutCalls()
*gebOlist*save.labelString: Text sichern
*gebOlist*save.activateCallback: saveOutCalls()
*gebOlist*print.labelString: Drucken
*gebOlist*print.activateCallback: printOutCalls()
*gebOlist*clear.labelString: Löschen
*gebOlist*clear.activateCallback: doKitDelOut()
*gebOlist*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"ACHTUNG:\nFuer diese Funktion ist eine ROM-Version 1.1x und eine Speichererweiterung nötig.\n\n\
Auslesen:     Die Daten der letzten 1000 Gespräche werden gelesen und angezeigt.\n\
CVS sichern:  Die angezeigten Daten werden als Kalkulationsdatei gesichert.\n\
Text sichern: Die angezeigten Daten werden als Textdatei gesichert.\n\
Drucken:      Die angezeigten Daten werden ausgedruckt\n\
Löschen:      Der Gebührenspeicher der Anlage wird gelöscht.\n", "Hilfe")
*gebkitdel.help: Ja löscht in der Anlage alle gespeicherten ausgehenden Gespräche;\n\
das läßt sich nicht rückgängig machen. Vorher sichern oder drucken, was Sie\n\
behalten wollen. Nein läßt alles, wie es ist.
)RES";
