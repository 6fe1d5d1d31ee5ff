#include "app/qt/qt_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/qt/t_form6.h"

namespace komet {
namespace {

const QString kRocketFilter = QStringLiteral("Komet Dateien (*.kmw)");

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
  return Choose(false);
}

std::optional<std::filesystem::path> QtPrompts::ChooseSaveFile() {
  return Choose(true);
}

std::optional<std::filesystem::path> QtPrompts::Choose(bool save) {
  QFileDialog dialog(&parent_, save ? QStringLiteral("Rakete sichern") : QStringLiteral("Rakete laden"),
                     lastFolder_, kRocketFilter);
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
