// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/write_beside.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

#include "common/file_io.h"
#include "common/qt/qt_text.h"

namespace komet {

void WriteBeside(const std::filesystem::path& target, const std::function<bool(const QString&)>& render,
                 const std::function<KometError(const WriteFailure&)>& error) {
  const QString name = ToQ(target.string());
  const QFileInfo info(name);
  QTemporaryFile temp(info.absoluteDir().filePath(info.fileName() + QStringLiteral(".XXXXXX")));
  if (!temp.open()) throw error({WriteFailure::Step::Create, temp.errorString()});
  temp.close();
  if (!render(temp.fileName())) throw error({WriteFailure::Step::Render, {}});
  const QByteArray from = QFile::encodeName(temp.fileName());
  TakeOverRights(target, from.constData());
  if (std::rename(from.constData(), QFile::encodeName(name).constData()) != 0) {
    const int err = errno;
    throw error({WriteFailure::Step::Rename, QString::fromUtf8(KometError::FromErrno(err).what()), err});
  }
  temp.setAutoRemove(false);
}

}  // namespace komet
