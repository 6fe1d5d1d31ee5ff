// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/qt/plot_export.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <memory>

#include "common/qt/qpainter_canvas.h"
#include "model/rocket_file.h"
#include "plot/synthetic_flight.h"
#include "print/qt/report_export.h"
#include "sim/simulation.h"

using namespace komet;

namespace {

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  return n;
}

int NonWhite(const QImage& image) {
  return image.width() * image.height() - CountPixels(image, qRgb(255, 255, 255));
}

}  // namespace

class PlotExportTest : public QObject {
  Q_OBJECT

 private slots:
  void pngHasTheSizeAndTheCurves() {
    auto flight = testing::MakeSyntheticFlight();
    const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
    PlotState st;
    const QImage image =
        QImage::fromData(RenderPlotPng({flight.view(), sw, {3, 5, 0, 0}, '.'}, st, QSize(800, 500)), "PNG");
    QCOMPARE(image.size(), QSize(800, 500));
    QVERIFY(NonWhite(image) > 5000);
    QCOMPARE(image.pixel(45, 10) & 0xFFFFFF, 0u);          // the value axis
    QVERIFY(CountPixels(image, qRgb(0, 0, 255)) > 100);    // acceleration
    QVERIFY(CountPixels(image, qRgb(0, 128, 128)) > 100);  // burnout line
    QVERIFY(CountPixels(image, qRgb(128, 0, 0)) > 100);    // delay lines
  }

  void realFlightRenders() {
    RocketRecord base;
    InitRakete(base);
    const auto file = ReadRocketFile(KOMET_SOURCE_DIR "/examples/rockets/einstufig_c6.kmw", base);
    QVERIFY(file.isRocket());
    RocketRecord rocket = file.record;
    auto sim = std::make_unique<Simulation>();
    sim->RunSimulation(rocket, FixedConstants{});
    QVERIFY(sim->results().resultsValid);
    QVERIFY(sim->results().maxHeight > 10.0);
    const PlotSwitches sw;
    PlotState st;
    const QImage image =
        RenderPlotImage({MakeFlightView(*sim), sw, MainMotorDelays(rocket), ','}, st, QSize(639, 351));
    QCOMPARE(image.size(), QSize(639, 351));
    QVERIFY(CountPixels(image, qRgb(0, 0, 128)) > 100);  // apogee lines
    QVERIFY(st.scaleX > 0.0 && st.scaleY > 0.0);

    QCOMPARE(RenderReportPdf(MakeFlightView(*sim), rocket, sw, "09.12.2026 14:03:00").left(4),
             QByteArray("%PDF"));
  }

  void pdfOfASyntheticFlight() {
    auto flight = testing::MakeSyntheticFlight();
    RocketRecord rocket;
    InitRakete(rocket);
    const PlotSwitches sw = *ParseCurves("hvaSF,brenn");
    const QByteArray pdf = RenderReportPdf(flight.view(), rocket, sw, "01.01.2027 00:00:00", '.');
    QCOMPARE(pdf.left(4), QByteArray("%PDF"));
    QVERIFY(pdf.size() > 2000);

    flight.results.resultsValid = false;
    QVERIFY(RenderReportPdf(flight.view(), rocket, sw, "", '.').isEmpty());
  }

  void svgIsWritten() {
    auto flight = testing::MakeSyntheticFlight();
    const PlotSwitches sw;
    PlotState st;
    const QByteArray svg = RenderPlotSvg({flight.view(), sw}, st, QSize(639, 351));
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("639"));
  }

  void badSizesFail() {
    auto flight = testing::MakeSyntheticFlight();
    const PlotSwitches sw;
    PlotState st;
    const PlotInputs in{flight.view(), sw};
    QVERIFY(RenderPlotPng(in, st, QSize(0, 10)).isEmpty());
    QVERIFY(RenderPlotPng(in, st, QSize(kMaxExportSide + 1, 10)).isEmpty());
    QVERIFY(RenderPlotSvg(in, st, QSize(10, 0)).isEmpty());
    QCOMPARE(QImage::fromData(RenderPlotPng(in, st, QSize(1, 1)), "PNG").size(), QSize(1, 1));
  }

  // Text stands with its top-left corner at the given point; the origin dot
  // of a wide pen is drawn although its line has no length.
  void canvasTextAndDot() {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.SetFont(Font{"Arial", 0.0, 11, kBlack, false});
    canvas.TextOut(50, 40, "Hg");
    canvas.SetPen({kBlack, 5, PenStyle::Solid});
    canvas.MoveTo(150, 50);
    canvas.LineTo(150, 50);
    painter.end();
    int top = image.height(), left = image.width();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < 120; ++x)
        if (image.pixel(x, y) != qRgb(255, 255, 255)) top = std::min(top, y), left = std::min(left, x);
    QVERIFY2(top >= 40 && top <= 44, qPrintable(QString::number(top)));
    QVERIFY(left >= 50 && left <= 52);
    // A round dot five pixels across: rows of 3, 5, 5, 5 and 3 pixels.
    QStringList rows;
    for (int y = 46; y <= 54; ++y) {
      QString row;
      for (int x = 146; x <= 154; ++x) row += image.pixel(x, y) == qRgb(0, 0, 0) ? '#' : '.';
      rows << row;
    }
    QCOMPARE(rows, QStringList({".........", ".........", "...###...", "..#####..", "..#####..", "..#####..",
                                "...###...", ".........", "........."}));
  }
};

QTEST_MAIN(PlotExportTest)
#include "plot_export_test.moc"
