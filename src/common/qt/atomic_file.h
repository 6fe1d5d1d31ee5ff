// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <cstdint>
#include <filesystem>
#include <span>

#include "common/file_io.h"

namespace komet {

// A picture or report rendered into memory, written as every file is: whole
// or not at all, the old file kept on failure. Throws KometError with the
// reason.
inline void WriteFileAtomically(const std::filesystem::path& path, const QByteArray& bytes) {
  WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      static_cast<std::size_t>(bytes.size())));
}

}  // namespace komet
