// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <ostream>
#include <streambuf>
#include <string>

namespace komet {

// Thrown when standard output took no more: the command stops there, and
// FinishOutput says why.
struct StandardOutputFailed {};

// Writes a command-line result: to `out` for "-", flushed and checked
// (StandardOutputFailed), else the whole file at once through
// WriteFileAtomically. Throws KometError "PATH: reason".
void WriteCliOutput(const std::filesystem::path& path, const std::string& text, std::ostream& out);

// Standard output as komet-sim writes it: every write checked, and the
// error number of the first that failed kept for the message. A terminal
// gets each line as it is written.
class FdOutputBuffer final : public std::streambuf {
 public:
  explicit FdOutputBuffer(int fd);
  ~FdOutputBuffer() override;
  FdOutputBuffer(const FdOutputBuffer&) = delete;
  FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;

  // The errno of the failed write, 0 while none failed.
  int error() const { return error_; }

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize n) override;
  int sync() override;

 private:
  bool Drain();

  int fd_;
  bool lineBuffered_;
  int error_ = 0;
  char buffer_[8192];
};

// The end of a command: flushes `out` and, when what was written to it did
// not all arrive, says so with the reason on `err` and returns 2; else
// `status`. A reader who closed the pipe wants no more and gets no message.
int FinishOutput(std::ostream& out, std::ostream& err, int status);

}  // namespace komet
