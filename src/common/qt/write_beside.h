// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "common/komet_error.h"

namespace komet {

// Where writing a file beside its target went wrong, and why: Qt's reason
// when the temporary file cannot be made, the system's error number when it
// cannot be renamed.
struct WriteFailure {
  enum class Step { Create, Render, Rename };
  Step step;
  QString reason;
  int err = 0;
};

// Writes a file through `render`, which draws it into the path it is given:
// a temporary file beside `target`, renamed over it only when `render`
// returns true, so a failed write leaves an older file whole. The new file
// keeps the rights of the one it replaces. Throws what `error` makes of a
// failure; the temporary file is gone then.
void WriteBeside(const std::filesystem::path& target, const std::function<bool(const QString&)>& render,
                 const std::function<KometError(const WriteFailure&)>& error);

}  // namespace komet
