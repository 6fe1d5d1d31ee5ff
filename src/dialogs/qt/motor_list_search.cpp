#include "dialogs/qt/motor_list_search.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

namespace komet {

MotorListSearch::MotorListSearch(QComboBox* combo) : QObject(combo), combo_(combo) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  auto* completer = new QCompleter(combo->model(), combo);
  completer->setFilterMode(Qt::MatchContains);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  completer->setMaxVisibleItems(15);
  combo->setCompleter(completer);
  combo->lineEdit()->installEventFilter(this);
  // Installed after the completer's own filter, so it sees Escape first.
  completer->popup()->installEventFilter(this);
  connect(combo->lineEdit(), &QLineEdit::editingFinished, this, &MotorListSearch::restoreText);
  // The line edit hides the completer for an empty text after this signal,
  // so the whole list opens once it has.
  connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (text.isEmpty())
      QMetaObject::invokeMethod(this, &MotorListSearch::showWholeList, Qt::QueuedConnection);
  });
}

void MotorListSearch::showWholeList() {
  if (!combo_->lineEdit()->text().isEmpty()) return;
  combo_->completer()->setCompletionPrefix(QString());
  combo_->completer()->complete();
}

bool MotorListSearch::typing() const {
  return combo_->lineEdit()->text() != combo_->itemText(combo_->currentIndex());
}

void MotorListSearch::restoreText() {
  if (typing()) combo_->setEditText(combo_->itemText(combo_->currentIndex()));
}

bool MotorListSearch::takeMatch() {
  QCompleter* completer = combo_->completer();
  QModelIndex row = completer->popup()->isVisible() ? completer->popup()->currentIndex() : QModelIndex();
  if (!row.isValid()) {
    completer->setCompletionPrefix(combo_->lineEdit()->text());
    if (completer->completionCount() != 1) return false;
    row = completer->completionModel()->index(0, 0);
  }
  const auto* matches = qobject_cast<const QAbstractProxyModel*>(completer->completionModel());
  const int item = matches ? matches->mapToSource(row).row() : -1;
  if (item < 0) return false;
  completer->popup()->hide();
  combo_->setCurrentIndex(item);
  combo_->setEditText(combo_->itemText(item));
  return true;
}

// Return while choosing stays in the list: the popup's Return would
// otherwise travel on to the dialog and press OK.
bool MotorListSearch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    const bool choosing = combo_->completer()->popup()->isVisible() || typing();
    if (!choosing) return false;  // the list shows its motor: Return is the dialog's
    if (!takeMatch() && !combo_->completer()->popup()->isVisible()) combo_->completer()->complete();
    return true;
  }
  // Escape first undoes the typing; only a second one reaches the dialog.
  if (key != Qt::Key_Escape) return QObject::eventFilter(watched, event);
  const bool wasTyping = typing();
  restoreText();
  if (watched == combo_->lineEdit()) return wasTyping;
  return false;  // the completer closes its popup
}

}  // namespace komet
