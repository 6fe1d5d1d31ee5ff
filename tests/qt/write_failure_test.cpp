// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures and reports on a disk that fills up: the older file keeps its
// bytes and the error says why.
#include <QDir>
#include <QtTest>
#include <cerrno>
#include <functional>

#include "app/qt/cli_exporter.h"
#include "common/file_io.h"
#include "common/komet_error.h"
#include "model/rocket_file.h"
#include "print/qt/print_commands.h"
#include "support/file_bytes.h"
#include "support/replaced_file.h"
#include "support/temp_dir.h"

using namespace komet;

class WriteFailureTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    RocketRecord empty;
    InitRakete(empty);
    rocket_ = ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", empty).record;
    sim_.RunSimulation(rocket_, FixedConstants{});
    QVERIFY(sim_.results().resultsValid);
  }

  void everyPictureAndReportKeepsTheOlderFile() {
    QtCliExporter exporter;
    using Kind = ExportRequest::Kind;
    auto picture = [&](Kind kind) {
      return [&, kind](const std::filesystem::path& p) {
        exporter.Export({kind, p}, sim_, sim_, rocket_, {});
      };
    };
    const std::pair<const char*, std::function<void(const std::filesystem::path&)>> writers[] = {
        {"flug.png", picture(Kind::Png)},
        {"flug.svg", picture(Kind::Svg)},
        {"flug.pdf", picture(Kind::Pdf)},
        {"bericht.pdf", [&](const auto& p) { SaveReportPdf(p, sim_, rocket_, {}); }},
    };
    for (const auto& [name, write] : writers) {
      testing::TempDir dir;
      const testing::ReplacedFile old(dir.path() / name, "alt", 0640);
      write(old.path());
      QVERIFY2(old.Fault().empty(), name);
      const std::vector<std::uint8_t> before = testing::ReadBytes(old.path());
      QVERIFY2(before.size() > 1000, name);
      for (const WriteFault& fault : {WriteFault{1, 0, ENOSPC}, WriteFault{1, 500, ENOSPC}}) {
        SetWriteFault(fault);
        QString message;
        try {
          write(old.path());
        } catch (const KometError& e) {
          message = QString::fromUtf8(e.what());
        }
        SetWriteFault({});
        QVERIFY2(message.contains("kein Platz mehr"), qPrintable(name + (": " + message)));
        QVERIFY2(testing::ReadBytes(old.path()) == before, name);
        QCOMPARE(QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files).size(), 2);
      }
    }
  }

  // Without a flight there is no report, and the older file stays.
  void noFlightNoReport() {
    testing::TempDir dir;
    const testing::ReplacedFile old(dir.path() / "leer.pdf", "alt", 0640);
    Simulation none;
    QtCliExporter exporter;
    QVERIFY_THROWS_EXCEPTION(
        KometError, exporter.Export({ExportRequest::Kind::Pdf, old.path()}, none, none, rocket_, {}));
    QCOMPARE(testing::ReadText(old.path()), std::string("alt"));
  }

 private:
  RocketRecord rocket_;
  Simulation sim_;
};

QTEST_MAIN(WriteFailureTest)
#include "write_failure_test.moc"
