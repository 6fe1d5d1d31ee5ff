// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>

#include "model/rocket_record.h"

namespace komet {

// What a rocket file held.
struct RocketFileContent {
  RocketRecord record;
  std::size_t bytesRead = 0;  // at most RocketRecord::kSize; bytes beyond are ignored

  bool complete() const { return bytesRead == RocketRecord::kSize; }
  bool isRocket() const { return HasRocketMagic(record); }
};

// Reads a rocket file over `base`: the bytes the file has replace the
// beginning of the record, the rest stays as `base` holds it (so a short
// file loads). Throws KometError when the file cannot be opened or read.
RocketFileContent ReadRocketFile(const std::filesystem::path& path, const RocketRecord& base);

// Writes the record's 26932 bytes. The old file is replaced only once the new
// one is completely written; throws KometError with the reason otherwise.
void SaveRocketFile(const std::filesystem::path& path, const RocketRecord& rocket);

}  // namespace komet
