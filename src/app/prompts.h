// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace komet {

enum class SaveAnswer { Ok, No, Cancel };

// How the document's commands talk to the user. The window layer answers
// with message boxes and file dialogs; tests answer from a script.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // The three-way save question ("&OK", "&Nein", "&Abbrechen").
  virtual SaveAnswer AskSave(const std::string& question) = 0;
  // The path above "Datei  existiert bereits, überschreiben?"; true only for OK.
  virtual bool AskOverwrite(const std::filesystem::path& path) = 0;
  // File dialogs for rocket files; nothing when cancelled. The save dialog
  // starts from `suggestion`: a folder and a name, or a bare name for a
  // rocket that has no folder yet.
  virtual std::optional<std::filesystem::path> ChooseOpenFile() = 0;
  virtual std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& suggestion) = 0;
  // A failure the user must know of, and a warning after which work goes on.
  virtual void ShowError(const std::string& message) = 0;
  virtual void ShowWarning(const std::string& message) = 0;
};

// The windows the commands open: the modal stage dialog and the notes window.
class DocumentViews {
 public:
  virtual ~DocumentViews() = default;
  // Shows the stage dialog modally; true when it was closed with OK.
  virtual bool ShowStageDialog() = 0;
  // Gives the notes window a text (Windows-1252); its editor is refilled.
  // The window hands edited notes back through Document::SetNotizen.
  virtual void SetNotes(const std::string& notes) = 0;
  // The empty rocket was made: forget plot scales and the summary line.
  virtual void RocketReset() = 0;
  // Whether the notes window holds typed text that was never applied.
  virtual bool NotesPending() const { return false; }
  // Applies that text as the notes window's "Übernehmen" does.
  virtual void ApplyPendingNotes() {}
};

}  // namespace komet
