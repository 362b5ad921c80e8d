#include "resources/resources.h"

// The overview page, the check and the findings in the question before
// programming.  "%1".. are filled by the program.
extern const char res_overview[] = R"RES(
! The check's findings: one line each, and why it is a fault.
*overview.finding.firstPortNotExternal: Port 1 ist "%1", nicht "Extern": die Anlage hat keinen Amtsanschluß
*overview.reason.firstPortNotExternal: Port 1 ist der Anschluß an das öffentliche Netz (der Dialog "Anlagentyp" \
bietet dort nur "Extern" an); ohne ihn kommt kein Anruf in die Anlage und keiner hinaus.
*overview.finding.msnUnreachable: MSN %1 (Port %2) klingelt nur bei Teilnehmern, die es nicht gibt: %3
*overview.reason.msnUnreachable: Ein Teilnehmer ohne interne Rufnummer (oder an einem Port ohne internen S0-Bus) \
ist nicht angeschlossen; ist die MSN nur ihm zugeordnet, klingelt für sie kein Telefon, und ihre Anrufe gehen verloren.
*overview.finding.msnNobody: MSN %1 (Port %2) ist niemandem zugeordnet, und bei "%3" steht kein vorhandener Teilnehmer
*overview.reason.msnNobody: Für eine MSN, die niemandem zugeordnet ist, klingeln die Nebenstellen der \
Rufweiterschaltung; steht dort niemand, der angeschlossen ist, klingelt kein Telefon, und ihre Anrufe gehen verloren.
*overview.finding.numberInvalid: Interne Rufnummer von %1 ist "%2": %3
*overview.reason.numberInvalid: Interne Rufnummern sind zwei Ziffern von 11 bis 97 (so nimmt sie der Dialog \
"Rufnummernzuordnung"); eine andere kann intern niemand wählen, und der Teilnehmer ist so nicht erreichbar.
*overview.finding.numberTwice: Interne Rufnummer %1 ist mehrfach vergeben: %2
*overview.reason.numberTwice: Die Anlage verbindet intern nach der Nummer; von Teilnehmern mit derselben Nummer \
erreicht ein Anruf, eine Umleitung oder eine Weiterleitung höchstens einen.
*overview.finding.functionAbsent: "%1" nennt Teilnehmer, die es nicht gibt: %2
*overview.reason.functionAbsent: Eine Anrufvariante, Türeinheit, Rufweiterschaltung oder ein Zweitwecker für \
einen Teilnehmer, der nicht angeschlossen ist, erreicht niemanden: dort klingelt nichts und öffnet niemand.
*overview.noNumber: ohne interne Rufnummer
*overview.noBus: Port ohne internen S0-Bus
! The function of "Rufverteilung" that rings for an MSN assigned to nobody.
*overview.forwardingFunction: Rufweiterschaltung

! The question before programming: the findings come first.
*overview.attention: Achtung: %1
*overview.attentionMore: ... und %1 weitere Auffälligkeiten

! The page.
*overview.title: Übersicht der Anlage
*overview.made: erstellt am %1
*overview.file: Datei: %1
*overview.findings: Prüfung
*overview.noFindings: Keine Auffälligkeiten: jede MSN erreicht einen vorhandenen Teilnehmer.
*overview.why: Warum:
*overview.pbx: Die Anlage
*overview.ports: Ports
*overview.port: Port
*overview.portUnused: nicht vorhanden (Anlagentyp)
*overview.mainNumber: Hauptanlage
*overview.subscribers: Teilnehmer
*overview.internalNumber: Interne Nr.
*overview.name: Anschluß
*overview.terminal: Endgerät
*overview.permissions: Berechtigungen
*overview.trunk: Amtsberechtigung
*overview.subscriberData: Teilnehmerdaten
*overview.noSubscribers: Kein Teilnehmer hat eine interne Rufnummer.
*overview.msns: Rufnummern (MSN)
*overview.msn: MSN
*overview.rings: Es klingelt bei
*overview.nobody: niemandem
*overview.unassigned: nicht zugeordnete MSN
*overview.noMsns: Kein Port ist ein externer Mehrgeräteanschluß mit MSNs.
*overview.distribution: Rufverteilung
*overview.dayNight: Anrufvariante 1 gilt am Tag, Anrufvariante 2 in der Nacht.
*overview.picture: Wer für welche MSN klingelt
*overview.pictureNote: Links die MSNs, rechts die Teilnehmer; eine Linie, wo es klingelt. \
Gestrichelt: Rufweiterschaltung und Teilnehmer, die es nicht gibt.
*overview.speedDial: Kurzwahlverzeichnis
*overview.code: Kurzwahl
*overview.number: Nummer
*overview.noSpeedDial: Das Kurzwahlverzeichnis ist leer.
*overview.calls: Gespräche
*overview.outgoing: Ausgehende Gespräche
*overview.incoming: Eingehende Gespräche
*overview.perDay: je Tag
*overview.perHour: je Stunde des Tages
*overview.perExtension: je Nebenstelle
*overview.charges: Gebühren je Nebenstelle
*overview.chargeSum: Gebühr
*overview.callCount: Gespräche
*overview.total: Summe
*overview.noCalls: Die Liste enthält keine Gespräche.
)RES";
