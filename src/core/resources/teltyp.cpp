#include "resources/resources.h"

extern const char res_teltyp[] = R"RES(
! Terminal types of the eight analogue ports
*teltyp_dlg.title: Gerätetypen
*main*endgeraet.labelString: Endgeräte
*main*endgeraet.helpLine: Endgeräte: Endgerätetypen der Nebenstellen festlegen (Telefon/Fax/Modem...)
*teltyp_dlg.children: Form teltyp
*teltyp.dialogStyle: DIALOG_PRIMARY_APPLICATION_MODAL
*teltyp.children: HFrame tt_typen; EqualRow tt_btns
*tt_typen.title: Gerätetypen
*tt_typen.children: Column tt_col0; Column tt_col1
*tt_col0.children: Chooser tln0..3
*tt_col0.captions: "  AB #1:", "  AB #2:", "  AB #3:", "  AB #4:"
*tt_col1.children: Chooser tln4..7
*tt_col1.captions: "  AB #5:", "  AB #6:", "  AB #7:", "  AB #8:"
*tt_typen*chooserType: option
*tt_typen*strings: Telefon, Anrufbeantworter, Fax, Modem, Kombi (Fax/Tel.)
! only the first port can be the door station
*tt_typen*tln0.strings: Telefon, Anrufbeantworter, Fax, Modem, Kombi (Fax/Tel.), Türstation
! Captions of one width, as in the trunk permissions.
*tt_typen.box*XmLabel.alignment: alignment_beginning
*tt_typen*captionWidth: Ruf #00:\040
*tt_btns.children: Button okay; Button cancel; Button help
*tt_btns.help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Für jede analoge Nebenstelle (AB #1 bis #8) das angeschlossene Gerät.\n\
Eine Türstation kann nur an AB #1 hängen.\n\
\n\
OK übernimmt die Typen, Abbrechen verwirft sie; zur Anlage gelangen sie\n\
erst mit \\"Programmieren\\" im Hauptfenster.", "Hilfe")
)RES";
