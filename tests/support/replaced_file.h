// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/file_bytes.h"

namespace komet::testing {

// An older file that a writer is to replace, watched through a hard link:
// a writer that truncates or rewrites the file in place changes what the
// link shows, one that writes beside it and renames leaves it alone.
class ReplacedFile {
 public:
  ReplacedFile(const std::filesystem::path& file, const std::string& content, mode_t mode)
      : file_(file), link_(file.string() + ".old"), content_(content), mode_(mode) {
    std::ofstream(file_, std::ios::binary) << content_;
    ::chmod(file_.c_str(), mode_);
    std::filesystem::create_hard_link(file_, link_);
  }

  const std::filesystem::path& path() const { return file_; }

  // What the writer did wrong to the older file, or "" when it replaced it
  // properly.
  std::string Fault() const {
    struct stat now {};
    struct stat old {};
    if (::stat(file_.c_str(), &now) != 0) return "the file is gone";
    if (::stat(link_.c_str(), &old) != 0) return "the older file is gone";
    if (ReadText(link_) != content_) return "the older file was written in place";
    if (now.st_ino == old.st_ino) return "the file was not replaced";
    if ((now.st_mode & 07777) != mode_) return "the new file lost the older file's rights";
    return "";
  }

 private:
  std::filesystem::path file_;
  std::filesystem::path link_;
  std::string content_;
  mode_t mode_;
};

}  // namespace komet::testing
