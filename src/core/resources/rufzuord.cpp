#include "resources/resources.h"

extern const char res_rufzuord[] = R"RES(
! Internal numbers and the main-PBX connection
*rufzuord_dlg.title: Rufnummernzuordnung
*main*appnum.labelString: Interne Rufnummern
*main*appnum.helpLine: Nebenstellen-Nr.: Vergabe der Nebenstellen-Nummern
*rufzuord_dlg.children: Form rufzuord
*rufzuord.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*rufzuord.children: HFrame rnz_hpt; HFrame rnz_nst; EqualRow rnz_btns
*rnz_hpt.title: Hauptanlage
*rnz_hpt.children: Chooser hpttyp; InputField hptnum
*rufzuord*hpttyp.chooserType: option
*rufzuord*hpttyp.strings: Einzelanlage, Direkt, Über Amt, Vernetzt Master, Vernetzt Slave
*rufzuord*hpttyp.caption: Anschluß:
*rufzuord*hpttyp.captionPosition: top
*rufzuord*hpttyp.valueChangedCallback: setHptMode()
*rufzuord*hptnum.caption: Nummer:
*rufzuord*hptnum.captionPosition: top
*rufzuord*hptnum.pattern: dddddddd
*rufzuord*hptnum.unitType: 100th_millimeters
*rufzuord*hptnum.width: 5000
*rnz_nst.title: Nebenstellen-Nummern
*rnz_nst.children: Column rnz_ab; Column rnz_s0; Column rnz_s1
*rnz_ab.children: InputField num0..9
*rnz_ab.captions: "AB  #1: ", "AB  #2: ", "AB  #3: ", "AB  #4: ", "AB  #5: ", "AB  #6: ", "AB  #7: ", "AB  #8: ", "TFE #1: ", "TFE #2: "
*rnz_s0.children: InputField num10..19
*rnz_s0.captions: "S0 #0: ", "S0 #1: ", "S0 #2: ", "S0 #3: ", "S0 #4: ", "S0 #5: ", "S0 #6: ", "S0 #7: ", "S0 #8: ", "S0 #9: "
*rnz_s1.children: InputField num20..29
*rnz_s1.captions: "S1 #0: ", "S1 #1: ", "S1 #2: ", "S1 #3: ", "S1 #4: ", "S1 #5: ", "S1 #6: ", "S1 #7: ", "S1 #8: ", "S1 #9: "
! every number field: exactly two digits, 11 to 97, 15 mm wide
*rnz_nst*pattern: dd
*rnz_nst*matchAll: True
*rnz_nst*XmTextField.unitType: 100th_millimeters
*rnz_nst*XmTextField.width: 1500
*rnz_nst*verifyCallback: Check_11_97()
*rnz_nst*errorCallback: XmtDisplayWarningMsg("msg1", "Die Nummern müssen zwischen 11 und 97 liegen\nund dürfen nicht doppelt vergeben werden!")
*rnz_btns.children: Button okay; Button cancel; Button help
*rnz_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Hauptanlage:  Wie die Anlage an einer übergeordneten Anlage hängt, und ihre Nummer dort\n\
Nebenstellen-Nummern: Die internen Rufnummern (11 bis 97, jede nur einmal) der\n\
              analogen Apparate (AB), Türstationen (TFE) und S0-Endgeräte.\n\
              Ein leeres Feld heißt: dieser Teilnehmer ist nicht vorhanden.\n\
\n\
OK übernimmt die Nummern, Abbrechen verwirft sie; zur Anlage gelangen sie\n\
erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
