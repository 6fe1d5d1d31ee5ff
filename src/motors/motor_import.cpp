// SPDX-License-Identifier: GPL-3.0-or-later
#include "motors/motor_import.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <system_error>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/motor_database.h"
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

// Maker and designation, the same for every file of one motor; none for a
// record without details.
std::optional<std::string> MotorIdentityKey(const MotorRecord& m) {
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  if (!d || d->designation.empty()) return std::nullopt;
  return MotorNameKey(CanonicalMakerName(d->maker)) + '\n' + MotorNameKey(d->designation);
}

MotorIdentity IdentityOf(const MotorRecord& m) {
  const MotorDetails d = ReadMotorDetails(m).value_or(MotorDetails{});
  return {d.commonName, d.designation.empty() ? m.name.str() : d.designation, d.maker};
}

bool Doubtful(const MotorRecord& m) {
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  return d && !d->dataCheck.empty();
}

std::string SourceOf(const MotorRecord& m) {
  const std::optional<MotorDetails> d = ReadMotorDetails(m);
  return Cp1252ToUtf8(d && !d->source.empty() ? d->source : m.name.str());
}

// One entry per motor of an import; which file was kept, and why, in `twins`.
std::vector<MotorRecord> OnePerMotor(std::span<const MotorRecord> imported, std::vector<std::string>& twins) {
  std::vector<MotorRecord> out;
  std::map<std::string, std::size_t> seen;
  for (const MotorRecord& m : imported) {
    const std::optional<std::string> key = MotorIdentityKey(m);
    const auto it = key ? seen.find(*key) : seen.end();
    if (it == seen.end()) {
      if (key) seen.emplace(*key, out.size());
      out.push_back(m);
      continue;
    }
    MotorRecord& kept = out[it->second];
    const bool better = Doubtful(kept) && !Doubtful(m);
    const MotorRecord& left = better ? kept : m;
    twins.push_back(Cp1252ToUtf8(m.name.view()) + ": " + SourceOf(better ? m : kept) + " genommen, " +
                    SourceOf(left) + " nicht (" +
                    (better || Doubtful(left)
                         ? "Daten fraglich: " + Cp1252ToUtf8(ReadMotorDetails(left)->dataCheck)
                         : std::string("gleicher Motor, die erste Datei zählt")) +
                    ")");
    if (better) kept = m;
  }
  return out;
}

}  // namespace

MergedDatabase MergeMotors(std::vector<MotorRecord> database, std::span<const MotorRecord> imported) {
  MergedDatabase out;
  out.motors = std::move(database);
  std::vector<MotorRecord> fresh;
  for (MotorRecord& motor : OnePerMotor(imported, out.twins)) {
    const std::optional<std::string> key = MotorIdentityKey(motor);
    const auto same = std::find_if(out.motors.begin(), out.motors.end(), [&](const MotorRecord& m) {
      if (m.deletedMark != 0) return false;
      const std::optional<std::string> other = MotorIdentityKey(m);
      return key && other ? *key == *other : CompareMotorNames(m.name.view(), motor.name.view()) == 0;
    });
    if (same != out.motors.end()) {
      out.replaced.push_back(motor.name.str());
      motor.name = same->name;  // the rockets that fly it find it by that name
      *same = motor;
      continue;
    }
    // Records without details of one name: the later one counts, as in a database.
    const auto twin = std::find_if(fresh.begin(), fresh.end(), [&](const MotorRecord& m) {
      return !key && !MotorIdentityKey(m) && CompareMotorNames(m.name.view(), motor.name.view()) == 0;
    });
    if (twin != fresh.end()) {
      out.replaced.push_back(motor.name.str());
      *twin = motor;
    } else {
      fresh.push_back(motor);
    }
  }
  std::vector<MotorIdentity> identities, others;
  std::set<std::string> taken;
  for (const MotorRecord& m : out.motors) {
    taken.insert(m.name.str());
    if (MotorIdentityKey(m)) others.push_back(IdentityOf(m));
  }
  for (const MotorRecord& m : fresh) identities.push_back(IdentityOf(m));
  const std::vector<std::string> names = NameMotors(identities, taken, others);
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    // A record without details keeps the name its file gave.
    if (MotorIdentityKey(fresh[i])) fresh[i].name = ShortString<50>(names[i]);
    out.motors.push_back(fresh[i]);
    ++out.added;
  }
  return out;
}

std::string ImportSummary(const MergedDatabase& merged, const MotorImport& import) {
  const std::size_t total = merged.added + merged.replaced.size();
  std::string text = std::to_string(total) + (total == 1 ? " Motor" : " Motoren") + " importiert (" +
                     std::to_string(merged.added) + " neu, " + std::to_string(merged.replaced.size()) +
                     " ersetzt)";
  if (import.refused > 0) text += ", " + std::to_string(import.refused) + " abgelehnt";
  return text;
}

}  // namespace komet
