// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/qt_translation.h"

#include <QAbstractSpinBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace komet;

namespace {

QStringList MenuTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  delete menu;
  return texts;
}

}  // namespace

// The texts Qt itself shows in the program's windows, as a German user
// reads them.
class QtTranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
      QSKIP("Qt's German translation is not installed");
    QVERIFY(InstallGermanQtTranslation(*QCoreApplication::instance()));
  }

  void fileDialogsSpeakGerman() {
    QFileDialog dialog(nullptr, QString(), QDir::tempPath(), QStringLiteral("Komet Dateien (*.kmw)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QCOMPARE(dialog.findChild<QLabel*>("lookInLabel")->text(), QStringLiteral("Suchen in:"));
    QCOMPARE(dialog.findChild<QLabel*>("fileNameLabel")->text(), QStringLiteral("Datei&name:"));
    QCOMPARE(dialog.findChild<QLabel*>("fileTypeLabel")->text(), QStringLiteral("Dateien des Typs:"));
    auto* box = dialog.findChild<QDialogButtonBox*>("buttonBox");
    QCOMPARE(box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(box->button(QDialogButtonBox::Save)->text(), QStringLiteral("S&peichern"));
  }

  void contextMenusOfEditFieldsAndSpinBoxesSpeakGerman() {
    QLineEdit edit(QStringLiteral("Text"));
    const QStringList editMenu = MenuTexts(edit.createStandardContextMenu());
    QVERIFY2(editMenu.filter("Rückgängig").size() == 1, qPrintable(editMenu.join('|')));
    QVERIFY2(editMenu.filter("Alles auswählen").size() == 1, qPrintable(editMenu.join('|')));

    // A spin box adds its steps to the edit field's menu when it is shown.
    QSpinBox spin;
    spin.setRange(0, 20);
    QCOMPARE(QAbstractSpinBox::tr("&Step up"), QStringLiteral("&Inkrementieren"));
    QVERIFY(QAbstractSpinBox::tr("Step &down") != QStringLiteral("Step &down"));
  }
};

QTEST_MAIN(QtTranslationTest)
#include "qt_translation_test.moc"
