// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/calculator_dialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <string>

namespace komet {
namespace {

constexpr int kDisplayDigits = 12;

double Apply(double a, QChar op, double b) {
  switch (op.unicode()) {
    case '+':
      return a + b;
    case '-':
      return a - b;
    case '*':
      return a * b;
    case '/':
      return b == 0.0 ? 0.0 : a / b;  // a pocket calculator shows no infinity
  }
  return b;
}

}  // namespace

std::optional<double> ParseFieldNumber(const QString& text, QChar decimalSeparator) {
  QString t = text.trimmed();
  if (t.startsWith(QLatin1Char('+'))) t.remove(0, 1);
  if (decimalSeparator != QLatin1Char('.')) {
    if (t.contains(QLatin1Char('.'))) return std::nullopt;
    t.replace(decimalSeparator, QLatin1Char('.'));
  }
  const std::string s = t.toStdString();
  double v = 0.0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

CalculatorDialog::CalculatorDialog(QChar decimalSeparator, QWidget* parent)
    : QDialog(parent), decimalSeparator_(decimalSeparator) {
  setWindowTitle(QStringLiteral("Rechner"));
  setObjectName(QStringLiteral("RxCalculator1"));
  display_ = new QLineEdit(this);
  display_->setObjectName(QStringLiteral("display"));
  display_->setAlignment(Qt::AlignRight);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(display_);
  // Typing continues the number on the display like the keys do.
  connect(display_, &QLineEdit::textEdited, this, [this] { startNew_ = false; });
  createKeys();
  display(0.0);
}

void CalculatorDialog::createKeys() {
  auto* grid = new QGridLayout;
  static const char* const kKeys[5][4] = {{"C", "±", "/", "*"},
                                          {"7", "8", "9", "-"},
                                          {"4", "5", "6", "+"},
                                          {"1", "2", "3", "="},
                                          {"0", ",", "OK", "Abbruch"}};
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 4; ++c) {
      QString key = QString::fromUtf8(kKeys[r][c]);
      if (key == QLatin1String(",")) key = decimalSeparator_;
      auto* button = new QPushButton(key, this);
      button->setObjectName(QStringLiteral("key_") + key);
      button->setAutoDefault(false);
      grid->addWidget(button, r, c);
      connect(button, &QPushButton::clicked, this, [this, key] {
        if (key == QLatin1String("OK"))
          accept();
        else if (key == QLatin1String("Abbruch"))
          reject();
        else if (key == QLatin1String("C"))
          clearClick();
        else if (key == QStringLiteral("±"))
          negateClick();
        else if (key.size() == 1 && QStringLiteral("+-*/=").contains(key[0]))
          operatorClick(key[0]);
        else
          digitClick(key);
      });
      if (key == QLatin1String("OK")) button->setDefault(true);
    }
  }
  static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void CalculatorDialog::setValue(double value) {
  value_ = value;
  accumulator_ = 0.0;
  pending_ = QChar();
  display(value);
}

bool CalculatorDialog::Run() {
  display_->setFocus();
  display_->selectAll();
  return exec() == QDialog::Accepted;
}

void CalculatorDialog::accept() {
  operatorClick(QLatin1Char('='));
  value_ = displayed();
  QDialog::accept();
}

void CalculatorDialog::digitClick(const QString& digit) {
  QString text = startNew_ || display_->text() == QLatin1String("0") ? QString() : display_->text();
  if (digit == decimalSeparator_ && text.contains(decimalSeparator_)) return;
  if (digit == decimalSeparator_ && text.isEmpty()) text = QStringLiteral("0");
  display_->setText(text + digit);
  startNew_ = false;
}

void CalculatorDialog::operatorClick(QChar op) {
  const double operand = displayed();
  accumulator_ = pending_.isNull() ? operand : Apply(accumulator_, pending_, operand);
  display(accumulator_);
  pending_ = op == QLatin1Char('=') ? QChar() : op;
}

void CalculatorDialog::clearClick() {
  accumulator_ = 0.0;
  pending_ = QChar();
  display(0.0);
}

void CalculatorDialog::negateClick() {
  const bool keepEntry = !startNew_;
  display(-displayed());
  startNew_ = !keepEntry;
}

double CalculatorDialog::displayed() const {
  return ParseFieldNumber(display_->text(), decimalSeparator_).value_or(0.0);
}

void CalculatorDialog::display(double v) {
  QString text = QString::number(v, 'g', kDisplayDigits);
  text.replace(QLatin1Char('.'), decimalSeparator_);
  display_->setText(text);
  startNew_ = true;
}

}  // namespace komet
