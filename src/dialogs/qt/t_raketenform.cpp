// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_raketenform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/format.h"
#include "common/qt/qpainter_canvas.h"
#include "common/qt/qt_text.h"
#include "dialogs/qt/widget_row.h"
#include "plot/shape_drawing.h"

namespace komet {

// The side drawing of the shape the fields describe.
class ShapeView : public QWidget {
 public:
  explicit ShapeView(QWidget* parent) : QWidget(parent) { setMinimumHeight(110); }
  void Show(std::optional<RocketShape> shape, ShapeMarks marks) {
    shape_ = std::move(shape);
    marks_ = marks;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!shape_) return;
    QPainterCanvas canvas(painter);
    DrawRocketSide(canvas, *shape_, 4, 4, width() - 8, height() - 8, marks_);
  }

 private:
  std::optional<RocketShape> shape_;
  ShapeMarks marks_;
};

namespace {

constexpr int kNumberFieldWidth = 70;

// A row of labelled number fields.
QWidget* FieldRow(QWidget* parent, std::initializer_list<std::pair<const char*, QLineEdit*>> fields) {
  const WidgetRow row = MakeWidgetRow(parent);
  for (const auto& [text, field] : fields) {
    auto* label = new QLabel(QString::fromUtf8(text), row.box);
    label->setBuddy(field);
    row.layout->addWidget(label);
    row.layout->addWidget(field);
  }
  row.layout->addStretch(1);
  return row.box;
}

}  // namespace

TRaketenform::TRaketenform(const ShapeForm& form, ShapeContext context, char decimalSeparator,
                           QWidget* parent)
    : QDialog(parent), form_(form), context_(std::move(context)), decimalSeparator_(decimalSeparator) {
  setWindowTitle(QStringLiteral("Form der Rakete"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  Stufen = new QTabWidget(this);
  Stufen->setObjectName(QStringLiteral("Stufen"));
  for (int i = 0; i < form_.stageCount; ++i) {
    const QString title = i == 0 ? QStringLiteral("&Hauptstufe") : QStringLiteral("Stufe &%1").arg(i + 1);
    Stufen->addTab(createStagePage(i), title);
  }
  layout->addWidget(Stufen);
  Zeichnung = new ShapeView(this);
  layout->addWidget(Zeichnung, 1);
  Werte = new QLabel(this);
  Werte->setObjectName(QStringLiteral("Werte"));
  Werte->setWordWrap(true);
  layout->addWidget(Werte);
  auto* note =
      new QLabel(QStringLiteral("Schwerpunkt und Druckpunkt in mm von der Spitze; der cw-Wert aus der Form "
                                "ist eine Schätzung (gemessene Werte weichen oft 10 bis 30 % ab)."),
                 this);
  note->setWordWrap(true);
  note->setForegroundRole(QPalette::PlaceholderText);
  layout->addWidget(note);
  layout->addWidget(createButtons());
  showForm();
  updateFigures();
}

QLineEdit* TRaketenform::numberField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setFixedWidth(kNumberFieldWidth);
  connect(field, &QLineEdit::textEdited, this, &TRaketenform::updateFigures);
  return field;
}

QWidget* TRaketenform::createStagePage(int stage) {
  StagePage& p = pages_[static_cast<std::size_t>(stage)];
  auto* page = new QWidget(Stufen);
  auto* grid = new QVBoxLayout(page);
  auto combo = [&](QStringList items) {
    auto* box = new QComboBox(page);
    box->addItems(items);
    connect(box, &QComboBox::currentIndexChanged, this, &TRaketenform::updateFigures);
    return box;
  };
  auto check = [&](const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text), page);
    connect(box, &QCheckBox::toggled, this, &TRaketenform::updateFigures);
    return box;
  };
  const QString diameter =
      Format(decimalSeparator_, "%.1f", form_.diameters[static_cast<std::size_t>(stage)] * 1000).c_str();
  if (stage == 0) {
    p.noseShape = combo({QStringLiteral("Kegel"), QStringLiteral("Ogive"), QStringLiteral("Parabel")});
    p.noseLength = numberField(page);
    const WidgetRow nose = MakeWidgetRow(page);
    auto* label = new QLabel(QStringLiteral("&Spitze:"), nose.box);
    label->setBuddy(p.noseShape);
    nose.layout->addWidget(label);
    nose.layout->addWidget(p.noseShape);
    nose.layout->addWidget(FieldRow(nose.box, {{"Länge:", p.noseLength}}));
    grid->addWidget(nose.box);
  }
  p.bodyLength = numberField(page);
  grid->addWidget(FieldRow(page, {{"&Rohrlänge:", p.bodyLength}}));
  grid->itemAt(grid->count() - 1)
      ->widget()
      ->layout()
      ->addWidget(new QLabel(QStringLiteral("Durchmesser %1 mm (aus den Stufendaten)").arg(diameter), page));

  p.hasFins = check("&Flossen");
  p.finCount = combo({QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("6")});
  for (auto& f : p.fins) f = numberField(page);
  const WidgetRow finHead = MakeWidgetRow(page);
  finHead.layout->addWidget(p.hasFins);
  finHead.layout->addWidget(new QLabel(QStringLiteral("Anzahl:"), finHead.box));
  finHead.layout->addWidget(p.finCount);
  finHead.layout->addStretch(1);
  grid->addWidget(finHead.box);
  grid->addWidget(
      FieldRow(page, {{"Wurzeltiefe:", p.fins[0]}, {"Endtiefe:", p.fins[1]}, {"Spannweite:", p.fins[2]}}));
  grid->addWidget(
      FieldRow(page, {{"Pfeilung:", p.fins[3]}, {"Dicke:", p.fins[4]}, {"vor dem Rohrende:", p.fins[5]}}));

  p.hasTransition = check("Ü&bergang nach dem Rohr");
  p.transitionLength = numberField(page);
  p.aftDiameter = numberField(page);
  const WidgetRow transition = MakeWidgetRow(page);
  transition.layout->addWidget(p.hasTransition);
  transition.layout->addWidget(
      FieldRow(transition.box, {{"Länge:", p.transitionLength}, {"hinterer Durchmesser:", p.aftDiameter}}));
  grid->addWidget(transition.box);

  for (auto& m : p.mount) m = numberField(page);
  grid->addWidget(FieldRow(
      page,
      {{"&Motorhalterung Durchmesser:", p.mount[0]}, {"Länge:", p.mount[1]}, {"Überstand:", p.mount[2]}}));

  p.estimateCg = check("Schwerpunkt s&chätzen");
  p.emptyCg = numberField(page);
  p.finish = combo({QStringLiteral("glatt"), QStringLiteral("lackiert"), QStringLiteral("rau")});
  const WidgetRow cg = MakeWidgetRow(page);
  cg.layout->addWidget(FieldRow(cg.box, {{"Schwerpunkt der leeren Stufe ab ihrer Oberkante:", p.emptyCg}}));
  cg.layout->addWidget(p.estimateCg);
  grid->addWidget(cg.box);
  const WidgetRow finish = MakeWidgetRow(page);
  auto* finishLabel = new QLabel(QStringLiteral("&Oberfläche:"), finish.box);
  finishLabel->setBuddy(p.finish);
  finish.layout->addWidget(finishLabel);
  finish.layout->addWidget(p.finish);
  finish.layout->addWidget(new QLabel(QStringLiteral("alle Längen in mm"), finish.box));
  finish.layout->addStretch(1);
  grid->addWidget(finish.box);
  grid->addStretch(1);
  return page;
}

QWidget* TRaketenform::createButtons() {
  const WidgetRow row = MakeWidgetRow(this);
  CwUebernehmen = new QPushButton(QStringLiteral("c&w aus der Form übernehmen"), row.box);
  CwUebernehmen->setObjectName(QStringLiteral("CwUebernehmen"));
  CwUebernehmen->setCheckable(true);
  connect(CwUebernehmen, &QPushButton::clicked, this, &TRaketenform::CwClick);
  row.layout->addWidget(CwUebernehmen);
  row.layout->addStretch(1);
  const OkCancelRow buttons = MakeOkCancelRow(row.box);
  BitBtn1 = buttons.ok;
  BitBtn2 = buttons.cancel;
  connect(BitBtn1, &QPushButton::clicked, this, &TRaketenform::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
  row.layout->addWidget(buttons.box);
  return row.box;
}

void TRaketenform::showForm() {
  for (int i = 0; i < form_.stageCount; ++i) {
    const ShapeStageForm& f = form_.stages[static_cast<std::size_t>(i)];
    StagePage& p = pages_[static_cast<std::size_t>(i)];
    if (p.noseShape) {
      p.noseShape->setCurrentIndex(f.noseShape);
      p.noseLength->setText(ToQ(f.noseLength));
    }
    p.bodyLength->setText(ToQ(f.bodyLength));
    p.hasFins->setChecked(f.hasFins);
    p.finCount->setCurrentIndex(f.finCountIndex);
    const std::array<const std::string*, 6> fins{&f.rootChord, &f.tipChord,  &f.span,
                                                 &f.sweep,     &f.thickness, &f.fromAft};
    for (std::size_t k = 0; k < fins.size(); ++k) p.fins[k]->setText(ToQ(*fins[k]));
    p.hasTransition->setChecked(f.hasTransition);
    p.transitionLength->setText(ToQ(f.transitionLength));
    p.aftDiameter->setText(ToQ(f.aftDiameter));
    p.mount[0]->setText(ToQ(f.mountDiameter));
    p.mount[1]->setText(ToQ(f.mountLength));
    p.mount[2]->setText(ToQ(f.overhang));
    p.estimateCg->setChecked(f.estimateCg);
    p.emptyCg->setText(ToQ(f.emptyCg));
    p.finish->setCurrentIndex(f.finish);
  }
}

ShapeForm TRaketenform::shownForm() const {
  ShapeForm form = form_;
  for (int i = 0; i < form.stageCount; ++i) {
    ShapeStageForm& f = form.stages[static_cast<std::size_t>(i)];
    const StagePage& p = pages_[static_cast<std::size_t>(i)];
    if (p.noseShape) {
      f.noseShape = p.noseShape->currentIndex();
      f.noseLength = ToStd(p.noseLength->text());
    }
    f.bodyLength = ToStd(p.bodyLength->text());
    f.hasFins = p.hasFins->isChecked();
    f.finCountIndex = p.finCount->currentIndex();
    const std::array<std::string*, 6> fins{&f.rootChord, &f.tipChord,  &f.span,
                                           &f.sweep,     &f.thickness, &f.fromAft};
    for (std::size_t k = 0; k < fins.size(); ++k) *fins[k] = ToStd(p.fins[k]->text());
    f.hasTransition = p.hasTransition->isChecked();
    f.transitionLength = ToStd(p.transitionLength->text());
    f.aftDiameter = ToStd(p.aftDiameter->text());
    f.mountDiameter = ToStd(p.mount[0]->text());
    f.mountLength = ToStd(p.mount[1]->text());
    f.overhang = ToStd(p.mount[2]->text());
    f.estimateCg = p.estimateCg->isChecked();
    f.emptyCg = ToStd(p.emptyCg->text());
    f.finish = p.finish->currentIndex();
  }
  return form;
}

void TRaketenform::updateFigures() {
  for (const StagePage& p : pages_) {
    if (!p.bodyLength) continue;
    for (QLineEdit* f : p.fins) f->setEnabled(p.hasFins->isChecked());
    p.finCount->setEnabled(p.hasFins->isChecked());
    p.transitionLength->setEnabled(p.hasTransition->isChecked());
    p.aftDiameter->setEnabled(p.hasTransition->isChecked());
    p.emptyCg->setEnabled(!p.estimateCg->isChecked());
  }
  const ShapeTake take = TakeShape(shownForm());
  estimate_.reset();
  if (!take.shape) {
    Zeichnung->Show(std::nullopt, {});
    Werte->setText(ToQ(take.problem));
    CwUebernehmen->setEnabled(false);
    return;
  }
  const ShapeFigures figures = FiguresOf(*take.shape, context_);
  Zeichnung->Show(take.shape, {figures.stability.cg, figures.stability.cp});
  Werte->setText(ToQ(ShapeFiguresText(figures, context_, decimalSeparator_)));
  estimate_ = figures.drag.total();
  CwUebernehmen->setEnabled(true);
}

void TRaketenform::CwClick() {
  updateFigures();
}

void TRaketenform::BitBtn1Click() {
  const ShapeTake take = TakeShape(shownForm());
  if (!take.shape) {
    Stufen->setCurrentIndex(take.stage);
    QMessageBox::warning(this, windowTitle(), ToQ(take.problem));
    return;
  }
  shape_ = take.shape;
  if (CwUebernehmen->isChecked() && estimate_) takenCw_ = estimate_;
  accept();
}

bool TRaketenform::Run() {
  return exec() == QDialog::Accepted;
}

}  // namespace komet
