// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace komet {

// Reads at most maxBytes from the start of a file. Throws KometError with the
// German reason when the file cannot be opened or read.
std::vector<std::uint8_t> ReadFilePrefix(const std::filesystem::path& path, std::size_t maxBytes);

// Reads the bytes [offset, offset + size) of a file; fewer at its end. Throws
// KometError when the file cannot be opened, positioned or read.
std::vector<std::uint8_t> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset,
                                        std::size_t size);

// Writes a whole file so that it is either the new content or untouched: a
// temporary file in the same directory, flushed, then renamed over the target.
// Throws KometError with the German reason; the old file stays intact then.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// A file about to replace `target` gets the rights of the file it replaces,
// or the usual ones (0666 less the umask) when there is none: a temporary
// file is private.
void TakeOverRights(const std::filesystem::path& target, const std::filesystem::path& replacement);

}  // namespace komet
