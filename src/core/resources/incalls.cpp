#include "resources/resources.h"

extern const char res_incalls[] = R"RES(
! Incoming calls: one line per call of the PBX's memory
*gebIlist_dlg.title: Eingehende Gespräche
*main*incalls.labelString: Gespräche eingehend
*main*incalls.helpLine: Gespräche eingehend: Liste der eingegangenen Gespräche (Zusatzmodul nötig)
*gebIlist_dlg.children: Form gebIlist
*gebIlist.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*gebIlist.children: List gebItext; EqualRow gebI_btns
*gebIlist*gebItext.caption: Satz Tl Datum Uhrz.              Nummer Name
*gebIlist*gebItext.captionPosition: top
*gebIlist*gebItext.listSizePolicy: constant
*gebIlist*gebItext.scrollBarDisplayPolicy: static
*gebIlist*gebItext.unitType: 100th_millimeters
*gebIlist*gebItext.width: 25400
*gebIlist*gebItext.height: 17780
*gebI_btns.children: Button getgeb; Button save; Button print; Button okay; Button help
*gebIlist*getgeb.labelString: Auslesen
*gebIlist*getgeb.activateCallback: doKitGetIn()
*gebIlist*save.labelString: Text sichern
*gebIlist*save.activateCallback: saveInCalls()
*gebIlist*print.labelString: Drucken
*gebIlist*print.activateCallback: printInCalls()
! An erase button is described, but the dialog has none: the PBX cannot erase
! its incoming calls.
*gebIlist*clear.labelString: Löschen
*gebIlist*clear.activateCallback: doKitDelIn()
*gebIlist*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"ACHTUNG:\nFuer diese Funktion ist eine ROM-Version 1.1x und eine Speichererweiterung nötig.\n\n\
Auslesen:     Die Daten der letzten 75 Anrufe werden gelesen und angezeigt.\n\
Text sichern: Die angezeigten Daten werden als Textdatei gesichert.\n\
Drucken:      Die angezeigten Daten werden ausgedruckt\n", "Hilfe")
)RES";
