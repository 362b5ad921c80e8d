#include "resources/resources.h"

extern const char res_anltyp[] = R"RES(
! PBX type and S0 port modes
*anltyp_dlg.title: Anlagentyp
*main*grund.labelString: Grundeinstellungen
*main*grund.helpLine: Grundeinstellung: MSN Eingabe/Zuweisung und generelles Anlagen-Setup
*anltyp_dlg.children: Form anltyp
*anltyp.dialogStyle: DIALOG_FULL_APPLICATION_MODAL
*anltyp.children: Frame anl_typf; Frame anl_artf; Frame anl_portf; EqualRow anl_btns
*anl_typf.title: Anlagen-Typ
*anl_typf.children: Chooser typ
*anltyp*typ.chooserType: radio
*anltyp*typ.strings: Dorvan IS-1 / Ostrale 180, Dorvan IS-2 / Ostrale 181, Dorvan IS-3 / Ostrale 182
*anltyp*typ.valueChangedCallback: doAnlTyp()
*anl_artf.title: Betriebsart
*anl_artf.children: Chooser art
*anltyp*art.chooserType: radio
*anltyp*art.strings: Einzelanlage, Unteranlage, Vernetzte Anlage
*anl_portf.title: Port-Auswahl
*anl_portf.children: Chooser port; Row anl_modes; EqualRow anl_mbtns
*anltyp*port.chooserType: radio
*anltyp*port.orientation: HORIZONTAL
*anltyp*port.strings: Port 1, Port 2, Port 3
*anltyp*port.valueChangedCallback: displayPortMode()
*anl_modes.children: Frame anl_busf; Frame anl_anschlf
*anl_busf.title: Busanschluß
*anl_busf.children: Chooser s0bus
*anltyp*s0bus.chooserType: radio
*anltyp*s0bus.strings: Unkonfiguriert, Extern, Intern, Vernetzt
*anltyp*s0bus.valueChangedCallback: setPortMode()
*anl_anschlf.title: Anschlußart
*anl_anschlf.children: Chooser anschl; InputField number
*anltyp*anschl.chooserType: radio
*anltyp*anschl.strings: Mehrgeräteanschluß, Anlagenanschluß
*anltyp*anschl.valueChangedCallback: setPortMode()
*anltyp*number.caption: Anlagennummer:
*anl_mbtns.children: Button msns_b; Button zuord_b
*anltyp*msns_b.labelString: Rufnummern
*anltyp*msns_b.activateCallback: doMsns()
*anltyp*zuord_b.labelString: Zuordnung
*anltyp*zuord_b.activateCallback: doZuord()
*anl_btns.children: Button okay; Button help
*anl_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Anlagen-Typ:    Das Modell der Anlage (1, 2 oder 3 S0-Ports)\n\
Betriebsart:    Einzelanlage, Unteranlage einer anderen Anlage oder vernetzt\n\
Port-Auswahl:   Der S0-Port, dessen Einstellungen darunter gezeigt werden\n\
Busanschluß:    Wie der Port genutzt wird: extern (Amt), intern (eigene\n\
                Endgeräte), vernetzt oder gar nicht (unkonfiguriert)\n\
Anschlußart:    Mehrgeräteanschluß (mit MSNs) oder Anlagenanschluß\n\
                (mit Anlagennummer und Durchwahl)\n\
Rufnummern:     Die MSNs des gewählten Ports eingeben\n\
Zuordnung:      Festlegen, welche Apparate bei welcher MSN klingeln\n\
\n\
Jede Auswahl gilt sofort; OK schließt den Dialog. Zur Anlage gelangen die\n\
Einstellungen erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
