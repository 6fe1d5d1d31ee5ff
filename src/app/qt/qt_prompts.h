// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "app/prompts.h"

class QWidget;

namespace komet {

class TForm6;

// The document's questions and messages as the desktop program asks them:
// the save prompt TForm6, file dialogs for rocket files and message boxes.
class QtPrompts final : public Prompts {
 public:
  // Both windows outlive the prompts.
  QtPrompts(QWidget& parent, TForm6& form6);

  SaveAnswer AskSave(const std::string& question) override;
  bool AskOverwrite(const std::filesystem::path& path) override;
  std::optional<std::filesystem::path> ChooseOpenFile() override;
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& suggestion) override;
  void ShowError(const std::string& message) override;
  void ShowWarning(const std::string& message) override;

  // The folder the open dialog starts in: that of the last chosen file.
  const QString& lastFolder() const { return lastFolder_; }

 private:
  std::optional<std::filesystem::path> Choose(bool save, const QString& start);

  QWidget& parent_;
  TForm6& form6_;
  QString lastFolder_;
};

// A rocket file name as chosen: without an extension it gets ".kmw".
QString WithRocketExtension(const QString& path);

}  // namespace komet
