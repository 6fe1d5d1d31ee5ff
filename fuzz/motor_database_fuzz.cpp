// SPDX-License-Identifier: GPL-3.0-or-later
// A motor database file: listed, sorted, matched against a rocket whose
// slots name some of its motors, and read record by record.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "dialogs/motor_match.h"
#include "fuzz_support.h"
#include "motors/curve_viewer.h"
#include "motors/eng_import.h"
#include "motors/motor_database.h"
#include "motors/motor_record.h"
#include "support/recording_canvas.h"

namespace komet::fuzz {
namespace {

// What the list must be, straight from the bytes: every whole record whose
// deleted mark is 0, in file order.
MotorList ExpectedList(std::span<const std::uint8_t> file) {
  MotorList list;
  const std::size_t records = file.size() / MotorRecord::kSize;
  for (std::size_t n = 0; n < records; ++n) {
    const auto record = file.subspan(n * MotorRecord::kSize, MotorRecord::kSize);
    if (record[motor_layout::kDeletedMark] != 0) continue;
    const std::size_t length = std::min<std::size_t>(record[motor_layout::kName], 50);
    const MotorRecord motor = DecodeMotorRecord(record);
    list.push_back({std::string(record.begin() + motor_layout::kName + 1,
                                record.begin() + motor_layout::kName + 1 + length),
                    static_cast<std::int32_t>(n), -1, MotorFlightKey(motor), ReadMotorDetails(motor),
                    TotalImpulse(motor)});
  }
  return list;
}

// Entries alike, the curve's impulse compared by its bits: a curve of
// garbage gives NaN, which equals nothing, not even itself.
bool SameEntries(const MotorList& a, const MotorList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    MotorListEntry x = a[i], y = b[i];
    if (std::bit_cast<std::uint64_t>(x.flownImpulse) != std::bit_cast<std::uint64_t>(y.flownImpulse))
      return false;
    x.flownImpulse = y.flownImpulse = 0.0;
    if (!(x == y)) return false;
  }
  return true;
}

void RequireSorted(const MotorList& sorted, MotorList unsorted) {
  Require(sorted.size() == unsorted.size(), "sorting lost or added entries");
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    Require(sorted[i].itemIndex == static_cast<std::int32_t>(i), "item index");
    if (i == 0) continue;
    const int order = CompareMotorNames(sorted[i - 1].name, sorted[i].name);
    Require(order <= 0, "list not sorted");
    // Records come in file order, so equal names keep ascending numbers.
    if (order == 0) Require(sorted[i - 1].recordNo < sorted[i].recordNo, "sort not stable");
  }
  auto byRecord = [](const MotorListEntry& a, const MotorListEntry& b) { return a.recordNo < b.recordNo; };
  MotorList again = sorted;
  std::sort(again.begin(), again.end(), byRecord);
  for (std::size_t i = 0; i < again.size(); ++i)
    Require(again[i].name == unsorted[i].name && again[i].recordNo == unsorted[i].recordNo,
            "sorting is no permutation");
}

// Slots named after entries of the list, some in other case, some with
// count 0, so that matching has something to find and to skip.
RocketRecord RocketNaming(const MotorList& list, std::span<const std::uint8_t> file) {
  RocketRecord rocket;
  InitRakete(rocket);
  for (std::size_t i = 0; i < kMotorListCount && !list.empty(); ++i) {
    std::string name = list[(i * 7) % list.size()].name;
    if (i % 2 == 1)
      for (char& c : name) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    StageRecord& stage = rocket.stages[i / kSlotCount];
    stage.motors[i % kSlotCount].name.assign(name);
    stage.counts[i % kSlotCount] = (file.size() + i) % 4 == 0 ? 0 : static_cast<std::int32_t>(i % 3) + 1;
  }
  return rocket;
}

void RequireMatches(const MotorList& sorted, const RocketRecord& rocket) {
  const MotorSelections selected = MatchRocketMotors(sorted, rocket);
  for (std::size_t i = 0; i < kMotorListCount; ++i) {
    const StageRecord& stage = rocket.stages[i / kSlotCount];
    const std::string_view slotName = stage.motors[i % kSlotCount].name.view();
    // Of the entries of its name the last equal to the stored copy, else the
    // last of its name; without one, the last equal to the copy.
    int byName = -1, exact = -1, sameFlight = -1;
    const std::uint64_t key = MotorFlightKey(stage.motors[i % kSlotCount]);
    for (std::size_t k = 0; k < sorted.size(); ++k) {
      const bool same = sorted[k].flightKey == key;
      if (same) sameFlight = static_cast<int>(k);
      if (CompareMotorNames(sorted[k].name, slotName) != 0) continue;
      byName = static_cast<int>(k);
      if (same) exact = static_cast<int>(k);
    }
    const int expected = stage.counts[i % kSlotCount] <= 0 ? -1
                         : exact >= 0                      ? exact
                         : byName >= 0                     ? byName
                                                           : sameFlight;
    Require(selected[i] == expected, "slot not matched to the motor it was built with");
  }
}

void RequireRecords(const MotorList& list, const std::filesystem::path& db,
                    std::span<const std::uint8_t> file) {
  for (const MotorListEntry& e : list) {
    MotorRecord m;
    Require(ReadMotorRecord(db, e.recordNo, m), "listed record not readable");
    Require(m.name.str() == e.name && m.deletedMark == 0, "record read is not the one listed");
    std::vector<std::uint8_t> bytes(MotorRecord::kSize);
    EncodeMotorRecord(m, bytes);
    Require(std::equal(bytes.begin(), bytes.end(), file.begin() + e.recordNo * MotorRecord::kSize),
            "record bytes not kept");
    Require(CurvePointCount(m) >= 1 && CurvePointCount(m) <= MotorRecord::kCurvePoints, "curve points");
    // The curve viewer draws whatever the record holds.
    testing::RecordingCanvas canvas;
    const std::string caption = PaintMotorCurve(canvas, 260, 210, m, e.recordNo, ',');
    Require(caption == Cp1252ToUtf8(m.name.view()), "viewer caption is not the motor's name");
    for (const auto& c : canvas.calls)
      for (int v : {c.x, c.y, c.x0, c.y0})
        Require(v >= -kCanvasCoordinateLimit && v <= kCanvasCoordinateLimit, "curve drawn off every canvas");
  }
  const auto records = static_cast<std::int32_t>(file.size() / MotorRecord::kSize);
  MotorRecord untouched;
  untouched.name.assign("unverändert");
  const MotorRecord before = untouched;
  for (std::int32_t n : {records, records + 1, -1, INT32_MAX, INT32_MIN}) {
    Require(!ReadMotorRecord(db, n, untouched), "record beyond the end read");
    Require(untouched == before, "failed read changed the slot");
  }
}

}  // namespace
}  // namespace komet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace komet;
  const std::span<const std::uint8_t> file(data, size);
  const auto& db = fuzz::WriteScratchFile("motoren.kdb", file);
  const MotorList read = ReadMotorList(db);
  const MotorList expected = fuzz::ExpectedList(file);
  fuzz::Require(fuzz::SameEntries(read, expected), "list differs from the records in the file");
  MotorList sorted = read;
  SortMotorList(sorted);
  fuzz::RequireSorted(sorted, read);
  fuzz::RequireMatches(sorted, fuzz::RocketNaming(sorted, file));
  fuzz::RequireRecords(sorted, db, file);
  return 0;
}
