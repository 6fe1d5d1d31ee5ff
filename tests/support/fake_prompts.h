// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace komet::testing {

// Answers from a script, and as cancelled once the script is used up;
// records what was asked and shown.
struct ScriptedPrompts : Prompts {
  std::deque<SaveAnswer> saveAnswers;
  std::deque<bool> overwriteAnswers;
  std::deque<std::optional<std::filesystem::path>> openChoices, saveChoices;
  std::vector<std::string> asked, errors, warnings;

  SaveAnswer AskSave(const std::string& q) override {
    asked.push_back(q);
    return Pop(saveAnswers, SaveAnswer::Cancel);
  }
  bool AskOverwrite(const std::filesystem::path& p) override {
    asked.push_back("overwrite " + p.string());
    return Pop(overwriteAnswers, false);
  }
  std::optional<std::filesystem::path> ChooseOpenFile() override { return Pop(openChoices, {}); }
  std::vector<std::filesystem::path> saveSuggestions;  // what each save dialog offered
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& suggestion) override {
    saveSuggestions.push_back(suggestion);
    return Pop(saveChoices, {});
  }
  void ShowError(const std::string& m) override { errors.push_back(m); }
  void ShowWarning(const std::string& m) override { warnings.push_back(m); }

  template <typename T>
  static T Pop(std::deque<T>& q, T fallback) {
    if (q.empty()) return fallback;
    T v = q.front();
    q.pop_front();
    return v;
  }
};

// The stage dialog answers through `stageDialog` (OK unless told); the
// notes window is a string.
struct FakeViews : DocumentViews {
  std::function<bool()> stageDialog = [] { return true; };
  std::string notes;
  bool notesPending = false;                 // typed in the notes window, not applied
  std::function<void()> applyNotes = [] {};  // what its "Übernehmen" does
  int resets = 0, dialogs = 0;
  bool ShowStageDialog() override {
    ++dialogs;
    return stageDialog();
  }
  void SetNotes(const std::string& n) override { notes = n; }
  void RocketReset() override { ++resets; }
  bool NotesPending() const override { return notesPending; }
  void ApplyPendingNotes() override { applyNotes(); }
};

}  // namespace komet::testing
