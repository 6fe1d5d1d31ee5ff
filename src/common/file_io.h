// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cerrno>
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
// temporary file in the same directory, every write, the sync and the close
// confirmed, then renamed over the target. A link stays a link: the file it
// names is replaced. A target that is no regular file (a device, a pipe) is
// written directly, every write and the close checked. Throws KometError with
// the German reason; the old file stays intact then.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// WriteFileAtomically in two steps, for files that belong together: each
// is written and synced beside its target first, and only when all of them
// are there do they replace their targets (Commit, a rename each). Destroyed
// without Commit it leaves its target as it was. A target that is no
// regular file is written at Commit. Both steps throw KometError.
class StagedFile {
 public:
  StagedFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  void Commit();

 private:
  std::filesystem::path target_, temporary_;
  std::vector<std::uint8_t> inPlace_;
};

// Writes all bytes to an open file, going on after a short write. Throws
// KometError with the reason of the write that failed.
void WriteAll(int fd, std::span<const std::uint8_t> bytes);

// A file about to replace `target` gets the rights of the file it replaces,
// or the usual ones (0666 less the umask) when there is none: a temporary
// file is private.
void TakeOverRights(const std::filesystem::path& target, const std::filesystem::path& replacement);

// For tests: the disk as it looks when it fills up under this file's
// writers. Counted from the call on, the `nth` write (1 = the next) gets only
// `partial` bytes through and every later write fails with `err`; with `err`
// 0 the write is merely short. With `at` Sync or Close the writes go through
// and every sync or close fails instead. A default fault (nth 0) is a
// healthy disk again.
struct WriteFault {
  enum class At { Write, Sync, Close };
  int nth = 0;
  std::size_t partial = 0;
  int err = ENOSPC;
  At at = At::Write;
};
void SetWriteFault(const WriteFault& fault);

}  // namespace komet
