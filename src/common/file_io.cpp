// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

#include "common/komet_error.h"

namespace komet {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

Fd OpenForReading(const std::filesystem::path& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw KometError::FromErrno(errno);
  return fd;
}

// The buffer grows as the file gives bytes: a generous limit (16 MiB for a
// motor file) must not cost a buffer of that size for every small file.
std::vector<std::uint8_t> ReadUpTo(int fd, std::size_t maxBytes) {
  constexpr std::size_t kFirstChunk = 64 * 1024;
  std::vector<std::uint8_t> data(std::min(maxBytes, kFirstChunk));
  std::size_t got = 0;
  while (got < maxBytes) {
    if (got == data.size()) data.resize(std::min(maxBytes, 2 * data.size()));
    const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw KometError::FromErrno(errno);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  data.resize(got);
  return data;
}

}  // namespace

std::vector<std::uint8_t> ReadFilePrefix(const std::filesystem::path& path, std::size_t maxBytes) {
  Fd fd = OpenForReading(path);
  return ReadUpTo(fd.get(), maxBytes);
}

std::vector<std::uint8_t> ReadFileRange(const std::filesystem::path& path, std::uint64_t offset,
                                        std::size_t size) {
  Fd fd = OpenForReading(path);
  if (::lseek(fd.get(), static_cast<off_t>(offset), SEEK_SET) < 0) throw KometError::FromErrno(errno);
  return ReadUpTo(fd.get(), size);
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::string tmpl = path.string() + ".XXXXXX";
  Fd fd(::mkstemp(tmpl.data()));
  if (fd.get() < 0) throw KometError::FromErrno(errno);
  const std::filesystem::path tmp = tmpl;
  auto fail = [&](int err) {
    ::unlink(tmp.c_str());
    return KometError::FromErrno(err);
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) throw fail(errno);
  TakeOverRights(path, tmp);
  if (::close(fd.release()) != 0) throw fail(errno);
  if (::rename(tmp.c_str(), path.c_str()) != 0) throw fail(errno);
}

void TakeOverRights(const std::filesystem::path& target, const std::filesystem::path& replacement) {
  struct stat old {};
  mode_t mode = 0;
  if (::stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::chmod(replacement.c_str(), mode);
}

}  // namespace komet
