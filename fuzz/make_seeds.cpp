// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the fuzzers' seed corpora: the bundled examples, and records built
// here with the program's own encoders at the edges every reader must
// survive. Usage: komet-fuzz-seeds SOURCE_DIR OUT_DIR

#include <bit>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/format.h"
#include "dialogs/options_record.h"
#include "model/rocket_record.h"
#include "motors/motor_record.h"

namespace komet {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class SeedDir {
 public:
  SeedDir(const fs::path& out, const char* name) : dir_(out / name) { fs::create_directories(dir_); }

  void Add(const std::string& name, const Bytes& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void Add(const std::string& name, std::string_view text) const {
    Add(name, Bytes(text.begin(), text.end()));
  }
  void CopyFrom(const fs::path& dir, std::string_view extension) const {
    if (!fs::is_directory(dir)) return;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().extension() == extension)
        fs::copy_file(e.path(), dir_ / e.path().filename(), fs::copy_options::overwrite_existing);
  }

 private:
  fs::path dir_;
};

Bytes Encoded(const RocketRecord& r) {
  Bytes b(RocketRecord::kSize);
  EncodeRocketRecord(r, b);
  return b;
}

Bytes Encoded(const OptionsRecord& o) {
  Bytes b(OptionsRecord::kSize);
  EncodeOptionsRecord(o, b);
  return b;
}

Bytes Encoded(const std::vector<MotorRecord>& motors) {
  Bytes b(motors.size() * MotorRecord::kSize);
  for (std::size_t i = 0; i < motors.size(); ++i)
    EncodeMotorRecord(motors[i], std::span(b).subspan(i * MotorRecord::kSize, MotorRecord::kSize));
  return b;
}

// One seed for each spoiled copy of `base`, named after its spoiler.
template <typename Record, std::size_t N>
void AddSpoiled(const SeedDir& dir, const Record& base,
                const std::pair<const char*, std::function<void(Record&)>> (&spoilers)[N],
                std::string_view extension) {
  for (const auto& [name, spoil] : spoilers) {
    Record r = base;
    spoil(r);
    dir.Add(std::string(name) + std::string(extension), Encoded(r));
  }
}

MotorRecord Motor(std::string_view name, double thrust, double burn) {
  MotorRecord m;
  m.name.assign(name);
  m.propellantMass = 0.01, m.totalMass = 0.02, m.burnTime = burn, m.maxThrust = thrust;
  m.curveTime[1] = 0.05, m.curveThrust[1] = thrust;
  m.curveTime[2] = burn, m.curveThrust[2] = thrust / 2;
  m.curveTime[3] = burn + 0.01;
  m.delays = {3, 5, 7, 0};
  return m;
}

// A two-stage rocket made here, so the seeds do not depend on the examples.
RocketRecord TwoStages() {
  RocketRecord r;
  InitRakete(r);
  r.name.assign("Zweistufer");
  r.cw = 0.6;
  r.stages[0].mass = 0.02, r.stages[0].diameter = 0.025, r.stages[0].counts = {1, 2, 0};
  r.stages[0].motors[0] = Motor("C6", 6, 1.8);
  r.stages[0].motors[1] = Motor("A8", 3, 0.5);
  r.stages[1].mass = 0.01, r.stages[1].diameter = 0.03, r.stages[1].counts = {1, 0, 0};
  r.stages[1].ignitionDelay = 0.5;
  r.stages[1].motors[0] = Motor("B6-0", 5, 0.8);
  SetNotesText(r, "Startplatz Wiese\r\nWind 3 m/s");
  return r;
}

// Values no stage dialog makes, one kind a file.
const std::pair<const char*, std::function<void(RocketRecord&)>> kRocketSpoilers[] = {
    {"nan_masse", [](RocketRecord& r) { r.stages[0].mass = kNaN; }},
    {"null_masse",
     [](RocketRecord& r) {
       for (auto& s : r.stages) {
         s.mass = 0;
         for (auto& m : s.motors) m.totalMass = m.propellantMass = 0;
       }
     }},
    {"brennzeit_0", [](RocketRecord& r) { r.stages[0].motors[0].burnTime = 0; }},
    {"brennzeit_1e300", [](RocketRecord& r) { r.stages[1].motors[0].burnTime = 1e300; }},
    {"brennzeit_inf", [](RocketRecord& r) { r.stages[0].motors[0].burnTime = kInf; }},
    {"verzoegerung_negativ", [](RocketRecord& r) { r.stages[1].ignitionDelay = -5; }},
    {"verzoegerung_nan", [](RocketRecord& r) { r.stages[1].ignitionDelay = kNaN; }},
    {"anzahl_max",
     [](RocketRecord& r) {
       r.stages[0].counts = {INT_MAX, INT_MAX, 0};
     }},
    {"anzahl_min",
     [](RocketRecord& r) {
       r.stages[0].counts = {INT_MIN, 1, -1};
     }},
    {"anzahl_21",
     [](RocketRecord& r) {
       r.stages[1].counts = {21, 21, 21};
     }},
    {"gleiche_motoren",
     [](RocketRecord& r) {
       r.stages[0].motors[1] = r.stages[0].motors[0];
       r.stages[0].counts = {INT_MAX, INT_MAX, 1};
     }},
    {"zeiten_fallend",
     [](RocketRecord& r) {
       auto& m = r.stages[0].motors[0];
       for (int k = 1; k < 101; ++k) m.curveTime[k] = 101 - k, m.curveThrust[k] = k;
     }},
    {"zeiten_gleich",
     [](RocketRecord& r) {
       auto& m = r.stages[0].motors[0];
       for (int k = 1; k < 101; ++k) m.curveTime[k] = 0.5, m.curveThrust[k] = k;
     }},
    {"kurve_nan", [](RocketRecord& r) { r.stages[0].motors[0].curveThrust.fill(kNaN); }},
    {"cw_nan", [](RocketRecord& r) { r.cw = kNaN; }},
    {"durchmesser_negativ", [](RocketRecord& r) { r.stages[1].diameter = -1; }},
    {"treibstoff_zu_viel", [](RocketRecord& r) { r.stages[0].motors[0].propellantMass = 5; }},
    {"notizen_ohne_null", [](RocketRecord& r) { r.notes.fill('A'); }},
    {"name_255", [](RocketRecord& r) { r.name.raw()[0] = 255; }},
    {"motorname_255", [](RocketRecord& r) { r.stages[0].motors[0].name.raw()[0] = 255; }},
};

void RocketSeeds(const fs::path& source, const fs::path& out) {
  const SeedDir dir(out, "rocket");
  dir.CopyFrom(source / "examples/rockets", ".kmw");
  RocketRecord empty;
  InitRakete(empty);
  dir.Add("leer.kmw", Encoded(empty));
  const RocketRecord base = TwoStages();
  const Bytes full = Encoded(base);
  // Cut at every field boundary class: in and after the magic, the name,
  // the rocket's doubles, a stage's doubles, its motors and counts, the
  // notes and the reserved tail.
  for (std::size_t cut : {0, 1, 12, 13, 21, 72, 80, 104, 180, 560, 6288, 6312, 12520, 18728, 26912, 26931}) {
    dir.Add("kurz_" + std::to_string(cut) + ".kmw", Bytes(full.begin(), full.begin() + cut));
  }
  Bytes longer = full;
  for (double c : {kNaN, 0.0, kInf, -1.0, 1e300}) {
    const auto bits = std::bit_cast<std::uint64_t>(c);
    for (int k = 0; k < 8; ++k) longer.push_back(static_cast<std::uint8_t>(bits >> (8 * k)));
  }
  dir.Add("lang_konstanten.kmw", longer);
  AddSpoiled(dir, base, kRocketSpoilers, ".kmw");
}

void DatabaseSeeds(const fs::path& source, const fs::path& out) {
  const SeedDir dir(out, "motor_database");
  dir.CopyFrom(source / "examples", ".kdb");
  const std::vector<MotorRecord> motors = {Motor("C6", 6, 1.8), Motor("c6", 5, 1.7),
                                           Motor("1A", 2, 0.3), Motor("\xC4rger", 4, 1),
                                           Motor("", 1, 1),     Motor("B6-0", 5, 0.8)};
  const Bytes all = Encoded(motors);
  dir.Add("leer.kdb", Bytes());
  dir.Add("2035.kdb", Bytes(all.begin(), all.begin() + MotorRecord::kSize - 1));
  dir.Add("eins.kdb", Bytes(all.begin(), all.begin() + MotorRecord::kSize));
  dir.Add("alle.kdb", all);
  Bytes tail = all;
  tail.resize(all.size() + 1000, 0x55);
  dir.Add("mit_rest.kdb", tail);
  std::vector<MotorRecord> odd = motors;
  odd[1].deletedMark = 1;
  odd[2].name.raw()[0] = 255;
  odd[3].curveTime.fill(kNaN);
  dir.Add("geloescht_und_kaputt.kdb", Encoded(odd));
}

void OptionsSeeds(const fs::path& out) {
  const SeedDir dir(out, "options");
  OptionsRecord base;
  InitOptions(base, "/home/komet/raketen");
  dir.Add("standard.opt", Encoded(base));
  const Bytes full = Encoded(base);
  dir.Add("leer.opt", Bytes());
  dir.Add("kurz_315.opt", Bytes(full.begin(), full.end() - 1));
  dir.Add("kurz_17.opt", Bytes(full.begin(), full.begin() + 17));
  Bytes longer = full;
  longer.resize(400, 0xAA);
  dir.Add("lang.opt", longer);
  const std::pair<const char*, std::function<void(OptionsRecord&)>> spoilers[] = {
      {"magie_15", [](OptionsRecord& o) { o.magic.raw()[0] = 15; }},
      {"magie_anders", [](OptionsRecord& o) { o.magic.raw()[16] = '2'; }},
      {"schwerkraft_nan", [](OptionsRecord& o) { o.gravity = kNaN; }},
      {"dichte_inf", [](OptionsRecord& o) { o.airDensity = kInf; }},
      {"reibung_negativ", [](OptionsRecord& o) { o.railFriction = -3; }},
      {"schiene_negativ", [](OptionsRecord& o) { o.railLength = -1; }},
      {"zeitraum_1e300", [](OptionsRecord& o) { o.calcPeriod = 1e300; }},
      {"zeitraum_nan", [](OptionsRecord& o) { o.calcPeriod = kNaN; }},
      {"zeitraum_2", [](OptionsRecord& o) { o.calcPeriod = 2; }},
      {"pfad_255", [](OptionsRecord& o) { o.dbPath.raw()[0] = 255; }},
  };
  AddSpoiled(dir, base, spoilers, ".opt");
}

void EngSeeds(const fs::path& source, const fs::path& out) {
  const SeedDir dir(out, "eng");
  dir.CopyFrom(source / "examples/motors", ".eng");
  dir.Add("klein.eng", "; ein Motor\nC6 18 70 3-5-7 0.0108 0.0241 Test\n0.1 14\n1.0 5\n1.8 0\n;\n");
  dir.Add("crlf_bom.eng",
          "\xEF\xBB\xBF"
          "B4 18 70 P 0.006 0.017 T\r\n0 0\r\n0.2 10\r\n0.8 0\r\n");
  dir.Add("nur_kommentar.eng", ";;;\n; nichts\n");
  dir.Add("daten_ohne_kopf.eng", "0.1 5\n0.2 0\nA1 10 10 0 0.001 0.002 X\n0.1 1\n");
  dir.Add("fehler.eng",
          "X 18 70 3 0,01 0.02 T\n0.1 -5\n0.05 3\n0.2 x\n"
          "Y 18 70 Plugged-NE-99-0 0.03 0.02 T\n0.1 1\n"
          "\xC4rger_mit_einem_sehr_langen_Namen_der_nicht_in_das_Feld_passt 18 70 1-2-3-4-5 0.01 0.02 T\n"
          "0.1 1\n0.1 2\n0.3 0\n");
  std::string many = "L 29 124 0 0.06 0.12 T\n";
  for (int k = 1; k <= 300; ++k) many += std::to_string(k * 0.01) + " " + std::to_string(k % 17 + 1) + "\n";
  dir.Add("300_punkte.eng", many);
  dir.Add("riesig.eng", "R 18 70 3 0.01 0.02 T\n1e300 1e308\n");
}

void RseSeeds(const fs::path& out) {
  const SeedDir dir(out, "rse");
  const std::string engine =
      "<engine code=\"C6\" mfg=\"Test\" Type=\"single-use\" dia=\"18.\" len=\"70.\" initWt=\"24.\" "
      "propWt=\"12.\" delays=\"3,5,7,9,11\" Itot=\"10.\">\n<data>\n"
      "<eng-data t=\"0.\" f=\"0.\" m=\"12.\" cg=\"0.\"/>\n<eng-data t=\"0.1\" f=\"14\" m=\"11.\" "
      "cg=\"0.\"/>\n"
      "<eng-data t=\"0.1\" f=\"10\" m=\"11.\" cg=\"0.\"/>\n<eng-data t=\"1.8\" f=\"0\" m=\"0.\" cg=\"0.\"/>\n"
      "</data>\n</engine>\n";
  dir.Add("zwei.rse", "<?xml version=\"1.0\"?>\n<engine-database>\n<engine-list>\n" + engine + engine +
                          "</engine-list>\n</engine-database>\n");
  dir.Add("kaputt.rse", "<engine-database>\r\n<engine-list>\r\n<engine code=\"A\">\r\n</motor>\r\n");
  dir.Add("fehler.rse",
          "<engine-database><engine-list><engine code=\"\xC4rger\" propWt=\"3,5\" delays=\"P\">"
          "<data><eng-data t=\"0.2\" f=\"-1\"/><eng-data t=\"0.1\"/></data></engine>"
          "<engine/></engine-list></engine-database>");
}

void NumberSeeds(const fs::path& out) {
  const SeedDir dir(out, "parse_number");
  const char* const texts[] = {"",
                               "12.5",
                               "12,5",
                               "1e308",
                               "1e309",
                               "-1e-400",
                               " +3.5E+2",
                               "0x10",
                               "12.5 g",
                               "-3a",
                               ".5",
                               "5.",
                               "e5",
                               "1,2,3",
                               "123456789012345678901234",
                               "\xC3\xA4"
                               "1",
                               "\xFF"
                               "1",
                               "2147483648",
                               "-2147483648",
                               " 7 ",
                               "+-5",
                               "0020"};
  int k = 0;
  for (const char* t : texts) dir.Add("zahl_" + std::to_string(k++), std::string_view(t));
}

void PrinterSeeds(const fs::path& out) {
  const SeedDir dir(out, "line_printer");
  // Settings bytes (see the fuzzer): tab size, flags, rules, four margins,
  // border offset, column width, font, resolution, page.
  auto seed = [&](const std::string& name, std::vector<std::uint8_t> settings, std::string_view text) {
    Bytes b(settings.begin(), settings.end());
    b.insert(b.end(), text.begin(), text.end());
    dir.Add(name, b);
  };
  const std::string_view notes =
      "\n\n\n<5|>1\nKomet V.: 1.09|{$DATE}, {$TIME}\nStartplatz Wiese\tWind 3 m/s\n"
      "Ein sehr langer Absatz, der nicht auf eine Zeile passt und darum an den Leerzeichen umbrochen wird, "
      "bis er zu Ende "
      "ist.\n\nEinWortOhneLeerzeichenDasHartGeschnittenWerdenMussWeilEsNichtPasstUndNochLänger\n";
  seed("notizen", {8, 1, 2 | 16, 16, 32, 32, 32, 0, 0, 8, 4, 0}, notes);
  seed("ohne_umbruch_rechts", {8, 2, 15, 16, 32, 32, 32, 8, 16, 10, 2, 0}, notes);
  seed("schmal", {3, 1 | 32 | 128, 15, 200, 200, 120, 120, 255, 0, 47, 5, 0xFF}, notes);
  seed("zellen", {8, 1 | 64 | 128, 16, 16, 16, 16, 16, 0, 16, 12, 4, 0},
       "<1|>1|^1||x2\n^2|<1\n{$PAGE}|{$LINE}|{$TITLE}\n<3|>3\n{$TIME}{$DATE}|{$PAGE}\n"
       "a|b|c|d|e\n|||\n{$LINE}{$LINE}{$LINE}\n\t|\t\t|x\n");
  seed("leer", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "");
}

void FlightLogSeeds(const fs::path& out) {
  const SeedDir dir(out, "flightlog");
  std::string plain, header = "Zeit;H\xC3\xB6he (ft)\n", telemetry =
      "#version,serial,flight,state,state_name,time,pressure,altitude,height,temperature\n";
  std::string keys = "Apogee: 410 ft\nGround: 120 ft\nData: (Time, Altitude, Velocity, Temp)\n";
  for (int k = 0; k < 60; ++k) {
    const double t = -0.5 + 0.05 * k, h = t < 0 ? 0.0 : 80.0 * t - 4.9 * t * t;
    plain += Format('.', "%.3f,%.2f\n", t, h);
    header += Format(',', "%.3f;%.2f\n", t, h / 0.3048);
    telemetry += Format('.', "2,1234,5,3,boost,%.3f,101325,%.2f,%.2f,25.0\n", t, h + 300.0, h);
    keys += Format('.', "%.3f,%.1f,%.1f,58.7F\n", t + 3.0, h / 0.3048 + 120.0, 80.0 - 9.8 * t);
  }
  dir.Add("spalten.csv", plain);
  dir.Add("kopfzeile.csv", header);
  dir.Add("telemetrie.csv", telemetry);
  dir.Add("schluessel.txt", keys);
  dir.Add("abgeschnitten.csv", plain.substr(0, plain.size() - 4));
  dir.Add("flach.csv", "0,0\n1,0\n2,0\n3,0\n");
}

}  // namespace
}  // namespace komet

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SOURCE_DIR OUT_DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path source = argv[1], out = argv[2];
  komet::RocketSeeds(source, out);
  komet::DatabaseSeeds(source, out);
  komet::OptionsSeeds(out);
  komet::EngSeeds(source, out);
  komet::RseSeeds(out);
  komet::NumberSeeds(out);
  komet::PrinterSeeds(out);
  komet::FlightLogSeeds(out);
  return 0;
}
