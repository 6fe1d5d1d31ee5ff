// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "common/komet_error.h"

namespace komet {
namespace {

// The write fault a test has set; `armed` keeps the lock off the usual path.
std::atomic<bool> faultArmed{false};
std::mutex faultMutex;
WriteFault fault;
int writesSeen = 0;

// The error a sync or close meets, 0 for none.
int FaultAt(WriteFault::At at) {
  if (!faultArmed.load(std::memory_order_relaxed)) return 0;
  const std::lock_guard lock(faultMutex);
  return fault.at == at ? fault.err : 0;
}

ssize_t SystemWrite(int fd, const void* data, std::size_t size) {
  if (faultArmed.load(std::memory_order_relaxed)) {
    const std::lock_guard lock(faultMutex);
    if (fault.at == WriteFault::At::Write && ++writesSeen == fault.nth && fault.partial > 0) {
      size = std::min(size, fault.partial);
    } else if (fault.at == WriteFault::At::Write && writesSeen >= fault.nth && fault.err != 0) {
      errno = fault.err;
      return -1;
    }
  }
  return ::write(fd, data, size);
}

int SystemSync(int fd) {
  if (const int err = FaultAt(WriteFault::At::Sync)) {
    errno = err;
    return -1;
  }
  return ::fsync(fd);
}

int SystemClose(int fd) {
  const int result = ::close(fd);
  if (const int err = FaultAt(WriteFault::At::Close); result == 0 && err != 0) {
    errno = err;
    return -1;
  }
  return result;
}

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

void WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = SystemWrite(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw KometError::FromErrno(errno);
    }
    done += static_cast<std::size_t>(n);
  }
}

namespace {

// A device or a pipe cannot be replaced by a renamed file, and must not be:
// it is written where it is.
void WriteInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.get() < 0) throw KometError::FromErrno(errno);
  WriteAll(fd.get(), bytes);
  if (SystemClose(fd.release()) != 0) throw KometError::FromErrno(errno);
}

}  // namespace

StagedFile::StagedFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes)
    : target_(target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) {
      inPlace_.assign(bytes.begin(), bytes.end());
      return;
    }
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
      std::filesystem::path resolved = std::filesystem::canonical(target, ec);
      if (!ec) target_ = std::move(resolved);
    }
  }
  std::string tmpl = target_.string() + ".XXXXXX";
  Fd fd(::mkstemp(tmpl.data()));
  if (fd.get() < 0) throw KometError::FromErrno(errno);
  temporary_ = tmpl;
  // Nothing is renamed unless every step before said it worked.
  try {
    WriteAll(fd.get(), bytes);
    if (SystemSync(fd.get()) != 0) throw KometError::FromErrno(errno);
    TakeOverRights(target_, temporary_);
    if (SystemClose(fd.release()) != 0) throw KometError::FromErrno(errno);
  } catch (const KometError&) {
    ::unlink(temporary_.c_str());
    throw;
  }
}

StagedFile::~StagedFile() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void StagedFile::Commit() {
  if (temporary_.empty()) return WriteInPlace(target_, inPlace_);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) throw KometError::FromErrno(errno);
  temporary_.clear();
  // The rename itself reaches the disk with its directory; where the file
  // system cannot sync a directory the rename stands all the same.
  if (const int dir = ::open(target_.parent_path().empty() ? "." : target_.parent_path().c_str(),
                             O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  StagedFile(target, bytes).Commit();
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

void SetWriteFault(const WriteFault& f) {
  const std::lock_guard lock(faultMutex);
  fault = f;
  writesSeen = 0;
  faultArmed = f.nth > 0 || f.at != WriteFault::At::Write;
}

}  // namespace komet
