// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli_output.h"

#include <cstdint>
#include <ostream>
#include <span>

#include "common/file_io.h"
#include "common/komet_error.h"

namespace komet {

void WriteCliOutput(const std::filesystem::path& path, const std::string& text, std::ostream& out) {
  if (path == "-") {
    out << text;
    return;
  }
  try {
    WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  } catch (const KometError& e) {
    throw KometError(e.kind(), path.string() + ": " + e.what(), e.code());
  }
}

}  // namespace komet
