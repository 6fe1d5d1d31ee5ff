// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;

namespace komet {

// A field's text as a number with the given decimal separator: blanks
// around it are allowed, nothing else. Nothing for any other text.
std::optional<double> ParseFieldNumber(const QString& text, QChar decimalSeparator);

// The small pocket calculator of the area fields: it edits one number with
// the four basic operations and returns it when confirmed.
class CalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  // Numbers are shown and typed with the given decimal separator.
  explicit CalculatorDialog(QChar decimalSeparator, QWidget* parent = nullptr);

  // Presets the display; clears any pending operation.
  void setValue(double value);
  // The number on the display (after OK: the finished calculation).
  double value() const { return value_; }
  // Shows the calculator modally; true when confirmed with OK.
  bool Run();

 public slots:
  // OK: finishes a pending operation and keeps the result as the value.
  void accept() override;

 private:
  void createKeys();
  void digitClick(const QString& digit);
  void operatorClick(QChar op);  // + - * / or = to finish
  void clearClick();
  void negateClick();
  double displayed() const;
  void display(double v);

  QChar decimalSeparator_;
  QLineEdit* display_ = nullptr;
  double value_ = 0.0;
  double accumulator_ = 0.0;
  QChar pending_;          // operation waiting for its second operand; null = none
  bool startNew_ = false;  // the next digit starts a new number
};

}  // namespace komet
