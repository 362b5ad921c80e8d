#include "resources/resources.h"

extern const char res_gebdat[] = R"RES(
! Charge settings: one function at a time over the 30 subscribers, then the general settings
*gebdat_dlg.title: Gebührendaten
*main*gebuehr.labelString: Gebühren
*main*gebuehr.helpLine: Gebührenausdruck: Gebührenübertragung und -erfassung an Drucker/Nebenstellen
*gebdat_dlg.children: Form gebdat
*gebdat.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*gebdat.children: Row gd_upper; Frame gd_lower; EqualRow gd_btns
*gd_upper.children: Frame gd_slctf; HFrame gd_gebf
*gd_slctf.title: Funktions-Auswahl
*gd_slctf.children: Chooser slct
*gebdat*slct.chooserType: radio
*gebdat*slct.strings: Zum PC, Zum Drucker, Nummernerfassung, Gekürzte Nummern, Gebührenübermittlung
*gebdat*slct.valueChangedCallback: doGebDat()
*gd_gebf.title: Apparate-Auswahl
*gd_gebf.children: Chooser geb0; Chooser geb1; Chooser geb2
*gd_gebf*chooserType: check
*gebdat*geb0.strings: AB 1, AB 2, AB 3, AB 4, AB 5, AB 6, AB 7, AB 8, TFE 1, TFE 2
*gebdat*geb1.strings: S0 0, S0 1, S0 2, S0 3, S0 4, S0 5, S0 6, S0 7, S0 8, S0 9
*gebdat*geb2.strings: S1 0, S1 1, S1 2, S1 3, S1 4, S1 5, S1 6, S1 7, S1 8, S1 9
*gd_lower.title: Generelle Einstellungen
*gd_lower.children: Row gd_groups; EqualRow gd_more
*gd_groups.children: Frame gd_comf; Frame gd_callsf; Frame gd_impf; Frame gd_misc
*gd_comf.title: Ausgabe über
*gd_comf.children: Chooser com
*gebdat*com.chooserType: radio
*gebdat*com.strings: Schnittstelle 1, Schnittstelle 2
*gd_callsf.title: Gespräche drucken
*gd_callsf.children: Chooser calls
*gebdat*calls.chooserType: check
*gebdat*calls.strings: Kommend ohne Verbindung, Kommend mit Verbindung
*gd_impf.title: Gebührenimpuls
*gd_impf.children: Chooser impuls
*gebdat*impuls.chooserType: radio
*gebdat*impuls.strings: 16kHz Frequenz, 12kHz Frequenz, "50Hz  Frequenz"
*gd_misc.title: Sonstiges
*gd_misc.children: InputField base; InputField zlanz
*gd_misc.captions: "Pf./Einheit:  ", "Zeilen/Seite: "
*gd_misc*XmTextField.unitType: 100th_millimeters
*gd_misc*XmTextField.width: 1500
*gd_misc*pattern: ddd
*gd_misc*verifyCallback: Check_0_255()
*gd_misc*errorCallback: XmtDisplayWarningMsg("msg1", "Der Wert muß zwischen 0 und 255 liegen!")
*gd_more.children: Button costs; Button summs
*gebdat*costs.labelString: Interne Verrechnung
*gebdat*costs.activateCallback: doGebLCF()
*gebdat*summs.labelString: Gebührenstand
*gebdat*summs.activateCallback: doGebStand()
*gd_btns.children: Button okay; Button cancel; Button help
*gebdat*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Nummernerfassung:     Gebührendatensatz mit der gewählten Nummer drucken\n\
Gek. Nummern:         Die letzten 3 Ziffern durch X ersetzen\n\
                      (nur bei Nummernerfassung möglich)\n\
Gebührenübermittlung: Gebührenimpulse an die analogen Nebenstellen,\n\
                      sonst Gebühreninformation über ISDN\n\
Schnittstelle 1/2:    Ausgabe des Gebührendatensatzes\n\
Gebührenimpuls:       16 kHz ist in Deutschland üblich\n\
Pf./Einheit:          Preis einer Gebühreneinheit in Pfennig\n\
Zeilen/Seite:         Zeilen bis zum Seitenvorschub\n\
Interne Verrechnung:  Abweichender Einheitenpreis je Nebenstelle\n\
Gebührenstand:        Gebührenzähler auslesen und löschen", "Hilfe")
)RES";
