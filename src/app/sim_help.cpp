// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/sim_help.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "common/natural_order.h"
#include "common/user_folders.h"
#include "common/version.h"

namespace komet {
namespace {

constexpr std::string_view kFlightOptions =
    "\n"
    "Rechnet den Flug einer Raketendatei, wie komet sie öffnet, und gibt eine\n"
    "Zusammenfassung aus oder schreibt Flugdaten, Ergebnisse, Diagramm und Bericht.\n"
    "\n"
    "  --db DATEI.kdb        Motordatenbank; sonst die in komet eingestellte, sonst\n"
    "                        der mitgelieferte Motorkatalog\n"
    "  --options KOMET.OPT   die Konstanten aus dieser Optionsdatei; sonst die von komet\n"
    "  --raw                 die Rakete so rechnen, wie sie in der Datei steht, mit\n"
    "                        den dort gespeicherten Motoren\n"
    "  --csv DATEI|-         die Flugdaten je 5-ms-Schritt als CSV (- : Standardausgabe)\n"
    "  --csv-locale de|en    die CSV für eine Tabellenkalkulation dieser Sprache\n"
    "  --json DATEI|-        die Ergebnisse als JSON\n"
    "  --png DATEI           das Flugdiagramm als PNG\n"
    "  --svg DATEI           das Flugdiagramm als SVG\n"
    "  --size BxH            die Größe der Bilder in Pixeln (Vorgabe 639x351)\n"
    "  --pdf DATEI           der Flugbericht als PDF\n"
    "  --curves hvaSF,brenn  die Kurven in Bild und Bericht: h Höhe, v Geschwindigkeit,\n"
    "                        a Beschleunigung, S Schub, F Kraft; brenn Brennschluss\n"
    "                        und Verzögerungen\n"
    "  --gravity X           Erdbeschleunigung in m/s²\n"
    "  --air-density X       Luftdichte in kg/m³\n"
    "  --rail-length X       Länge der Startvorrichtung in m\n"
    "  --rail-friction X     Reibung an der Startvorrichtung in N\n"
    "  --period X            Berechnungszeitraum in s (3 bis 50)\n"
    "  --recovery parachute:DURCHMESSER_MM[,CW]|streamer:LÄNGE_MMxBREITE_MM[,CW]\n"
    "                        Bergung der Hauptstufe statt der in der Rakete gespeicherten:\n"
    "                        Fallschirm (cw Vorgabe 0.8) oder Band (cw Vorgabe nach\n"
    "                        seiner Länge); der Flug geht dann bis zur Landung\n"
    "  --deploy delay:S|apogee\n"
    "                        wann die Bergung öffnet: S Sekunden nach Brennschluss\n"
    "                        (Ausstoßladung) oder im Gipfel (Elektronik); ohne\n"
    "                        --recovery ändert es die Bergung der Rakete\n"
    "  --wind M/S            Wind für die geschätzte Abdrift; sonst der in komet\n"
    "                        gespeicherte Startplatz (Vorgabe 5 m/s)\n"
    "  --isa HÖHE,TEMPERATUR Normatmosphäre: Höhe des Startplatzes in m und Temperatur\n"
    "                        am Boden in °C; sonst der in komet gespeicherte\n"
    "                        Startplatz, ohne Normatmosphäre die Luftdichte in\n"
    "                        jeder Höhe\n"
    "  --no-site             den in komet gespeicherten Startplatz nicht nehmen,\n"
    "                        sondern die Vorgaben (ohne Normatmosphäre, 5 m/s Wind,\n"
    "                        Feld 150 m, keine Höhengrenze)\n"
    "  --field-radius M      Radius des Feldes um die Startrampe: landet die Rakete\n"
    "                        mit Bergung weiter weg, ist der Flug gelb; sonst der in\n"
    "                        komet gespeicherte (Vorgabe 150 m)\n"
    "  --ceiling M           Höhengrenze des Feldes: ein höherer Gipfel ist rot;\n"
    "                        0: keine; sonst die in komet gespeicherte\n"
    "                        (--height-limit ist ein anderer Name dafür)\n"
    "  --summary-line        nur die Zeile, die unter dem Diagramm steht\n"
    "  --locale de|en        das Dezimalzeichen für Leser (Komma oder Punkt)\n"
    "  -h, --help            diese Hilfe\n"
    "  --version             Version und Lizenz\n"
    "\n"
    "Befehle (BEFEHL --help zeigt die Hilfe des Befehls):\n"
    "  import   Motordateien (RASP .eng, RockSim .rse) in eine Motordatenbank lesen\n"
    "  motors   die Motoren einer Motordatenbank auflisten\n"
    "  guide    Motorberater: die Rakete mit jedem passenden Motor fliegen\n"
    "  flight   die Aufzeichnung eines Höhenmessers lesen: Start und Gipfel\n"
    "  fit      den cw-Wert finden, mit dem die Simulation den Messflug trifft\n";

constexpr std::string_view kExitStatus =
    "\n"
    "Rückgabewert: 0 erledigt, 1 beim Import wurden Einträge verworfen,\n"
    "2 falsche Eingabe (mit einer Meldung auf der Fehlerausgabe).\n";

constexpr std::string_view kImportHelp =
    "Aufruf: komet-sim import MOTORDATEIEN-ODER-ORDNER... -o DATEI.kdb [--append]\n"
    "\n"
    "Liest RASP- (.eng) und RockSim-Motordateien (.rse), auch ganze Ordner davon,\n"
    "in eine Motordatenbank und listet jeden übernommenen Motor mit Gesamtimpuls,\n"
    "Brenndauer und höchstem Schub. Probleme stehen mit Datei und Zeile auf der\n"
    "Fehlerausgabe. import-eng ist ein anderer Name für import.\n"
    "\n"
    "  -o DATEI.kdb   die Motordatenbank, die geschrieben wird\n"
    "  --append       die Motoren zu einer bestehenden Datenbank hinzufügen; ihre\n"
    "                 Einträge bleiben, andere Daten desselben Motors kommen daneben\n"
    "  -h, --help     diese Hilfe\n"
    "\n"
    "Rückgabewert: 0 alle Einträge übernommen, 1 Einträge verworfen, 2 kein Motor\n"
    "übernommen oder falsche Eingabe; dann bleibt die Datenbank unverändert.\n";

constexpr std::string_view kMotorsHelp =
    "Aufruf: komet-sim motors [--db DATEI.kdb] [--search TEXT] [--csv DATEI|-] [--json DATEI|-]\n"
    "\n"
    "Listet die Motoren einer Motordatenbank nach Namen mit Klasse, Durchmesser x\n"
    "Länge, Gesamtimpuls und Brenndauer, wie Komet sie fliegt, und den Verzögerungen\n"
    "(0: Booster, P: ohne Ausstoßladung); fragliche Daten sind markiert.\n"
    "\n"
    "  --db DATEI.kdb   die Motordatenbank; sonst die in komet eingestellte, sonst\n"
    "                   der mitgelieferte Motorkatalog\n"
    "  --search TEXT    nur, was die Suche der Motorlisten findet: \"C6-5\",\n"
    "                   \"Estes D12-0\", \"AT G80\"\n"
    "  --csv DATEI|-    alle Angaben jedes Motors als CSV (- : Standardausgabe)\n"
    "  --json DATEI|-   alle Angaben jedes Motors als JSON\n"
    "  -h, --help       diese Hilfe\n"
    "\n"
    "Rückgabewert: 0 erledigt, 2 falsche Eingabe.\n";

constexpr std::string_view kGuideHelp =
    "Aufruf: komet-sim guide RAKETE.kmw [--db DATEI.kdb] [--class C..E] [--maker NAME]\n"
    "                        [--diameter MM] [--length MM] [--min-apogee M] [--max-apogee M]\n"
    "                        [--max-speed M/S] [--field-radius M] [--ceiling M] [--green]\n"
    "                        [--csv DATEI|-] [--json DATEI|-]\n"
    "\n"
    "Der Motorberater fliegt die Rakete mit jedem passenden Motor der Datenbank im\n"
    "ersten Motorplatz der Hauptstufe (gleiche Anzahl, alles andere unverändert) und\n"
    "zeigt je Motor Gipfelhöhe und -zeit, Höchstgeschwindigkeit, Geschwindigkeit am\n"
    "Ende der Startvorrichtung, Schub/Gewicht, die empfohlene und die beste käufliche\n"
    "Verzögerung, die Geschwindigkeit beim Ausstoß und die Warnungen. Sichere Motoren\n"
    "zuerst (grün, gelb, rot; dann, wer auf dem Feld landet; dann wie gut die beste\n"
    "Verzögerung passt; dann die Gipfelhöhe). Die erste Zeile nennt Feld, Wind und\n"
    "Motorhalterung, nach denen geurteilt wurde; ohne Bergung wird die Landung nicht\n"
    "beurteilt.\n"
    "\n"
    "  --class C..E       nur Motoren dieser Klasse oder dieses Klassenbereichs\n"
    "                     (auch C, ..E, C..)\n"
    "  --maker NAME       nur Motoren dieses Herstellers\n"
    "  --diameter MM      Durchmesser der Motorhalterung: breitere Motoren nicht fliegen\n"
    "                     (Vorgabe: die Halterung der Form, sonst der jetzige Motor\n"
    "                     der Hauptstufe; 0: alle)\n"
    "  --length MM        Länge der Motorhalterung mit Überstand: längere Motoren nicht\n"
    "                     fliegen (Vorgabe wie bei --diameter; 0: alle)\n"
    "  --min-apogee M, --max-apogee M, --max-speed M/S\n"
    "                     nur Flüge in diesen Grenzen\n"
    "  --field-radius M   Radius des Feldes: eine Landung weiter weg ist gelb\n"
    "                     (Vorgabe: der in komet gespeicherte, sonst 150 m)\n"
    "  --ceiling M, --height-limit M\n"
    "                     Höhengrenze des Feldes: ein höherer Gipfel ist rot; 0: keine\n"
    "  --green            nur Motoren, die keine Regel verletzen\n"
    "  --csv DATEI|-      die Tabelle als CSV (- : Standardausgabe)\n"
    "  --json DATEI|-     die Tabelle als JSON, je Zeile mit mark und rules\n"
    "  -h, --help         diese Hilfe\n"
    "Dazu gelten die Optionen des Flugs (--db, --options, --raw, die Konstanten,\n"
    "--recovery, --deploy, --wind, --isa und --no-site).\n"
    "\n"
    "Rückgabewert: 0 erledigt, 2 falsche Eingabe.\n";

constexpr std::string_view kShapeHelp =
    "Aufruf: komet-sim shape RAKETE.kmw [--db DATEI.kdb] [--set FORM.json] [--json DATEI|-]\n"
    "\n"
    "Zeigt die Form der Rakete aus der Datei daneben (RAKETE.kmf): je Stufe Länge,\n"
    "Rohr, Flossen und Motorhalterung, dazu Schwerpunkt und Druckpunkt (Barrowman)\n"
    "in m hinter der Spitze, die Stabilität in Kalibern beim Start und im\n"
    "ungünstigsten Moment des Antriebs und einen cw-Wert aus der Form (eine\n"
    "Schätzung).\n"
    "\n"
    "  --set FORM.json  schreibt zuerst diese Form (Schlüssel wie --json, Längen in m)\n"
    "                   in die Formdatei der Rakete; die Raketendatei bleibt, wie sie ist\n"
    "  --json DATEI|-   Form und Ergebnis als JSON: stages (oben zuerst) und results\n"
    "                   (cp, cg, margin, minMargin, cwEstimate)\n"
    "  -h, --help       diese Hilfe\n"
    "\n"
    "Rückgabewert: 0 erledigt, 2 falsche Eingabe oder keine Form.\n";

constexpr std::string_view kFlightLogHelp =
    "Aufruf: komet-sim flight AUFZEICHNUNG [--units m|ft] [--json DATEI|-]\n"
    "\n"
    "Liest die Textdatei eines Höhenmessers (Zeit und Höhe in Spalten, getrennt durch\n"
    "Komma, Semikolon, Tabulator oder Leerzeichen, mit oder ohne Kopfzeile und\n"
    "Kopfblock \"Name: Wert\"; die Telemetrie-CSV \"#version,serial,flight,...\") und\n"
    "zeigt Form, Spalten, Einheit, Messpunkte, den Startplatz, den Start (1 s lang\n"
    "mehr als 3 m über dem Startplatz, zurück zum Beginn des Anstiegs) und den Gipfel\n"
    "(Median aus je 3 Messpunkten; daneben, was der Höhenmesser im Kopf meldet).\n"
    "Zeilen mit derselben Zeit sind ein Messpunkt. Die Datei wird nur gelesen.\n"
    "\n"
    "  --units m|ft     Einheit der Höhen, wenn die Datei sie nicht nennt (Vorgabe m,\n"
    "                   ft bei Temperaturen in °F)\n"
    "  --json DATEI|-   das Ergebnis als JSON (- : Standardausgabe)\n"
    "  -h, --help       diese Hilfe\n"
    "\n"
    "Rückgabewert: 0 erledigt, 2 falsche Eingabe.\n";

constexpr std::string_view kFitHelp =
    "Aufruf: komet-sim fit RAKETE.kmw --flight AUFZEICHNUNG [--units m|ft] [--json DATEI|-]\n"
    "\n"
    "Hält die Simulation gegen einen Messflug: gemessener und berechneter Gipfel, dazu\n"
    "der cw-Wert, mit dem die Simulation den gemessenen Gipfel trifft, und der, der\n"
    "den ganzen Aufstieg am besten trifft (kleinste Quadrate), jeweils mit dem Rest.\n"
    "Jeder Versuch ist ein ganzer Flug mit sonst unveränderter Rakete; gesucht wird\n"
    "zwischen cw 0,05 und 3,0. Ein anderer Motor als der geflogene oder ein\n"
    "Bergungssystem, das vor dem Gipfel auslöst, machen den Abgleich ungültig.\n"
    "\n"
    "  --flight DATEI   die Aufzeichnung des Höhenmessers\n"
    "  --units m|ft     Einheit der Höhen, wenn die Datei sie nicht nennt (Vorgabe m)\n"
    "  --json DATEI|-   das Ergebnis als JSON: measuredApogee, measuredApogeeTime,\n"
    "                   predictedApogee, cwApogee, cwAscent, rmsAscent (m)\n"
    "  -h, --help       diese Hilfe\n"
    "Dazu gelten die Optionen des Flugs (--db, --options, --raw und die Konstanten).\n"
    "\n"
    "Rückgabewert: 0 erledigt, 2 falsche Eingabe oder kein passender cw-Wert.\n";

// The sample rockets as they lie in the folder, so that the list names what
// is installed: "a.kmw, b.kmw und c.kmw".
std::string ExampleRocketList(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() == ".kmw" && it->is_regular_file(error))
      names.push_back(it->path().filename().string());
  }
  std::ranges::sort(names, {}, NaturalSortKey);
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " und " : ", ") + names[i];
  }
  return list.empty() ? "(keine)" : list + ".";
}

}  // namespace

std::string FlightHelp(const std::filesystem::path& examplesDir) {
  std::string text(kFlightOptions);
  if (!examplesDir.empty()) {
    const std::string dir = examplesDir.string();
    text += "\nBeispielraketen in " + dir + ":\n" + ExampleRocketList(examplesDir) +
            "\n"
            "  komet-sim " +
            dir + "/einstufig_c6.kmw\n  komet-sim " + dir +
            "/zweistufig.kmw --csv flug.csv --pdf bericht.pdf\n"
            "  komet-sim guide " +
            dir + "/einstufig_c6.kmw --class A..C\n";
  }
  return text + std::string(kExitStatus);
}

std::optional<std::string_view> CommandHelp(std::string_view command) {
  if (command == "import" || command == "import-eng") return kImportHelp;
  if (command == "motors") return kMotorsHelp;
  if (command == "guide") return kGuideHelp;
  if (command == "flight") return kFlightLogHelp;
  if (command == "fit") return kFitHelp;
  if (command == "shape") return kShapeHelp;
  return std::nullopt;
}

std::string VersionText(std::string_view program) {
  return std::string(program) + " " + std::string(kVersionNumber) + "\n" + std::string(kCopyright) + "\n" +
         std::string(kLicence) + "\n";
}

std::optional<std::string> DesktopInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) return std::nullopt;
  if (args[0] == "--version") return VersionText("komet");
  if (args[0] != "--help") return std::nullopt;
  return "Aufruf: komet [RAKETE.kmw]\n"
         "\n"
         "Öffnet das Fenster von Komet, mit der genannten Raketendatei. Die Wörter der\n"
         "Befehlszeile ergeben zusammen einen Dateinamen, auch mit Leerzeichen.\n"
         "\n"
         "  --help      diese Hilfe\n"
         "  --version   Version und Lizenz\n"
         "\n"
         "Eine Datei namens --help öffnet ./--help. Ohne Fenster rechnet komet-sim.\n"
         "Die Einstellungen stehen in " +
         (UserConfigFolder() / "").string() + ".\n";
}

}  // namespace komet
