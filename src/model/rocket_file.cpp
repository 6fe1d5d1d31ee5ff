// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/rocket_file.h"

#include <algorithm>
#include <vector>

#include "common/file_io.h"

namespace komet {

RocketFileContent ReadRocketFile(const std::filesystem::path& path, const RocketRecord& base) {
  const std::vector<std::uint8_t> file = ReadFilePrefix(path, RocketRecord::kSize);
  std::vector<std::uint8_t> bytes(RocketRecord::kSize);
  EncodeRocketRecord(base, bytes);
  std::copy(file.begin(), file.end(), bytes.begin());
  return {DecodeRocketRecord(bytes), file.size()};
}

void SaveRocketFile(const std::filesystem::path& path, const RocketRecord& rocket) {
  std::vector<std::uint8_t> bytes(RocketRecord::kSize);
  EncodeRocketRecord(rocket, bytes);
  WriteFileAtomically(path, bytes);
}

}  // namespace komet
