#include "motors/motor_import.h"

#include <algorithm>
#include <system_error>

#include "common/file_io.h"
#include "common/komet_error.h"
#include "common/win1252.h"
#include "motors/motor_database.h"
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

MergedDatabase MergeMotors(std::vector<MotorRecord> database, std::span<const MotorRecord> imported) {
  MergedDatabase out;
  out.motors = std::move(database);
  for (const MotorRecord& motor : imported) {
    const auto same = std::find_if(out.motors.begin(), out.motors.end(), [&](const MotorRecord& m) {
      return m.deletedMark == 0 && CompareMotorNames(m.name.view(), motor.name.view()) == 0;
    });
    if (same != out.motors.end()) {
      *same = motor;
      out.replaced.push_back(motor.name.str());
    } else {
      out.motors.push_back(motor);
      ++out.added;
    }
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
