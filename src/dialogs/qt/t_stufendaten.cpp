// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_stufendaten.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/format.h"
#include "common/numbers.h"
#include "common/qt/qt_text.h"
#include "common/win1252.h"
#include "dialogs/motor_filter.h"
#include "dialogs/pending_edits.h"
#include "dialogs/qt/calculator_dialog.h"
#include "dialogs/qt/motor_list_search.h"
#include "dialogs/qt/motor_table_model.h"
#include "dialogs/qt/t_motorwahl.h"
#include "dialogs/qt/widget_row.h"
#include "dialogs/stage_fit.h"

namespace komet {
namespace {

constexpr QSize kClientSize(418, 350);
constexpr int kNotebookHeight = 297;
constexpr int kMaxNameLength = 50;
constexpr int kMaxMotorCount = 20;
constexpr int kNumberFieldWidth = 80;
constexpr int kFontPixels = 11;

// Names of the nine lists, as the user's forms have always called them.
constexpr const char* kListNames[kMotorListCount] = {"Motore1", "Motore2", "motore3", "Motore4", "motore5",
                                                     "motore6", "motore7", "motore8", "motore9"};
constexpr const char* kPageNames[kStageCount] = {"Hauptstufe", "Stufe 2", "Stufe 3"};

// The small dialog font the pages were laid out for.
QFont DialogFont() {
  QFont font;
  font.setFamilies(
      {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
  font.setPixelSize(kFontPixels);
  return font;
}

QString Numbered(const char* base, std::size_t n) {
  return QString::fromLatin1(base) + QString::number(n);
}

// The first motor row decides whether the stage exists; it stands out.
void MarkFirstRow(QWidget* w) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, Qt::yellow);
  p.setColor(QPalette::Button, Qt::yellow);
  w->setPalette(p);
}

QIcon PaintedIcon(void (*paint)(QPainter&)) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  paint(p);
  return QIcon(pixmap);
}

void PaintCurveIcon(QPainter& p) {
  p.setPen(Qt::black);
  p.drawLine(2, 1, 2, 14);
  p.drawLine(1, 14, 15, 14);
  p.setPen(QPen(Qt::red, 1.5));
  p.setRenderHint(QPainter::Antialiasing);
  p.drawPolyline(QPolygonF({{2, 14}, {4, 3}, {6, 9}, {11, 10}, {13, 14}}));
}

void PaintChooserIcon(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  p.setBrush(QColor(210, 230, 255));
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
}

void PaintCalculatorIcon(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(QColor(230, 230, 230));
  p.drawRect(2, 0, 11, 15);
  p.setBrush(QColor(180, 220, 180));
  p.drawRect(4, 2, 7, 3);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p.fillRect(4 + c * 3, 7 + r * 3, 2, 2, Qt::black);
}

// The small three-part rocket of a stage page: the page's part red, the
// parts of earlier pages lime, later ones white.
class StagePicture : public QWidget {
 public:
  StagePicture(int stage, QWidget* parent) : QWidget(parent), stage_(stage) {
    setObjectName(QStringLiteral("StagePicture"));
    setFixedSize(kWidth, kPartTop + kStageCount * kPartHeight + 14);
    auto* arrow = new QLabel(QStringLiteral("<-----"), this);
    arrow->setObjectName(QStringLiteral("arrow"));
    arrow->move(kBodyX + kBodyWidth + 4, kPartTop + stage * kPartHeight + kPartHeight / 2 - 8);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int part = 0; part < static_cast<int>(kStageCount); ++part) {
      const QColor fill = part == stage_ ? Qt::red : part < stage_ ? QColor(0, 255, 0) : Qt::white;
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(fill);
      p.drawPath(PartOutline(part));
      p.drawText(QRect(kBodyX, kPartTop + part * kPartHeight, kBodyWidth, kPartHeight), Qt::AlignCenter,
                 QString::number(part + 1));
    }
  }

 private:
  static constexpr int kWidth = 80;
  static constexpr int kBodyX = 6;
  static constexpr int kBodyWidth = 24;
  static constexpr int kPartTop = 26;  // room for the nose above part 1
  static constexpr int kPartHeight = 54;

  // Part 1 carries the rounded nose; part 3 the fins.
  static QPainterPath PartOutline(int part) {
    const double top = kPartTop + part * kPartHeight + 0.5, bottom = top + kPartHeight;
    const double l = kBodyX + 0.5, r = l + kBodyWidth, mid = (l + r) / 2;
    QPainterPath path;
    path.moveTo(l, bottom);
    if (part == 0) {
      path.lineTo(l, top);
      path.cubicTo(l, top - 14, mid - 4, top - 24, mid, top - 25);
      path.cubicTo(mid + 4, top - 24, r, top - 14, r, top);
    } else {
      path.lineTo(l, top);
      path.lineTo(r, top);
    }
    path.lineTo(r, bottom);
    if (part == static_cast<int>(kStageCount) - 1) {
      path.lineTo(r + 5, bottom + 12);
      path.lineTo(l - 5, bottom + 12);
    }
    path.closeSubpath();
    return path;
  }

  int stage_;
};

}  // namespace

TStufendaten::TStufendaten(StageForm& form, char decimalSeparator, QWidget* parent, PathSource database)
    : QDialog(parent), form_(form), decimalSeparator_(decimalSeparator), database_(std::move(database)) {
  setWindowTitle(QStringLiteral("Stufendaten"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientSize);
  setFont(DialogFont());
  QWidget* banner = createBanner();  // first, as first in the tab order
  TabbedNotebook1 = new QTabWidget(this);
  TabbedNotebook1->setObjectName(QStringLiteral("TabbedNotebook1"));
  TabbedNotebook1->setFixedHeight(kNotebookHeight);
  for (int s = 0; s < static_cast<int>(kStageCount); ++s)
    TabbedNotebook1->addTab(createStagePage(s), QString::fromUtf8(kPageNames[s]));
  RxCalculator1 = new CalculatorDialog(QLatin1Char(decimalSeparator_), this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->addWidget(banner);
  layout->addWidget(TabbedNotebook1);
  layout->addStretch(1);
  layout->addWidget(createButtons());
  showForm();
}

QWidget* TStufendaten::createStagePage(int stage) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setVerticalSpacing(4);
  addHeaderRows(grid, stage, page);
  grid->addWidget(createMotorGroup(stage, page), 2, 0, 1, 3);
  addAreaRows(grid, stage, page);
  grid->addWidget(new StagePicture(stage, page), 0, 3, 6, 1, Qt::AlignTop);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(2, 1);
  return page;
}

// The main stage names the rocket; the upper stages wait for their ignition.
void TStufendaten::addHeaderRows(QGridLayout* grid, int stage, QWidget* page) {
  auto field = [&](QLineEdit*& edit, const char* name, const char* caption, int row) {
    edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    grid->addWidget(new QLabel(QString::fromUtf8(caption), page), row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
  };
  if (stage == 0) {
    field(RakName, "RakName", "Name :", 0);
    RakName->setMaxLength(kMaxNameLength);
    ecwwert = new QLineEdit(page);
    ecwwert->setObjectName(QStringLiteral("ecwwert"));
    ecwwert->setFixedWidth(kNumberFieldWidth);
    grid->addWidget(new QLabel(QStringLiteral("cw-Wert :"), page), 1, 0);
    grid->addLayout(createCwRow(page), 1, 1, 1, 2);
    return;
  }
  QLineEdit*& delay = stage == 1 ? Verz1 : verz2;
  field(delay, stage == 1 ? "Verz1" : "verz2", "Verzögerung bis zur Zündung in sec :", 0);
  delay->setFixedWidth(kNumberFieldWidth);
  connect(delay, &QLineEdit::textChanged, this, &TStufendaten::showStability);
  grid->setAlignment(delay, Qt::AlignLeft);
  grid->setRowMinimumHeight(1, RakName->sizeHint().height());
}

// The recovery is reached beside the drag coefficient, in the room the row
// leaves up to the end of the name field: the button asks the layout for no
// room of its own, so that no other control moves.
QHBoxLayout* TStufendaten::createCwRow(QWidget* page) {
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  Bergung = new QToolButton(page);
  Bergung->setObjectName(QStringLiteral("Bergung"));
  Bergung->setText(QStringLiteral("&Bergung..."));
  Bergung->setToolButtonStyle(Qt::ToolButtonTextOnly);
  Bergung->setToolTip(QStringLiteral("Fallschirm oder Band der Hauptstufe und wann sie öffnen"));
  Bergung->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  connect(Bergung, &QToolButton::clicked, this, &TStufendaten::recoveryRequested);
  row->addWidget(ecwwert);
  row->addWidget(Bergung);
  return row;
}

// The group's title line also carries the balance with the chosen motors,
// so the group is a frame under a line of its own that takes no more room.
QWidget* TStufendaten::createMotorGroup(int stage, QWidget* page) {
  auto* box = new QWidget(page);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(createMotorHeader(stage, box));
  auto* group = new QGroupBox(box);
  column->addWidget(group);
  auto* rows = new QGridLayout(group);
  rows->setVerticalSpacing(3);
  const QIcon curve = PaintedIcon(PaintCurveIcon);
  const QIcon chooser = PaintedIcon(PaintChooserIcon);
  for (std::size_t j = 0; j < kSlotCount; ++j) {
    const std::size_t i = static_cast<std::size_t>(stage) * kSlotCount + j;
    motore[i] = new QComboBox(group);
    motore[i]->setObjectName(QString::fromLatin1(kListNames[i]));
    searches_[i] = new MotorListSearch(motore[i]);
    motore[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    motore[i]->setMinimumContentsLength(18);
    connect(motore[i], &QComboBox::currentIndexChanged, this, [this, i] {
      showMotorTip(i);
      motorChosen(i);
    });
    anzmot[i] = new QSpinBox(group);
    anzmot[i]->setObjectName(Numbered("anzmot", i + 1));
    anzmot[i]->setRange(0, kMaxMotorCount);
    connect(anzmot[i], &QSpinBox::valueChanged, this, &TStufendaten::showStability);
    SpeedButton[i] = new QToolButton(group);
    SpeedButton[i]->setObjectName(Numbered("SpeedButton", i + 1));
    SpeedButton[i]->setIcon(curve);
    SpeedButton[i]->setToolTip(QStringLiteral("Schubkurve des Motors zeigen"));
    connect(SpeedButton[i], &QToolButton::clicked, this,
            [this, i] { SpeedButtonClick(static_cast<int>(i)); });
    WahlButton[i] = new QToolButton(group);
    WahlButton[i]->setObjectName(Numbered("WahlButton", i + 1));
    WahlButton[i]->setIcon(chooser);
    WahlButton[i]->setToolTip(QStringLiteral("Motor wählen: Tabelle aller Motoren mit Suche und Filtern"));
    connect(WahlButton[i], &QToolButton::clicked, this, [this, i] { WahlButtonClick(static_cast<int>(i)); });
    if (j == 0) {
      MarkFirstRow(motore[i]);
      MarkFirstRow(anzmot[i]);
    }
    rows->addWidget(motore[i], static_cast<int>(j), 0);
    rows->addWidget(anzmot[i], static_cast<int>(j), 1);
    rows->addWidget(SpeedButton[i], static_cast<int>(j), 2);
    rows->addWidget(WahlButton[i], static_cast<int>(j), 3);
  }
  rows->setColumnStretch(0, 1);
  return box;
}

QWidget* TStufendaten::createMotorHeader(int stage, QWidget* parent) {
  const auto s = static_cast<std::size_t>(stage);
  const WidgetRow row = MakeWidgetRow(parent);
  row.layout->setContentsMargins(0, 0, 0, 0);
  Stabilitaet[s] = new QLabel(row.box);
  Stabilitaet[s]->setObjectName(Numbered("Stabilitaet", s + 1));
  Stabilitaet[s]->setToolTip(QStringLiteral(
      "Stabilitätsreserve der Rakete mit den gewählten Motoren, in Kalibern (Rohrdurchmessern): "
      "beim Start und die kleinste, während ein Motor brennt. Aus der Form der Rakete (Form...)"));
  row.layout->addWidget(new QLabel(QStringLiteral("Motoren"), row.box));
  row.layout->addStretch(1);
  row.layout->addWidget(Stabilitaet[s]);
  return row.box;
}

void TStufendaten::addAreaRows(QGridLayout* grid, int stage, QWidget* page) {
  const auto s = static_cast<std::size_t>(stage);
  struct Row {
    QLineEdit** edit;
    const char* name;
    const char* caption;
  };
  const Row rows[] = {{&stmgr[s], "stmgr", "Stufenmasse ohne Motoren in gr"},
                      {&durch[s], "durch", "Durchmesser  in mm "},
                      {&ComboEdit[s], "ComboEdit", "Sonstige Flächen in mm² "}};
  int r = 3;
  for (const Row& row : rows) {
    *row.edit = new QLineEdit(page);
    (*row.edit)->setObjectName(Numbered(row.name, s + 1));
    (*row.edit)->setFixedWidth(kNumberFieldWidth);
    grid->addWidget(new QLabel(QString::fromUtf8(row.caption), page), r, 0);
    grid->addWidget(*row.edit, r++, 1, Qt::AlignLeft);
  }
  for (QLineEdit* balance : {stmgr[s], durch[s]})
    connect(balance, &QLineEdit::textChanged, this, &TStufendaten::showStability);
  QAction* calculator =
      ComboEdit[s]->addAction(PaintedIcon(PaintCalculatorIcon), QLineEdit::TrailingPosition);
  calculator->setObjectName(Numbered("ComboEditButton", s + 1));
  calculator->setToolTip(QStringLiteral("Rechner (F4)"));
  connect(calculator, &QAction::triggered, this, [this, stage] { ComboEditButtonClick(stage); });
  // The field's button takes no focus; the keys of a drop-down open it.
  for (const QKeySequence& key : {QKeySequence(Qt::Key_F4), QKeySequence(Qt::ALT | Qt::Key_Down)}) {
    auto* shortcut = new QShortcut(key, ComboEdit[s], nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, calculator, &QAction::trigger);
  }
}

// The rocket's shape belongs to all stages, so its button sits with the
// dialog's own buttons, not on a stage's page.
QWidget* TStufendaten::createButtons() {
  const WidgetRow row = MakeWidgetRow(this);
  row.layout->setContentsMargins(8, 0, 8, 0);
  Form = new QPushButton(QStringLiteral("&Form..."), row.box);
  Form->setObjectName(QStringLiteral("Form"));
  Form->setAutoDefault(false);
  Form->setToolTip(
      QStringLiteral("Form der Rakete: Stabilität mit jedem Motor und ein cw-Wert aus der Form"));
  connect(Form, &QPushButton::clicked, this, &TStufendaten::shapeRequested);
  const OkCancelRow buttons = MakeOkCancelRow(row.box);
  BitBtn1 = buttons.ok;
  BitBtn2 = buttons.cancel;
  connect(BitBtn1, &QPushButton::clicked, this, &TStufendaten::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TStufendaten::BitBtn2Click);
  row.layout->addWidget(Form);
  row.layout->addStretch(1);
  row.layout->addWidget(buttons.box);
  row.layout->addStretch(1);
  row.layout->addSpacing(Form->sizeHint().width());
  return row.box;
}

// The dialog keeps what was typed before an Abbruch; a double-click on the
// plot shows the rocket as it is. The line at the top tells the two apart.
QWidget* TStufendaten::createBanner() {
  Banner = new QFrame(this);
  Banner->setObjectName(QStringLiteral("Banner"));
  Banner->setFrameStyle(QFrame::Box | QFrame::Plain);
  QPalette p = Banner->palette();
  p.setColor(QPalette::Window, QColor(255, 244, 196));
  Banner->setPalette(p);
  Banner->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(Banner);
  row->setContentsMargins(6, 2, 2, 2);
  auto* text = new QLabel(QStringLiteral("Nicht übernommene Änderungen vom letzten Mal"), Banner);
  text->setObjectName(QStringLiteral("BannerText"));
  auto* discard = new QPushButton(QStringLiteral("&Verwerfen"), Banner);
  discard->setObjectName(QStringLiteral("Verwerfen"));
  discard->setAutoDefault(false);
  discard->setToolTip(QStringLiteral("Die Werte der Rakete wieder laden"));
  connect(discard, &QPushButton::clicked, this, &TStufendaten::VerwerfenClick);
  row->addWidget(text, 1);
  row->addWidget(discard);
  Banner->hide();
  return Banner;
}

void TStufendaten::showBanner(bool show) {
  Banner->setVisible(show);
  setFixedSize(kClientSize.width(), kClientSize.height() + (show ? Banner->sizeHint().height() : 0));
}

bool TStufendaten::Run() {
  showForm();
  showBanner(abandoned_ && rocket_ && FormDiffersFromRocket(form_, *rocket_, decimalSeparator_));
  TabbedNotebook1->setCurrentIndex(0);
  RakName->setFocus();
  form_.shown = true;
  const bool ok = exec() == QDialog::Accepted;
  // However it was closed: what the user typed stays for the next time.
  takeForm();
  form_.shown = false;
  abandoned_ = !ok;
  emit curveViewerCloseRequested();
  return ok;
}

void TStufendaten::VerwerfenClick() {
  form_.shown = false;
  SetForm(form_, *rocket_, decimalSeparator_);
  form_.shown = true;
  showForm();
  showBanner(false);
  RakName->setFocus();
}

void TStufendaten::BitBtn1Click() {
  accept();
}

void TStufendaten::BitBtn2Click() {
  reject();
}

void TStufendaten::UpdateMotorLists() {
  QStringList names;
  names.reserve(static_cast<qsizetype>(form_.motorList.size()));
  auto keys = std::make_shared<std::vector<MotorSearchKey>>();
  for (const MotorListEntry& e : form_.motorList) {
    names << ToQ(Cp1252ToUtf8(e.name));
    keys->push_back(MakeSearchKey(e.name, e.details));
  }
  filling_ = true;
  for (std::size_t i = 0; i < kMotorListCount; ++i) {
    motore[i]->clear();
    motore[i]->addItems(names);
    // Doubtful data in the chooser's colour, the reason as the item's tip.
    for (std::size_t k = 0; k < form_.motorList.size(); ++k) {
      const auto& details = form_.motorList[k].details;
      if (!details || details->dataCheck.empty()) continue;
      const int item = static_cast<int>(k);
      motore[i]->setItemData(item, DoubtfulMotorColour(), Qt::BackgroundRole);
      motore[i]->setItemData(item, ToQ("Daten fraglich: " + Cp1252ToUtf8(details->dataCheck)),
                             Qt::ToolTipRole);
    }
    searches_[i]->setSearchKeys(keys);
    motore[i]->setCurrentIndex(form_.motore[i]);
    chosen_[i] = motore[i]->currentIndex();
    showMotorTip(i);
  }
  filling_ = false;
  showStability();
}

void TStufendaten::showMotorTip(std::size_t list) {
  const int item = motore[list]->currentIndex();
  const bool listed = item >= 0 && static_cast<std::size_t>(item) < form_.motorList.size();
  const auto& details = listed ? form_.motorList[static_cast<std::size_t>(item)].details : std::nullopt;
  const double impulse = listed ? form_.motorList[static_cast<std::size_t>(item)].flownImpulse : 0.0;
  motore[list]->setToolTip(details ? ToQ(MotorSummaryText(*details, impulse, decimalSeparator_)) : QString());
}

// The balance is worked out once, when the lists are filled last.
void TStufendaten::showForm() {
  filling_ = true;
  RakName->setText(ToQ(form_.RakName));
  RakName->setCursorPosition(0);
  ecwwert->setText(ToQ(form_.ecwwert));
  Verz1->setText(ToQ(form_.Verz1));
  verz2->setText(ToQ(form_.verz2));
  for (std::size_t s = 0; s < kStageCount; ++s) {
    stmgr[s]->setText(ToQ(form_.stmgr[s]));
    durch[s]->setText(ToQ(form_.durch[s]));
    ComboEdit[s]->setText(ToQ(form_.ComboEdit[s]));
  }
  // A count outside the spin range (a hand-made file) shows as its nearest bound.
  for (std::size_t i = 0; i < kMotorListCount; ++i) anzmot[i]->setValue(ToQ(form_.anzmot[i]).toInt());
  filling_ = false;
  UpdateMotorLists();
}

void TStufendaten::takeForm() {
  takeInto(form_);
}

StageForm TStufendaten::formNow() const {
  StageForm now = form_;
  takeInto(now);
  return now;
}

void TStufendaten::takeInto(StageForm& form) const {
  form.RakName = RakName->text().toStdString();
  form.ecwwert = ecwwert->text().toStdString();
  form.Verz1 = Verz1->text().toStdString();
  form.verz2 = verz2->text().toStdString();
  for (std::size_t s = 0; s < kStageCount; ++s) {
    form.stmgr[s] = stmgr[s]->text().toStdString();
    form.durch[s] = durch[s]->text().toStdString();
    form.ComboEdit[s] = ComboEdit[s]->text().toStdString();
  }
  for (std::size_t i = 0; i < kMotorListCount; ++i) {
    form.anzmot[i] = std::to_string(anzmot[i]->value());
    form.motore[i] = motore[i]->currentIndex();
  }
}

// A motor the shape's mount does not take is refused and the list shows
// the motor it had; without a shape every motor is taken.
void TStufendaten::motorChosen(std::size_t list) {
  if (filling_ || !BitBtn1) return;
  const RocketShape* shape = rocketShape();
  const std::string refusal =
      MountRefusal(formNow(), shape, list / kSlotCount, motore[list]->currentIndex(), decimalSeparator_);
  if (refusal.empty()) {
    chosen_[list] = motore[list]->currentIndex();
    showStability();
    return;
  }
  filling_ = true;
  motore[list]->setCurrentIndex(chosen_[list]);
  filling_ = false;
  QMessageBox::warning(this, QStringLiteral("Motor passt nicht"), ToQ(refusal));
}

const RocketShape* TStufendaten::rocketShape() const {
  return shape_ && *shape_ ? &**shape_ : nullptr;
}

void TStufendaten::showStability() {
  if (filling_ || !BitBtn1) return;  // not while the dialog is being built
  const RocketShape* shape = rocketShape();
  const std::optional<StabilityFigures> figures =
      shape && rocket_
          ? FormStability(formNow(), *rocket_, shape, database_ ? database_() : std::filesystem::path())
          : std::nullopt;
  const StabilityNote note = StabilityNoteOf(figures, shape != nullptr, decimalSeparator_);
  for (QLabel* label : Stabilitaet) {
    label->setText(ToQ(note.text));
    QPalette p = palette();
    if (note.level)
      p.setColor(QPalette::WindowText,
                 *note.level == SafetyLevel::Red ? QColor(Qt::red) : QColor(200, 110, 0));
    label->setPalette(p);
  }
}

// A field that holds no number is reset; the calculator then starts from
// what it showed last.
void TStufendaten::ComboEditButtonClick(int stage) {
  QLineEdit* field = ComboEdit[static_cast<std::size_t>(stage)];
  if (const auto v = ParseFieldNumber(field->text(), QLatin1Char(decimalSeparator_)))
    RxCalculator1->setValue(*v);
  else
    field->setText(QStringLiteral("0"));
  if (RxCalculator1->Run()) field->setText(ToQ(Format(decimalSeparator_, "%.1f", RxCalculator1->value())));
}

void TStufendaten::SpeedButtonClick(int slot) {
  const int item = motore[static_cast<std::size_t>(slot)]->currentIndex();
  const bool listed = item >= 0 && static_cast<std::size_t>(item) < form_.motorList.size();
  emit motorCurveRequested(listed ? form_.motorList[static_cast<std::size_t>(item)].recordNo : -1);
}

// The chosen motor goes into the slot; a slot without motors gets one, so
// the choice counts.
void TStufendaten::WahlButtonClick(int slot) {
  const auto i = static_cast<std::size_t>(slot);
  const std::size_t stage = i / kSlotCount;
  std::vector<MotorRow> rows =
      ReadMotorRows(database_ ? database_() : std::filesystem::path(), form_.motorList);
  const RocketShape* shape = rocketShape();
  const MountLimit mount = LimitOf(FormStageMount(formNow(), shape, stage).mount);
  TMotorwahl chooser(std::move(rows), mount, motore[i]->currentIndex(), decimalSeparator_, this);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedIndex() < 0) return;
  motore[i]->setCurrentIndex(chooser.selectedIndex());
  if (motore[i]->currentIndex() != chooser.selectedIndex()) return;  // refused
  if (anzmot[i]->value() == 0) anzmot[i]->setValue(1);
}

void TStufendaten::SetCwText(const QString& text) {
  ecwwert->setText(text);
}

}  // namespace komet
