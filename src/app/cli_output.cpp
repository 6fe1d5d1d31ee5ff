// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <span>

#include "common/file_io.h"
#include "common/komet_error.h"

namespace komet {

void WriteCliOutput(const std::filesystem::path& path, const std::string& text, std::ostream& out) {
  if (path == "-") {
    out << text;
    out.flush();
    if (!out) throw StandardOutputFailed{};
    return;
  }
  try {
    WriteFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  } catch (const KometError& e) {
    throw KometError(e.kind(), path.string() + ": " + e.what(), e.code());
  }
}

FdOutputBuffer::FdOutputBuffer(int fd) : fd_(fd), lineBuffered_(::isatty(fd) == 1) {
  setp(buffer_, buffer_ + sizeof buffer_);
}

FdOutputBuffer::~FdOutputBuffer() {
  Drain();
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type ch) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  *pptr() = traits_type::to_char_type(ch);
  pbump(1);
  return ch;
}

std::streamsize FdOutputBuffer::xsputn(const char* text, std::streamsize n) {
  const std::streamsize put = std::streambuf::xsputn(text, n);
  if (lineBuffered_ && std::memchr(text, '\n', static_cast<std::size_t>(put)) != nullptr && !Drain())
    return 0;
  return put;
}

int FdOutputBuffer::sync() {
  return Drain() ? 0 : -1;
}

bool FdOutputBuffer::Drain() {
  if (error_ == 0 && pptr() > pbase()) {
    try {
      WriteAll(fd_, std::span(reinterpret_cast<const std::uint8_t*>(pbase()),
                              static_cast<std::size_t>(pptr() - pbase())));
    } catch (const KometError& e) {
      error_ = e.code() != 0 ? e.code() : EIO;
    }
  }
  setp(buffer_, buffer_ + sizeof buffer_);
  return error_ == 0;
}

int FinishOutput(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (out) return status;
  const auto* fdOut = dynamic_cast<const FdOutputBuffer*>(out.rdbuf());
  const int code = fdOut != nullptr ? fdOut->error() : 0;
  if (code != EPIPE)
    err << "komet-sim: Standardausgabe: "
        << (code != 0 ? KometError::FromErrno(code).what() : "konnte nicht geschrieben werden") << '\n';
  return 2;
}

}  // namespace komet
