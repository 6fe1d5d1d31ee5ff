// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/t_about.h"

#include <QLabel>
#include <QtTest>

using namespace komet;

class TAboutTest : public QObject {
  Q_OBJECT

 private slots:
  // The box states the licence, and every line of it fits the box on the
  // smallest screen the program supports.
  void ShowsTheLicenceWhole() {
    TAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const auto* licence = about.findChild<QLabel*>(QStringLiteral("Licence"));
    QVERIFY(licence != nullptr);
    QVERIFY(licence->text().contains(QStringLiteral("GPLv3+")));
    QVERIFY(licence->text().contains(QStringLiteral("Copyright")));
    const QRect r = licence->contentsRect();
    for (const QString& line : licence->text().split('\n'))
      QVERIFY2(licence->fontMetrics().horizontalAdvance(line) <= r.width(), qPrintable(line));
    QVERIFY(licence->fontMetrics().lineSpacing() * licence->text().count('\n') < r.height());
    QVERIFY(about.frameGeometry().width() <= 1024 && about.frameGeometry().height() <= 768);
  }
};

QTEST_MAIN(TAboutTest)
#include "t_about_test.moc"
