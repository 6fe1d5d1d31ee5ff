// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qt/accelerators.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <algorithm>

namespace komet {
namespace {

// The character after a single '&', lower case; none for "&&" or no '&'.
QChar AcceleratorOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] != u'&') return text[i + 1].toLower();
    ++i;
  }
  return {};
}

bool TakesAccelerator(const QAbstractButton* b) {
  return qobject_cast<const QPushButton*>(b) || qobject_cast<const QCheckBox*>(b) ||
         qobject_cast<const QRadioButton*>(b);
}

// What the window's own texts claim already: labels, buttons, group boxes, tabs.
QSet<QChar> UsedAccelerators(QWidget* window) {
  QSet<QChar> used;
  auto claim = [&used](const QString& text) {
    if (const QChar c = AcceleratorOf(text); !c.isNull()) used.insert(c);
  };
  for (auto* b : window->findChildren<QAbstractButton*>())
    if (b->window() == window) claim(b->text());
  for (auto* l : window->findChildren<QLabel*>())
    if (l->window() == window && l->buddy()) claim(l->text());
  for (auto* g : window->findChildren<QGroupBox*>())
    if (g->window() == window) claim(g->title());
  for (auto* t : window->findChildren<QTabWidget*>())
    for (int i = 0; t->window() == window && i < t->count(); ++i) claim(t->tabText(i));
  return used;
}

class AcceleratorFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow())
      AddAccelerators(static_cast<QWidget*>(watched));
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void AddAccelerators(QWidget* window) {
  QSet<QChar> used = UsedAccelerators(window);
  QList<QAbstractButton*> buttons;
  for (auto* b : window->findChildren<QAbstractButton*>())
    // A button of a window inside this one gets its key from that window.
    if (b->window() == window && TakesAccelerator(b) && !b->text().isEmpty() &&
        AcceleratorOf(b->text()).isNull())
      buttons << b;
  // Short texts have the fewest letters to choose from: "OK" goes first.
  std::stable_sort(buttons.begin(), buttons.end(), [](const QAbstractButton* a, const QAbstractButton* b) {
    return a->text().size() < b->text().size();
  });
  for (QAbstractButton* b : buttons) {
    const QString text = b->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i].toLower();
      if (!c.isLetter() || used.contains(c)) continue;
      used.insert(c);
      b->setText(text.left(i) + u'&' + text.mid(i));
      break;
    }
  }
}

void InstallAccelerators(QObject* app) {
  app->installEventFilter(new AcceleratorFilter(app));
}

}  // namespace komet
