// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "motors/motor_search.h"

class QComboBox;

namespace komet {

// Typing into a motor list: the list becomes editable, and a completer over
// its own items shows those the typed text finds, as rocketeers type it
// ("C6-5", "Estes D12-0"; see MotorQuery), or, before the keys are set,
// those containing it (any case). Choosing
// from them, or typing a whole name, selects that item; any other text is
// never a selection: leaving the field or Escape puts back the selected
// item's name, and an empty text offers the whole list again. Item indices
// stay the motor list's. Return takes the highlighted or the only match and
// never reaches the dialog's default button while the user is choosing.
class MotorListSearch : public QObject {
  Q_OBJECT

 public:
  // Lives as long as `combo`, which it is parented to.
  explicit MotorListSearch(QComboBox* combo);

  // What each item is found by, one key per item in list order; shared by
  // the lists of one dialog.
  void setSearchKeys(std::shared_ptr<const std::vector<MotorSearchKey>> keys);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool typing() const;  // the field shows other text than the selected item
  void restoreText();
  void showWholeList();
  void search(const QString& text);
  // Return: the highlighted row of the popup, else the one match there is.
  // False when the text names no single motor.
  bool takeMatch();

  QComboBox* combo_;
  class QueryProxy* proxy_ = nullptr;
};

}  // namespace komet
