#include "resources/resources.h"

extern const char res_steuer[] = R"RES(
! Control contacts: the sensor input and the two actuators
*steuer_dlg.title: Steuerkontakte
*main*bsteuer.labelString: Steuerkontakte
*main*bsteuer.helpLine: Steuerkontakte: Konfiguration der Steuerkontakte
*steuer_dlg.children: Form steuer
*steuer.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*steuer.children: Column st_upper; Row st_lower; EqualRow st_btns
*st_upper.children: InputField utou; Separator st_sep; InputField rnr1; InputField rnr2; InputField rnr3; Chooser auto; HFrame st_sensor
*steuer*utou.caption: Zeichengabe: 
*steuer*utou.pattern: cccccccccccccccccccccccccccccccc
*steuer*rnr1.caption: \ Rufnummer1: 
*steuer*rnr2.caption: \ Rufnummer2: 
*steuer*rnr3.caption: \ Rufnummer3: 
*steuer*rnr1.pattern: dddddddddddddddddddddddd
*steuer*rnr2.pattern: dddddddddddddddddddddddd
*steuer*rnr3.pattern: dddddddddddddddddddddddd
*steuer*auto.chooserType: check
*steuer*auto.strings: Automatische Anwahl
*steuer*auto.entryAlignment: alignment_center
*st_sensor.title: Sensor aktiv
*st_sensor.children: InputField start; InputField end
*st_sensor.captions: "von: ", "bis: "
*st_sensor*pattern: dddd
*st_sensor*matchAll: True
*st_sensor*XmTextField.unitType: 100th_millimeters
*st_sensor*XmTextField.width: 3000
*st_sensor*verifyCallback: Check_0_2359()
*st_sensor*errorCallback: XmtDisplayWarningMsg("msg1", "Der Wert muß zwischen 0000 und 2359 liegen!")
*st_lower.children: Frame st_akt1; Frame st_akt2
*st_akt1.title: Aktor 1
*st_akt1.children: InputField ask1; Chooser akt1
*st_akt2.title: Aktor 2
*st_akt2.children: InputField ask2; Chooser akt2
*st_lower*XmTextField.caption: \ Schaltzeit: 
*st_lower*pattern: ddd
*st_lower*XmTextField.unitType: 100th_millimeters
*st_lower*XmTextField.width: 2000
*st_lower*verifyCallback: Check_0_999()
*st_lower*errorCallback: XmtDisplayWarningMsg("msg1", "Der Wert muß zwischen 0 und 999 liegen!")
*st_lower*chooserType: radio
*st_lower*strings: Schließen, Öffnen, Nicht schalten
*st_btns.children: Button okay; Button cancel; Button help
*st_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Der Sensoreingang und die beiden Schaltkontakte (Aktoren) der Anlage.\n\
\n\
Zeichengabe:          Text (bis 32 Zeichen), der beim Anruf mitgesendet wird\n\
Rufnummer1 bis 3:     Nummern, die bei Auslösen des Sensors angerufen werden\n\
Automatische Anwahl:  Die Nummern werden selbsttätig gewählt\n\
Sensor aktiv von/bis: Zeitraum, in dem der Sensor beachtet wird (hhmm, 0000-2359)\n\
Aktor 1/2 Schaltzeit: Wie lange der Kontakt geschaltet wird (0-999)\n\
Schließen/Öffnen:     Was der Kontakt tut; \\"Nicht schalten\\" läßt ihn in Ruhe\n\
\n\
OK übernimmt die Werte, Abbrechen verwirft sie; zur Anlage gelangen sie erst\n\
mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
