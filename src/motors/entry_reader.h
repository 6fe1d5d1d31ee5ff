// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "motors/eng_import.h"
#include "motors/import_result.h"

namespace komet {

// What the .eng and .rse readers share: the entry being read, the result,
// and diagnostics that name the file. An error rejects the entry being read.
template <class Entry>
class EntryReader {
 protected:
  explicit EntryReader(std::string_view fileName) : fileName_(fileName) {}

  void error(int line, std::string message) {
    if (entry_) entry_->rejected = true;
    out_.problems.push_back({fileName_, line, std::move(message), false});
  }
  void warn(int line, std::string message) {
    out_.problems.push_back({fileName_, line, std::move(message), true});
  }

  // Adds the entry's motor, a thinned curve's warning at `line`.
  void storeMotor(int line, const MotorDetails& details) {
    EntryMotor motor = FinishEntry(std::move(*entry_), details, fileName_);
    if (!motor.thinnedNote.empty()) warn(line, motor.thinnedNote);
    if (!motor.doubt.empty()) warn(line, "Daten fraglich: " + motor.doubt);
    out_.motors.push_back(motor.record);
  }

  std::string fileName_;
  std::optional<Entry> entry_;  // set while one is read
  MotorImport out_;
};

}  // namespace komet
