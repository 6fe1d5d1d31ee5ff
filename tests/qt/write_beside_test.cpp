// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/write_beside.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>
#include <cerrno>

#include "app/qt/cli_exporter.h"
#include "model/rocket_file.h"
#include "support/replaced_file.h"
#include "support/temp_dir.h"

using namespace komet;

namespace {

QStringList Listing(const std::filesystem::path& dir) {
  return QDir(QString::fromStdString(dir.string())).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool WriteText(const QString& path, const QByteArray& text) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// Runs a write and keeps the failure it reports, if any.
std::optional<WriteFailure> Write(const std::filesystem::path& target,
                                  std::function<bool(const QString&)> render) {
  std::optional<WriteFailure> failure;
  try {
    WriteBeside(target, render, [&](const WriteFailure& f) {
      failure = f;
      return KometError(KometError::Kind::Io, "x");
    });
  } catch (const KometError&) {
  }
  return failure;
}

}  // namespace

class WriteBesideTest : public QObject {
  Q_OBJECT

 private slots:
  void theOlderFileIsReplacedNotRewrittenAndKeepsItsRights() {
    for (const mode_t mode : {0640, 0604, 0600}) {
      testing::TempDir dir;
      const testing::ReplacedFile old(dir.path() / "bild.png", "alt", mode);
      QString drawnInto;
      const auto failure = Write(old.path(), [&](const QString& file) {
        drawnInto = file;
        return WriteText(file, "neu");
      });
      QVERIFY(!failure);
      QCOMPARE(QString::fromStdString(old.Fault()), QString());
      QCOMPARE(testing::ReadText(old.path()), std::string("neu"));
      // Beside the target, so the rename never crosses file systems.
      QCOMPARE(QFileInfo(drawnInto).absolutePath(), QString::fromStdString(dir.path().string()));
      QCOMPARE(Listing(dir.path()), (QStringList{"bild.png", "bild.png.old"}));
    }
  }

  // Every failure leaves the older file whole and no temporary behind.
  void failuresNameTheirStepAndLeaveTheOlderFile() {
    testing::TempDir dir;
    const testing::ReplacedFile old(dir.path() / "bericht.pdf", "alt", 0644);
    auto f = Write(old.path(), [](const QString& file) { return WriteText(file, "halb") && false; });
    QVERIFY(f && f->step == WriteFailure::Step::Render);

    f = Write(dir.path() / "fehlt" / "bericht.pdf", [](const QString&) { return true; });
    QVERIFY(f && f->step == WriteFailure::Step::Create && !f->reason.isEmpty());

    std::filesystem::create_directory(dir.path() / "ordner");
    std::filesystem::copy_file(old.path(), dir.path() / "ordner" / "inhalt");
    f = Write(dir.path() / "ordner", [](const QString& file) { return WriteText(file, "neu"); });
    QVERIFY(f && f->step == WriteFailure::Step::Rename);
    QCOMPARE(f->err, EISDIR);
    QCOMPARE(f->reason, QString::fromUtf8(KometError::FromErrno(EISDIR).what()));

    QCOMPARE(testing::ReadText(old.path()), std::string("alt"));
    QCOMPARE(Listing(dir.path()), (QStringList{"bericht.pdf", "bericht.pdf.old"}));
  }

  // komet-sim's pictures go through the same write.
  void theCommandLinePicturesReplaceBeside() {
    RocketRecord empty;
    InitRakete(empty);
    RocketRecord rocket = ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", empty).record;
    Simulation sim;
    sim.RunSimulation(rocket, FixedConstants{});
    testing::TempDir dir;
    QtCliExporter exporter;
    for (const auto kind : {ExportRequest::Kind::Png, ExportRequest::Kind::Svg, ExportRequest::Kind::Pdf}) {
      const testing::ReplacedFile old(dir.path() / ("flug" + std::to_string(static_cast<int>(kind))), "alt",
                                      0640);
      exporter.Export({kind, old.path()}, sim, rocket, PlotSwitches{});
      QCOMPARE(QString::fromStdString(old.Fault()), QString());
    }
    Simulation none;
    const testing::ReplacedFile old(dir.path() / "leer.pdf", "alt", 0640);
    QVERIFY_THROWS_EXCEPTION(KometError,
                             exporter.Export({ExportRequest::Kind::Pdf, old.path()}, none, rocket, {}));
    QCOMPARE(testing::ReadText(old.path()), std::string("alt"));
  }
};

QTEST_MAIN(WriteBesideTest)
#include "write_beside_test.moc"
