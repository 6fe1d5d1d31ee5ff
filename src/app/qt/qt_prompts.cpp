// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/qt/t_form6.h"
#include "common/qt/komet_settings.h"

namespace komet {
namespace {

const QString kRocketFilter = QStringLiteral("Komet Dateien (*.kmw)");

// Where a user keeps files, when no rocket has told us yet; never the folder
// the last motor import or export happened to use.
QString DocumentsFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

constexpr const char* kLastFolder = "Dateien/LetzterOrdner";

// The folder a rocket was last opened from or saved into, in this session or
// an earlier one; else the documents folder.
QString StartFolder(const QString& session) {
  if (!session.isEmpty()) return session;
  const QString saved = OpenKometSettings()->value(QLatin1String(kLastFolder)).toString();
  return !saved.isEmpty() && QFileInfo(saved).isDir() ? saved : DocumentsFolder();
}

}  // namespace

QtPrompts::QtPrompts(QWidget& parent, TForm6& form6) : parent_(parent), form6_(form6) {}

SaveAnswer QtPrompts::AskSave(const std::string& question) {
  form6_.SetLabel1(QString::fromStdString(question));
  return form6_.Ask();
}

bool QtPrompts::AskOverwrite(const std::filesystem::path& path) {
  form6_.SetLabel2(QString::fromStdString(path.string()));
  form6_.SetLabel1(QStringLiteral("Datei  existiert bereits, überschreiben?"));
  const SaveAnswer answer = form6_.Ask();
  form6_.SetLabel2(QStringLiteral(" "));
  return answer == SaveAnswer::Ok;
}

std::optional<std::filesystem::path> QtPrompts::ChooseOpenFile() {
  return Choose(false, StartFolder(lastFolder_));
}

std::optional<std::filesystem::path> QtPrompts::ChooseSaveFile(const std::filesystem::path& suggestion) {
  const QString name = QString::fromStdString(suggestion.string());
  return Choose(true,
                suggestion.has_parent_path() ? name : StartFolder(lastFolder_) + QLatin1Char('/') + name);
}

std::optional<std::filesystem::path> QtPrompts::Choose(bool save, const QString& start) {
  QFileDialog dialog(&parent_, save ? QStringLiteral("Rakete sichern") : QStringLiteral("Rakete laden"),
                     start, kRocketFilter);
  dialog.setObjectName(save ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The document asks about an existing file itself, with TForm6.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (save) dialog.setDefaultSuffix(QStringLiteral("kmw"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  QString chosen = dialog.selectedFiles().constFirst();
  if (save) chosen = WithRocketExtension(chosen);
  lastFolder_ = QFileInfo(chosen).absolutePath();
  OpenKometSettings()->setValue(QLatin1String(kLastFolder), lastFolder_);
  return std::filesystem::path(chosen.toStdString());
}

void QtPrompts::ShowError(const std::string& message) {
  QMessageBox::critical(&parent_, QStringLiteral("Komet"), QString::fromStdString(message));
}

void QtPrompts::ShowWarning(const std::string& message) {
  QMessageBox::warning(&parent_, QStringLiteral("Komet"), QString::fromStdString(message));
}

QString WithRocketExtension(const QString& path) {
  return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".kmw") : path;
}

}  // namespace komet
