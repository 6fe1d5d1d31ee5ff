// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/t_bergung.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/qt_text.h"
#include "dialogs/qt/widget_row.h"

namespace komet {
namespace {

constexpr int kDialogWidth = 520;
constexpr int kNumberFieldWidth = 80;

QLabel* Note(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setForegroundRole(QPalette::PlaceholderText);
  return label;
}

QLabel* Buddy(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TBergung::TBergung(const std::optional<Recovery>& stored, RecoveryContext context, char decimalSeparator,
                   QWidget* parent)
    : QDialog(parent), context_(std::move(context)), decimalSeparator_(decimalSeparator) {
  setWindowTitle(QStringLiteral("Bergung"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(createKindRow());
  Seiten = new QStackedWidget(this);
  Seiten->setObjectName(QStringLiteral("Seiten"));
  Seiten->addWidget(createNonePage());
  Seiten->addWidget(createChutePage());
  Seiten->addWidget(createStreamerPage());
  layout->addWidget(Seiten);
  layout->addWidget(createDeploymentGroup());
  LetzterFlug = new QLabel(this);
  LetzterFlug->setObjectName(QStringLiteral("LetzterFlug"));
  LetzterFlug->setWordWrap(true);
  LetzterFlug->setVisible(context_.lastFlight.has_value());
  if (context_.lastFlight) LetzterFlug->setText(ToQ(LastFlightText(*context_.lastFlight, decimalSeparator_)));
  layout->addWidget(LetzterFlug);
  layout->addStretch(1);
  layout->addSpacing(4);
  layout->addWidget(createButtons());
  // Wide enough for the wrapped notes, wider where a larger font needs it.
  setFixedWidth(std::max(kDialogWidth, minimumSizeHint().width()));
  form_ = ShowRecovery(stored, context_, decimalSeparator_);
  ruleCw_ = StreamerCwText(form_, decimalSeparator_);
  showForm();
}

QWidget* TBergung::createKindRow() {
  auto* box = new QGroupBox(QStringLiteral("Bergung der Hauptstufe"), this);
  auto* row = new QHBoxLayout(box);
  auto* group = new QButtonGroup(box);
  auto radio = [&](QRadioButton*& button, const char* name, const QString& text) {
    button = new QRadioButton(text, box);
    button->setObjectName(QString::fromLatin1(name));
    group->addButton(button);
    row->addWidget(button);
    connect(button, &QRadioButton::toggled, this, &TBergung::KindClick);
  };
  radio(Keine, "Keine", QStringLiteral("&keine"));
  radio(Fallschirm, "Fallschirm", QStringLiteral("&Fallschirm"));
  radio(Band, "Band", QStringLiteral("&Band"));
  row->addStretch(1);
  return box;
}

QWidget* TBergung::createNonePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(
      Note(QStringLiteral("Ohne Bergung fällt die Rakete nach dem Gipfelpunkt frei zu Boden, wie "
                          "Komet es immer gerechnet hat."),
           page));
  layout->addStretch(1);
  return page;
}

QLineEdit* TBergung::numberField(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setFixedWidth(kNumberFieldWidth);
  return edit;
}

QWidget* TBergung::createChutePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  Durchmesser = numberField("Durchmesser", page);
  SchirmCw = numberField("SchirmCw", page);
  grid->addWidget(Buddy(QStringLiteral("Durch&messer"), Durchmesser, page), 0, 0);
  grid->addWidget(Durchmesser, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), page), 0, 2);
  grid->addWidget(Buddy(QStringLiteral("&cw"), SchirmCw, page), 1, 0);
  grid->addWidget(SchirmCw, 1, 1);
  grid->addWidget(Note(QStringLiteral("0,8 auf die Nennfläche: flacher Rundkappenschirm nach Knacke, "
                                      "Parachute Recovery Systems Design Manual, Tab. 5-1 (auch der "
                                      "Anfangswert von OpenRocket)"),
                       page),
                  1, 2, 1, 2);

  auto* helper = new QGroupBox(QStringLiteral("Größe für eine Sinkrate"), page);
  auto* h = new QGridLayout(helper);
  Sinkrate = numberField("Sinkrate", helper);
  Uebernehmen = new QPushButton(QStringLiteral("Durchmesser über&nehmen"), helper);
  Uebernehmen->setObjectName(QStringLiteral("Uebernehmen"));
  Uebernehmen->setAutoDefault(false);
  Vorschlag = new QLabel(helper);
  Vorschlag->setObjectName(QStringLiteral("Vorschlag"));
  Vorschlag->setWordWrap(true);
  h->addWidget(Buddy(QStringLiteral("&Ziel-Sinkrate"), Sinkrate, helper), 0, 0);
  h->addWidget(Sinkrate, 0, 1);
  h->addWidget(new QLabel(QStringLiteral("m/s"), helper), 0, 2);
  h->addWidget(Uebernehmen, 0, 4);
  h->addWidget(Vorschlag, 1, 0, 1, 5);
  h->setColumnStretch(3, 1);
  grid->addWidget(helper, 2, 0, 1, 4);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(3, 1);
  connect(Sinkrate, &QLineEdit::textChanged, this, &TBergung::updateSuggestion);
  connect(SchirmCw, &QLineEdit::textChanged, this, &TBergung::updateSuggestion);
  connect(Uebernehmen, &QPushButton::clicked, this, &TBergung::UebernehmenClick);
  return page;
}

QWidget* TBergung::createStreamerPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  Laenge = numberField("Laenge", page);
  Breite = numberField("Breite", page);
  BandCw = numberField("BandCw", page);
  Regel = new QPushButton(QStringLiteral("cw nach &Regel"), page);
  Regel->setObjectName(QStringLiteral("Regel"));
  Regel->setAutoDefault(false);
  grid->addWidget(Buddy(QStringLiteral("&Länge"), Laenge, page), 0, 0);
  grid->addWidget(Laenge, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), page), 0, 2);
  grid->addWidget(Buddy(QStringLiteral("Br&eite"), Breite, page), 1, 0);
  grid->addWidget(Breite, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), page), 1, 2);
  grid->addWidget(Buddy(QStringLiteral("&cw"), BandCw, page), 2, 0);
  grid->addWidget(BandCw, 2, 1);
  grid->addWidget(Regel, 2, 2, 1, 2, Qt::AlignLeft);
  grid->addWidget(Note(QStringLiteral("cw auf Länge × Breite nach der Regel der OpenRocket Technical "
                                      "Documentation (v13.05, Anhang C) für Krepppapier von 30 g/m²: ein "
                                      "längeres Band flattert je Meter weniger."),
                       page),
                  3, 0, 1, 4);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(4, 1);
  connect(Regel, &QPushButton::clicked, this, &TBergung::RegelClick);
  connect(Laenge, &QLineEdit::textEdited, this, &TBergung::LengthEdited);
  return page;
}

QGroupBox* TBergung::createDeploymentGroup() {
  Oeffnung = new QGroupBox(QStringLiteral("Öffnung"), this);
  auto* grid = new QGridLayout(Oeffnung);
  auto* group = new QButtonGroup(Oeffnung);
  Ladung = new QRadioButton(QStringLiteral("Ausstoßladung nach &Verzögerung"), Oeffnung);
  Ladung->setObjectName(QStringLiteral("Ladung"));
  // The motor's delays to pick, or any value typed.
  Verzoegerung = new QComboBox(Oeffnung);
  Verzoegerung->setObjectName(QStringLiteral("Verzoegerung"));
  Verzoegerung->setEditable(true);
  Verzoegerung->setInsertPolicy(QComboBox::NoInsert);
  Verzoegerung->setFixedWidth(kNumberFieldWidth);
  for (const int d : context_.delays) Verzoegerung->addItem(QString::number(d));
  Verzoegerung->setToolTip(context_.delays.empty()
                               ? QStringLiteral("Verzögerung nach Brennschluss in s")
                               : QStringLiteral("Die Verzögerungen, mit denen der Motor verkauft wird, "
                                                "oder ein anderer Wert in s"));
  Gipfel = new QRadioButton(QStringLiteral("im &Gipfelpunkt (Elektronik)"), Oeffnung);
  Gipfel->setObjectName(QStringLiteral("Gipfel"));
  group->addButton(Ladung);
  group->addButton(Gipfel);
  Oeffnungsdauer = numberField("Oeffnungsdauer", Oeffnung);
  grid->addWidget(Ladung, 0, 0);
  grid->addWidget(Verzoegerung, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("s nach Brennschluss"), Oeffnung), 0, 2);
  grid->addWidget(Gipfel, 1, 0, 1, 3);
  grid->addWidget(Buddy(QStringLiteral("Öffnungs&dauer"), Oeffnungsdauer, Oeffnung), 2, 0);
  grid->addWidget(Oeffnungsdauer, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("s (0: sofort ganz offen)"), Oeffnung), 2, 2);
  grid->setColumnStretch(3, 1);
  connect(Ladung, &QRadioButton::toggled, this, &TBergung::DeploymentClick);
  return Oeffnung;
}

QWidget* TBergung::createButtons() {
  const OkCancelRow buttons = MakeOkCancelRow(this);
  BitBtn1 = buttons.ok;
  BitBtn2 = buttons.cancel;
  connect(BitBtn1, &QPushButton::clicked, this, &TBergung::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TBergung::reject);
  return buttons.box;
}

bool TBergung::Run() {
  return exec() == QDialog::Accepted;
}

void TBergung::showForm() {
  Durchmesser->setText(ToQ(form_.diameter));
  SchirmCw->setText(ToQ(form_.chuteCw));
  Sinkrate->setText(ToQ(form_.descentRate));
  Laenge->setText(ToQ(form_.length));
  Breite->setText(ToQ(form_.width));
  BandCw->setText(ToQ(form_.streamerCw));
  Verzoegerung->setEditText(ToQ(form_.delay));
  Oeffnungsdauer->setText(ToQ(form_.inflationTime));
  (form_.atApogee ? Gipfel : Ladung)->setChecked(true);
  QRadioButton* kind = form_.kind == RecoveryForm::Kind::Parachute  ? Fallschirm
                       : form_.kind == RecoveryForm::Kind::Streamer ? Band
                                                                    : Keine;
  kind->setChecked(true);
  KindClick();
  DeploymentClick();
  updateSuggestion();
}

RecoveryForm TBergung::shownForm() const {
  RecoveryForm f;
  f.kind = Fallschirm->isChecked() ? RecoveryForm::Kind::Parachute
           : Band->isChecked()     ? RecoveryForm::Kind::Streamer
                                   : RecoveryForm::Kind::None;
  f.diameter = ToStd(Durchmesser->text());
  f.chuteCw = ToStd(SchirmCw->text());
  f.descentRate = ToStd(Sinkrate->text());
  f.length = ToStd(Laenge->text());
  f.width = ToStd(Breite->text());
  f.streamerCw = ToStd(BandCw->text());
  f.atApogee = Gipfel->isChecked();
  f.delay = ToStd(Verzoegerung->currentText());
  f.inflationTime = ToStd(Oeffnungsdauer->text());
  return f;
}

QWidget* TBergung::fieldWidget(RecoveryField field) const {
  switch (field) {
    case RecoveryField::Diameter:
      return Durchmesser;
    case RecoveryField::ChuteCw:
      return SchirmCw;
    case RecoveryField::Length:
      return Laenge;
    case RecoveryField::Width:
      return Breite;
    case RecoveryField::StreamerCw:
      return BandCw;
    case RecoveryField::Delay:
      return Verzoegerung;
    case RecoveryField::InflationTime:
      return Oeffnungsdauer;
    case RecoveryField::None:
      break;
  }
  return nullptr;
}

// A value out of its range keeps the dialog open, with the cursor in it.
void TBergung::BitBtn1Click() {
  form_ = shownForm();
  const RecoveryTake take = TakeRecovery(form_, decimalSeparator_);
  if (!take.problem.empty()) {
    QMessageBox::warning(
        this, windowTitle(),
        QStringLiteral("Dieser Wert ist keine Zahl im erlaubten Bereich:\n") + ToQ(take.problem));
    if (QWidget* w = fieldWidget(take.field)) {
      w->setFocus();
      if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
    }
    return;
  }
  recovery_ = take.recovery;
  accept();
}

void TBergung::KindClick() {
  const int page = Fallschirm->isChecked() ? 1 : Band->isChecked() ? 2 : 0;
  Seiten->setCurrentIndex(page);
  Oeffnung->setEnabled(page != 0);
}

void TBergung::DeploymentClick() {
  Verzoegerung->setEnabled(Ladung->isChecked());
}

void TBergung::updateSuggestion() {
  const ChuteSuggestion s = SuggestChute(shownForm(), context_, decimalSeparator_);
  Vorschlag->setText(ToQ(s.text));
  Uebernehmen->setEnabled(s.diameterMm.has_value());
}

void TBergung::UebernehmenClick() {
  const ChuteSuggestion s = SuggestChute(shownForm(), context_, decimalSeparator_);
  if (s.diameterMm) Durchmesser->setText(QString::number(*s.diameterMm, 'f', 0));
}

void TBergung::RegelClick() {
  ruleCw_ = StreamerCwText(shownForm(), decimalSeparator_);
  if (!ruleCw_.empty()) BandCw->setText(ToQ(ruleCw_));
}

// Until the user types a cw of their own, the rule's follows the length.
void TBergung::LengthEdited() {
  const bool following = ToStd(BandCw->text()) == ruleCw_;
  const std::string rule = StreamerCwText(shownForm(), decimalSeparator_);
  if (following && !rule.empty()) {
    BandCw->setText(ToQ(rule));
    ruleCw_ = rule;
  }
}

}  // namespace komet
