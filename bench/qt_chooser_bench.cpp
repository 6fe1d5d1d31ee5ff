// SPDX-License-Identifier: GPL-3.0-or-later
// Filtering the motor chooser's table on a key press: 3,000 motors (the
// bundled catalogue three times over), sorted by impulse as a user might
// leave it, the search text growing and shrinking as one types.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <array>
#include <memory>

#include "dialogs/motor_filter.h"
#include "dialogs/qt/motor_filter_proxy.h"
#include "dialogs/qt/motor_table_model.h"
#include "dialogs/qt/t_motorwahl.h"
#include "motors/motor_database.h"
#include "qt_bench_support.h"

namespace {

using namespace komet;

constexpr std::size_t kMotors = 3000;
// One key press each: typing "g40w", deleting it again.
constexpr std::array<const char*, 8> kTyped{"g", "g4", "g40", "g40w", "g40", "g4", "g", ""};

void EnsureApplication() {
  bench::EnsureApplication<QApplication>("qt_chooser_bench");
}

std::vector<MotorRow> ThreeThousandRows() {
  const std::filesystem::path db = KOMET_SOURCE_DIR "/catalogue/motoren.kdb";
  MotorList list = ReadMotorList(db);
  SortMotorList(list);
  const std::vector<MotorRow> catalogue = ReadMotorRows(db, list);
  std::vector<MotorRow> rows;
  for (int copy = 1; rows.size() < kMotors; ++copy)
    for (const MotorRow& r : catalogue) {
      if (rows.size() == kMotors) break;
      rows.push_back(r);
      rows.back().facts.name += " #" + std::to_string(copy);
    }
  return rows;
}

// The table's filter alone: the proxy over the model, as the view sees it.
void BM_ChooserFilterKeyPress(benchmark::State& state) {
  EnsureApplication();
  MotorTableModel model(ThreeThousandRows(), ',');
  MotorFilterProxy proxy;
  proxy.setSourceModel(&model);
  proxy.sort(MotorTableModel::Impulse, Qt::AscendingOrder);
  std::size_t key = 0;
  for (auto _ : state) {
    MotorFilter f;
    f.SetText(kTyped[key++ % kTyped.size()]);
    proxy.setFilter(std::move(f));
    benchmark::DoNotOptimize(proxy.rowCount());
  }
  state.counters["rows"] = static_cast<double>(model.rowCount());
}
BENCHMARK(BM_ChooserFilterKeyPress)->Apply(bench::RepeatedInMilliseconds<5>);

// The whole dialog's answer to a key in its search field: filter, count
// label, selection kept, curve, with the table view attached.
void BM_ChooserDialogKeyPress(benchmark::State& state) {
  EnsureApplication();
  TMotorwahl chooser(ThreeThousandRows(), {}, 10, ',');
  chooser.findChild<QTableView*>("Tabelle")->sortByColumn(MotorTableModel::Impulse, Qt::AscendingOrder);
  auto* search = chooser.findChild<QLineEdit*>("Suche");
  std::size_t key = 0;
  for (auto _ : state) search->setText(QString::fromLatin1(kTyped[key++ % kTyped.size()]));
}
BENCHMARK(BM_ChooserDialogKeyPress)->Apply(bench::RepeatedInMilliseconds<5>);

// Opening the chooser over the bundled catalogue: one read of the database
// and the table with its column widths.
void BM_ChooserOpenCatalogue(benchmark::State& state) {
  EnsureApplication();
  const std::filesystem::path db = KOMET_SOURCE_DIR "/catalogue/motoren.kdb";
  MotorList list = ReadMotorList(db);
  SortMotorList(list);
  for (auto _ : state) {
    TMotorwahl chooser(ReadMotorRows(db, list), {24, 100}, 10, ',');
    benchmark::DoNotOptimize(chooser.selectedIndex());
  }
  state.counters["motors"] = static_cast<double>(list.size());
}
BENCHMARK(BM_ChooserOpenCatalogue)->Apply(bench::RepeatedInMilliseconds<5>);

}  // namespace
