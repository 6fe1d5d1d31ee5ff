// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/system_locale.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace komet {
namespace {

// Qt's long time format names the time zone; a printout's time reads like a
// clock.
QString WithoutTimeZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    out += c;
  }
  return out.trimmed();
}

}  // namespace

char LocaleDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : '.';
}

QString PrintDateText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString PrintTimeText() {
  const QLocale locale = QLocale::system();
  return locale.toString(QTime::currentTime(), WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
}

std::string PrintDateTime() {
  return (PrintDateText() + QStringLiteral(", ") + PrintTimeText()).toStdString();
}

}  // namespace komet
