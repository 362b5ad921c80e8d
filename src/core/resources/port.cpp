#include "resources/resources.h"

extern const char res_port[] = R"RES(
! The serial line: the devices there are, or any other typed in
*port_dlg.title: Schnittstelle
*port_dlg.children: Form portsel
*portsel.dialogStyle: DIALOG_FULL_APPLICATION_MODAL
*portsel.children: List ports; InputField device; EqualRow port_btns
*portsel*ports.caption: Schnittstellen an diesem Rechner:
*portsel*ports.captionPosition: top
*portsel*ports.visibleItemCount: 8
*portsel*ports.width: 9000
*portsel*ports.unitType: 100th_millimeters
*portsel*ports.scrollBarDisplayPolicy: static
*portsel*device.caption: Gerät:
*portsel*device.columns: 40
*port_btns.children: Button okay; Button cancel; Button help
*portsel*help.activateCallback: XmtDisplayInformationMsg("msg1", \
"Die Liste zeigt die seriellen Schnittstellen dieses Rechners, Adapter mit\n\
ihrem Namen.  Eine Zeile wählen oder das Gerät selbst eintragen.\n\
Die Wahl gilt auch beim nächsten Start, wenn weder der Aufruf noch\n\
KELVORA_DEVICE ein Gerät nennt.", "Hilfe")
*portNotKept.title: Schnittstelle
*portNotKept.message: Die Schnittstelle gilt bis zum Programmende;\n\
für den nächsten Start kann sie nicht\nin "%s" vermerkt werden:\n%s
)RES";
