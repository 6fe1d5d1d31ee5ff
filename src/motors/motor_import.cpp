// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_import.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/motor_database.h"
#include "motors/motor_details.h"
#include "motors/motor_makers.h"
#include "motors/motor_naming.h"
#include "motors/rse_import.h"

namespace komet {
namespace {

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return ext;
}

MotorImport FileError(const std::filesystem::path& path, std::string message) {
  MotorImport out;
  out.problems.push_back({path.filename().string(), 0, std::move(message), false});
  out.refused = 1;
  return out;
}

bool StartsLikeXml(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> head = ReadFilePrefix(path, 256);
  const auto first = std::find_if(head.begin(), head.end(), [](std::uint8_t b) {
    return b > ' ' && b != 0xEF && b != 0xBB && b != 0xBF;
  });
  return first != head.end() && *first == '<';
}

// The motor files below a folder, in name order; unreadable subfolders are
// passed over.
std::vector<std::filesystem::path> MotorFilesBelow(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  auto it = std::filesystem::recursive_directory_iterator(
      dir, std::filesystem::directory_options::skip_permission_denied, ec);
  for (const auto end = std::filesystem::recursive_directory_iterator(); !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec) && IsMotorFile(it->path())) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::string ImportDiagnostic::text() const {
  std::string out = file;
  if (line > 0) out += ", Zeile " + std::to_string(line);
  out += ": ";
  if (warning) out += "Warnung: ";
  return out + message;
}

bool MotorImport::hasErrors() const {
  return std::any_of(problems.begin(), problems.end(), [](const ImportDiagnostic& d) { return !d.warning; });
}

void MotorImport::append(MotorImport&& other) {
  std::move(other.motors.begin(), other.motors.end(), std::back_inserter(motors));
  std::move(other.problems.begin(), other.problems.end(), std::back_inserter(problems));
  refused += other.refused;
}

bool IsMotorFile(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  return ext == ".eng" || ext == ".rse";
}

MotorImport ImportMotorFile(const std::filesystem::path& path) {
  const std::string ext = LowerExtension(path);
  if (ext == ".kdb")
    return FileError(path,
                     "ist eine Motordatenbank, keine Motordatei (.eng, .rse); "
                     "eine Datenbank wählt man in den Einstellungen");
  try {
    if (ext == ".rse" || (ext != ".eng" && StartsLikeXml(path))) return ImportRseFile(path);
    return ImportEngFile(path);
  } catch (const KometError& e) {
    MotorImport out;
    out.problems.push_back({path.filename().string(), 0, e.what(), false});
    out.refused = 1;
    return out;
  }
}

MotorImport ImportMotorPaths(std::span<const std::filesystem::path> inputs) {
  MotorImport all;
  for (const std::filesystem::path& input : inputs) {
    std::error_code ec;
    if (std::filesystem::is_directory(input, ec)) {
      const std::vector<std::filesystem::path> files = MotorFilesBelow(input);
      if (files.empty()) all.append(FileError(input, "keine Motordateien (.eng, .rse) in diesem Ordner"));
      for (const std::filesystem::path& file : files) all.append(ImportMotorFile(file));
    } else if (!std::filesystem::exists(input, ec)) {
      all.append(FileError(input, "Datei nicht gefunden"));
    } else {
      all.append(ImportMotorFile(input));
    }
  }
  return all;
}

namespace {

constexpr std::string_view kOwnVersion = " (eigene Datei";

// What identifies a motor: maker and designation parts, or for a record
// without details its name.
struct MotorKey {
  bool details = false;
  std::string maker;  // the catalogue's short name, folded
  DesignationParts parts;
  std::string name;  // folded; records without details
  std::string also;  // the other designation it is sold by, as a key
};

MotorKey KeyOf(const MotorRecord& m) {
  MotorKey k;
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  if (!d || d->designation.empty()) {
    k.name = MotorNameKey(m.name.view());
    return k;
  }
  k.details = true;
  k.maker = MotorNameKey(CanonicalMakerName(d->maker));
  k.parts = SplitDesignation(d->designation);
  if (k.parts.common.empty() && !d->commonName.empty())
    k.parts.common = MotorNameKey(d->commonName);  // "WW-38-390"
  k.also = MotorNameKey(d->alsoSoldAs);
  return k;
}

std::string ExactKey(const MotorKey& k) {
  return k.details ? k.maker + '\n' + k.parts.key : '\r' + k.name;
}
std::string CommonKey(const MotorKey& k) {
  return k.maker + '\n' + k.parts.common;
}

bool Doubtful(const MotorRecord& m) {
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  return d && !d->dataCheck.empty();
}

std::string SourceOf(const MotorRecord& m) {
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  return Cp1252ToUtf8(d && !d->source.empty() ? d->source : m.name.str());
}

// "C6-5 [Estes] (C6_a.eng)": an imported record as its file named it.
std::string FileMotor(const MotorRecord& m) {
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  if (!d || d->designation.empty()) return Cp1252ToUtf8(m.name.view());
  return Cp1252ToUtf8(CatalogueName(d->designation, d->maker)) + " (" + SourceOf(m) + ")";
}

MotorIdentity IdentityOf(const MotorRecord& m) {
  const MotorDetails d = ReadMotorDetails(m).value_or(MotorDetails{});
  return {d.commonName, d.designation.empty() ? m.name.str() : d.designation, d.maker};
}

// The database's motors by their keys; entries are added as the import goes on.
class MotorIndex {
 public:
  void add(const MotorKey& k, std::size_t at) {
    byKey_[ExactKey(k)].push_back(at);
    if (!k.also.empty()) byKey_[k.maker + '\n' + k.also].push_back(at);
    if (k.details && !k.parts.common.empty())
      byCommon_[CommonKey(k)].push_back({at, k.parts.letters.empty()});
  }

  // The maker's entries of the motor's common name ("F32T", "F32W" for "F32").
  std::vector<std::size_t> ofCommonName(const MotorKey& k) const {
    std::vector<std::size_t> out;
    if (!k.details || k.parts.common.empty()) return out;
    if (const auto it = byCommon_.find(CommonKey(k)); it != byCommon_.end())
      for (const auto& [at, bare] : it->second) out.push_back(at);
    return out;
  }

  // The entries that are this motor, first found first.
  std::vector<std::size_t> find(const MotorKey& k) const {
    if (const auto it = byKey_.find(ExactKey(k)); it != byKey_.end()) return it->second;
    if (!k.details || k.parts.common.empty()) return {};
    // "G80" for the maker's only G80, "G80T"; "M1670BS" for its "6026M1670-P".
    const auto it = byCommon_.find(CommonKey(k));
    if (it == byCommon_.end() || it->second.size() != 1) return {};
    const auto [at, bare] = it->second.front();
    if (!bare && !k.parts.letters.empty()) return {};
    return {at};
  }

 private:
  std::map<std::string, std::vector<std::size_t>> byKey_;
  std::map<std::string, std::vector<std::pair<std::size_t, bool>>> byCommon_;  // bare: no letters
};

// A code of two makers ("A") becomes the one that has the motor.
void ResolveSharedMakerCode(MotorRecord& m, MotorKey& k, const MotorIndex& index) {
  if (!k.details) return;
  std::optional<MotorDetails> d = ReadMotorDetails(m);
  std::string found;
  for (std::string_view maker : MakersOfSharedCode(d->maker)) {
    MotorKey other = k;
    other.maker = MotorNameKey(maker);
    if (index.find(other).empty()) continue;
    if (!found.empty()) return;  // both have it: stays as the file says
    found = maker;
  }
  if (found.empty()) return;
  d->maker = found;
  WriteMotorDetails(*d, m);
  k.maker = MotorNameKey(found);
}

void AddDelays(MotorRecord& kept, const MotorRecord& twin) {
  std::optional<MotorDetails> a = ReadMotorDetails(kept);
  const std::optional<MotorDetails> b = ReadMotorDetails(twin);
  if (!a || !b) return;
  MotorDetails merged = *a;
  merged.delays.insert(merged.delays.end(), b->delays.begin(), b->delays.end());
  std::sort(merged.delays.begin(), merged.delays.end());
  merged.delays.erase(std::unique(merged.delays.begin(), merged.delays.end()), merged.delays.end());
  merged.plugged = a->plugged || b->plugged;
  merged.booster = a->booster || b->booster;
  if (merged != *a) WriteMotorDetails(merged, kept);
}

// Cumulative impulse along the curve at time t, N·s.
double ImpulseUntil(const MotorRecord& m, double t) {
  const std::size_t n = CurvePointCount(m);
  double sum = 0.0;
  for (std::size_t k = 1; k < n; ++k) {
    const double t0 = m.curveTime[k - 1], t1 = m.curveTime[k];
    if (t <= t0) break;
    const double f0 = m.curveThrust[k - 1], f1 = m.curveThrust[k];
    if (t >= t1) {
      sum += 0.5 * (t1 - t0) * (f0 + f1);
      continue;
    }
    const double f = f0 + (f1 - f0) * (t - t0) / (t1 - t0);
    sum += 0.5 * (t - t0) * (f0 + f);
    break;
  }
  return sum;
}

bool Near(double a, double b, double relative, double absolute) {
  return std::abs(a - b) <= std::max(absolute, relative * std::max(std::abs(a), std::abs(b)));
}

// Files round masses to 0.1 g, times to 1 ms and thrusts to 0.1 N or finer.
bool CurvesAgree(const MotorRecord& a, const MotorRecord& b, double impulse) {
  const double tolerance = std::max(0.01 * impulse, 0.001);
  const std::size_t n = CurvePointCount(a);
  for (std::size_t k = 1; k < n; ++k)
    if (std::abs(ImpulseUntil(a, a.curveTime[k]) - ImpulseUntil(b, a.curveTime[k])) > tolerance) return false;
  return true;
}

}  // namespace

bool SameMotorData(const MotorRecord& a, const MotorRecord& b) {
  constexpr double kGram = 0.0001;  // kg: a file's last mass digit and its rounding
  if (!Near(a.propellantMass, b.propellantMass, 0.005, kGram) ||
      !Near(a.totalMass, b.totalMass, 0.005, kGram))
    return false;
  const double ia = TotalImpulse(a), ib = TotalImpulse(b);
  if (!Near(ia, ib, 0.005, 0.001) || !Near(a.burnTime, b.burnTime, 0.01, 0.002) ||
      !Near(a.maxThrust, b.maxThrust, 0.01, 0.05))
    return false;
  return CurvesAgree(a, b, ia) && CurvesAgree(b, a, ia);
}

MergedDatabase MergeMotors(std::vector<MotorRecord> database, std::span<const MotorRecord> imported) {
  MergedDatabase out;
  out.motors = std::move(database);
  const std::size_t known = out.motors.size();
  MotorIndex index;
  for (std::size_t i = 0; i < known; ++i)
    if (out.motors[i].deletedMark == 0) index.add(KeyOf(out.motors[i]), i);

  std::vector<MotorRecord> fresh;
  std::vector<std::string> ownOf;  // per fresh entry: the name it stands beside, or empty
  std::vector<std::pair<MotorRecord, std::size_t>> twins;  // imported record, index in motors + fresh
  for (MotorRecord motor : imported) {
    MotorKey key = KeyOf(motor);
    ResolveSharedMakerCode(motor, key, index);
    const std::vector<std::size_t> same = index.find(key);
    auto recordAt = [&](std::size_t i) -> MotorRecord& {
      return i < known ? out.motors[i] : fresh[i - known];
    };
    auto sameData = [&](std::size_t i) { return SameMotorData(recordAt(i), motor); };
    auto twin = std::find_if(same.begin(), same.end(), sameData);
    // A designation printed another way ("F32" of "F32T") with the very data.
    const std::vector<std::size_t> named =
        same.empty() ? index.ofCommonName(key) : std::vector<std::size_t>{};
    if (twin == same.end() && !named.empty()) {
      const auto found = std::find_if(named.begin(), named.end(), sameData);
      if (found != named.end()) {
        if (*found >= known) AddDelays(fresh[*found - known], motor);
        twins.emplace_back(motor, *found);
        continue;
      }
    }
    if (twin != same.end()) {
      if (*twin >= known) AddDelays(fresh[*twin - known], motor);
      twins.emplace_back(motor, *twin);
      continue;
    }
    // Another file of a motor this import brought: the better data count.
    const auto ours = std::find_if(same.begin(), same.end(), [&](std::size_t i) { return i >= known; });
    if (ours != same.end()) {
      MotorRecord& kept = fresh[*ours - known];
      const bool better = Doubtful(kept) && !Doubtful(motor);
      const MotorRecord& left = better ? kept : motor;
      out.passedOver.push_back(Cp1252ToUtf8(motor.name.view()) + ": " + SourceOf(better ? motor : kept) +
                               " genommen, " + SourceOf(left) + " nicht (" +
                               (Doubtful(left)
                                    ? "Daten fraglich: " + Cp1252ToUtf8(ReadMotorDetails(left)->dataCheck)
                                    : std::string("andere Daten, die erste Datei zählt")) +
                               ")");
      if (better) kept = motor;
      continue;
    }
    index.add(key, known + fresh.size());
    ownOf.push_back(same.empty() ? std::string() : out.motors[same.front()].name.str());
    fresh.push_back(motor);
  }

  std::vector<MotorIdentity> identities, others;
  std::set<std::string> taken;
  for (const MotorRecord& m : out.motors) {
    taken.insert(MotorNameKey(m.name.view()));
    if (KeyOf(m).details) others.push_back(IdentityOf(m));
  }
  for (const MotorRecord& m : fresh) identities.push_back(IdentityOf(m));
  const std::vector<std::string> names = NameMotors(identities, taken, others);
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    std::string name = fresh[i].name.str();  // a record without details keeps the name its file gave
    if (!ownOf[i].empty()) {
      // Beside the entry it differs from, under that entry's name.
      const std::string base = ownOf[i].substr(0, ownOf[i].find(kOwnVersion));
      for (int n = 1; n == 1 || taken.count(MotorNameKey(name)) > 0; ++n) {
        const std::string mark = std::string(kOwnVersion) + (n > 1 ? " " + std::to_string(n) : "") + ")";
        name = base.substr(0, ShortString<50>::kCapacity - std::min(mark.size(), base.size())) + mark;
      }
      out.ownVersions.push_back(Cp1252ToUtf8(name) + ": " + SourceOf(fresh[i]));
    } else if (KeyOf(fresh[i]).details) {
      name = names[i];
    }
    taken.insert(MotorNameKey(name));
    fresh[i].name = ShortString<50>(name);
  }
  for (const auto& [motor, at] : twins)
    out.twins.push_back(
        FileMotor(motor) + " = " +
        Cp1252ToUtf8(at < known ? out.motors[at].name.view() : fresh[at - known].name.view()));
  out.added = fresh.size();
  std::move(fresh.begin(), fresh.end(), std::back_inserter(out.motors));
  return out;
}

std::string ImportSummary(const MergedDatabase& merged, const MotorImport& import) {
  const std::size_t own = merged.ownVersions.size();
  const std::size_t total = merged.added + merged.twins.size() + merged.passedOver.size();
  std::string text = std::to_string(total) + (total == 1 ? " Motor" : " Motoren") +
                     " gelesen: " + std::to_string(merged.added - own) + " neu, " +
                     std::to_string(merged.twins.size()) + " schon vorhanden (gleiche Daten), " +
                     std::to_string(own) + " als eigene Fassung neben dem vorhandenen";
  if (!merged.passedOver.empty())
    text += ", " + std::to_string(merged.passedOver.size()) + " mehrfach (eine Datei genommen)";
  if (import.refused > 0) text += ", " + std::to_string(import.refused) + " abgelehnt";
  return text;
}

}  // namespace komet
