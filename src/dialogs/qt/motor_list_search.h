#pragma once

#include <QObject>

class QComboBox;

namespace komet {

// Typing into a motor list: the list becomes editable, and a completer over
// its own items shows those containing the typed text (any case). Choosing
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool typing() const;  // the field shows other text than the selected item
  void restoreText();
  void showWholeList();
  // Return: the highlighted row of the popup, else the one match there is.
  // False when the text names no single motor.
  bool takeMatch();

  QComboBox* combo_;
};

}  // namespace komet
