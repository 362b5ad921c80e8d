#include "resources/resources.h"

extern const char res_tndat[] = R"RES(
! Subscriber data: the list, wake-up time and forwarding, the functions
*tndat_dlg.title: Teilnehmer-Daten
*main*user.labelString: Teilnehmerdaten
*main*user.helpLine: Teilnehmerdaten: Teilnehmerspezifische Einstellungen
*tndat_dlg.children: Form tndat
*tndat.dialogStyle: DIALOG_FULL_APPLICATION_MODAL
*tndat.children: Row tn_upper; EqualRow tn_btns
*tn_upper.children: Chooser whichone; Column tn_mid; HFrame tn_funk
*tndat*whichone.chooserType: list
*tndat*whichone.caption: Teilnehmer
*tndat*whichone.captionPosition: top
*tndat*whichone.valueChangedCallback: selectTDat()
*tndat*whichone.sensitive: False
*tndat*whichone*list.visibleItemCount: 15
*tn_mid.children: Frame tn_weck; Frame tn_umleit
*tn_weck.title: Weckzeit
*tn_weck.children: InputField weckz
*tn_weck.captions: "Weckzeit (hhmm): "
*tndat*weckz.pattern: dddd
*tndat*weckz.unitType: 100th_millimeters
*tndat*weckz.width: 2000
*tn_umleit.title: Rufumleitung
*tn_umleit.children: InputField nbb; InputField numl; InputField nnz; InputField rufz
*tn_umleit.captions: "Besetzt: ", "Ständig: ", "n. Zeit: ", "Rufzeit: "
*tndat*nbb.pattern: dddddddddddddddddddddddd
*tndat*numl.pattern: dddddddddddddddddddddddd
*tndat*nnz.pattern: dddddddddddddddddddddddd
*tndat*rufz.pattern: ddd
*tn_umleit*XmTextField.unitType: 100th_millimeters
*tn_umleit*XmTextField.width: 5000
*tndat*rufz.width: 1500
*tndat*numl.verifyCallback: Check_NUML()
*tndat*nnz.verifyCallback: Check_NNZ()
*tn_mid*XmTextField.sensitive: False
*tn_funk.title: Funktionen
*tn_funk.children: Chooser settings1; Chooser settings2
*tn_funk*chooserType: check
*tndat*settings1.sensitive: False
*tndat*settings2.sensitive: False
*tndat*settings1.strings: Anklopfschutz, Aufschaltschutz, Anrufschutz, Hotline (Babyruf), Raumüberwachung, \
Rufnr.-Unterdrückung gehend, Rufnr.-Unterdrückung kommend, ---
*tndat*settings2.strings: Zweitwecker 1, Zweitwecker 2, ---, ---, ---, ---, ---, Weckruf aktiv
*tndat*settings1.item4.sensitive: False
*tndat*settings1.item7.sensitive: False
*tndat*settings2.item2.sensitive: False
*tndat*settings2.item3.sensitive: False
*tndat*settings2.item4.sensitive: False
*tndat*settings2.item5.sensitive: False
*tndat*settings2.item6.sensitive: False
*tn_btns.children: EqualColumn tn_file; EqualColumn tn_xfer; EqualColumn tn_ctl
*tn_file.children: Button load; Button save
*tn_xfer.children: Button read; Button write
*tn_ctl.children: Button help; Button okay
*tndat*load.labelString: Laden
*tndat*load.activateCallback: loadTlnDat()
*tndat*load.sensitive: False
*tndat*save.labelString: Sichern
*tndat*save.activateCallback: saveTlnDat()
*tndat*save.sensitive: False
*tndat*read.labelString: Auslesen
*tndat*read.activateCallback: readTlnDat()
*tndat*write.labelString: Programmieren
*tndat*write.activateCallback: writeTlnDat()
*tndat*write.sensitive: False
*tndat*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Auslesen:      Teilnehmerdaten aus der Anlage lesen\n\
Programmieren: Teilnehmerdaten zur Anlage senden\n\
Laden:         Teilnehmerdaten aus einer Datei laden\n\
               (vorher müssen die aktuellen Daten ausgelesen werden)\n\
Sichern:       Teilnehmerdaten in einer Datei sichern\n\
\n\
Teilnehmer:    Auswahl des Teilnehmers, dessen Daten angezeigt werden\n\
\n\
Weckzeit:      Stunden und Minuten (hhmm), ---- = keine Weckzeit\n\
\n\
Besetzt:       Umleitung zu dieser Nummer, wenn der Teilnehmer spricht\n\
Ständig:       Umleitung aller Anrufe zu dieser Nummer\n\
n. Zeit:       Umleitung zu dieser Nummer, wenn nach der Rufzeit\n\
               niemand abgenommen hat\n\
Rufzeit:       Sekunden bis zur Umleitung nach Zeit\n\
Es ist nicht möglich eine ständige und eine Umleitung nach Zeit zugleich anzugeben.\n\
\n\
Anklopfschutz:   Während eines Gesprächs wird kein weiterer Anruf signalisiert\n\
Aufschaltschutz: Niemand kann sich auf ein Gespräch aufschalten\n\
Anrufschutz:     Anrufe werden nicht zu diesem Teilnehmer durchgestellt\n\
Hotline:         10 Sekunden nach dem Abheben des Hörers wird automatisch\n\
                 die Nummer der Autom. Wahl (Globale Einstellungen) gewählt\n\
Raumüberwachung: Kann nur an der Nebenstelle selbst eingeschaltet werden\n\
Rufnr.-Unterdrückung gehend:  Die eigene Nummer wird nicht übertragen\n\
Rufnr.-Unterdrückung kommend: Die Nummer des Anrufers wird nicht angezeigt\n\
Zweitwecker 1/2: Der Zweitwecker läutet bei Anrufen mit\n\
Weckruf aktiv:   Zur Weckzeit ruft die Anlage den Teilnehmer an\n\
", "Hilfe")
)RES";
