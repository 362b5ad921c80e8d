#include "resources/resources.h"

extern const char res_gebzahl[] = R"RES(
! Charge counters: one line per subscriber and the total
*gebzahl_dlg.title: Gebührenstand
*gebzahl_dlg.children: Form gebzahl
*gebzahl.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*gebzahl.children: List zaehler; Row gz_total; EqualRow gz_btns
*gebzahl*zaehler.caption: \ Name        Nr.     Gebühren
*gebzahl*zaehler.captionPosition: top
*gebzahl*zaehler.visibleItemCount: 18
*gebzahl*zaehler.listSizePolicy: constant
*gebzahl*zaehler.scrollBarDisplayPolicy: static
*gebzahl*zaehler.widthText: \ TFE #2     (#999)    -21474836.48 DM
*gz_total.children: HFrame gz_sumf
*gz_sumf.caption: Gesamt:
*gz_sumf.children: Label summe
*gebzahl*summe.labelString: 0,00 DM
*gz_sumf*box.entryAlignment: alignment_end
*gebzahl*summe.widthText: -21474836.48 DM
*gz_btns.children: Button getgeb; Button clear; Button okay; Button help
*gebzahl*getgeb.labelString: Auslesen
*gebzahl*getgeb.activateCallback: doGebGet()
*gebzahl*clear.labelString: Löschen
*gebzahl*clear.activateCallback: doGebDel()
*gebzahl*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Auslesen: Gebührenstand jeder Nebenstelle auslesen und anzeigen\n\
Löschen:  Gebührenstand jeder Nebenstelle auf 0.00 DM setzen\n", "Hilfe")
*gebuehrdel.help: Ja setzt in der Anlage den Gebührenstand jeder Nebenstelle auf 0.00 DM;\n\
das läßt sich nicht rückgängig machen. Nein läßt alles, wie es ist.
)RES";
