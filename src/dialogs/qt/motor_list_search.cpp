// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/qt/motor_list_search.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSortFilterProxyModel>

namespace komet {

// The list's items that the typed text finds; the completer shows them as
// they are.
class QueryProxy : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void setKeys(std::shared_ptr<const std::vector<MotorSearchKey>> keys) {
    keys_ = std::move(keys);
    invalidateFilter();
  }
  void setText(const QString& text) {
    text_ = text;
    query_ = MotorQuery(text.toStdString());
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    if (keys_ && static_cast<std::size_t>(row) < keys_->size())
      return query_.Matches((*keys_)[static_cast<std::size_t>(row)]);
    return sourceModel()->index(row, 0, parent).data().toString().contains(text_, Qt::CaseInsensitive);
  }

 private:
  std::shared_ptr<const std::vector<MotorSearchKey>> keys_;
  QString text_;
  MotorQuery query_;
};

MotorListSearch::MotorListSearch(QComboBox* combo) : QObject(combo), combo_(combo) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  proxy_ = new QueryProxy(this);
  proxy_->setSourceModel(combo->model());
  auto* completer = new QCompleter(proxy_, combo);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
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
    else
      search(text);
  });
}

void MotorListSearch::setSearchKeys(std::shared_ptr<const std::vector<MotorSearchKey>> keys) {
  proxy_->setKeys(std::move(keys));
}

void MotorListSearch::search(const QString& text) {
  proxy_->setText(text);
  // The line edit sets the typed text as the completer's prefix after this
  // signal; the rows the query found are shown once it has, without a
  // prefix of their own.
  QMetaObject::invokeMethod(
      this,
      [this] {
        QCompleter* completer = combo_->completer();
        if (proxy_->rowCount() == 0) {
          completer->popup()->hide();
          return;
        }
        completer->setCompletionPrefix(QString());
        completer->complete();
      },
      Qt::QueuedConnection);
}

void MotorListSearch::showWholeList() {
  if (!combo_->lineEdit()->text().isEmpty()) return;
  proxy_->setText(QString());
  combo_->completer()->setCompletionPrefix(QString());
  combo_->completer()->complete();
}

bool MotorListSearch::typing() const {
  return combo_->lineEdit()->text() != combo_->itemText(combo_->currentIndex());
}

void MotorListSearch::restoreText() {
  if (typing()) combo_->setEditText(combo_->itemText(combo_->currentIndex()));
}

// The popup shows the query's rows through the completer's own model.
bool MotorListSearch::takeMatch() {
  QCompleter* completer = combo_->completer();
  const QModelIndex shown =
      completer->popup()->isVisible() ? completer->popup()->currentIndex() : QModelIndex();
  QModelIndex found;
  if (shown.isValid()) {
    if (const auto* popupRows = qobject_cast<const QAbstractProxyModel*>(completer->completionModel()))
      found = popupRows->mapToSource(shown);
  } else {
    proxy_->setText(combo_->lineEdit()->text());
    if (proxy_->rowCount() != 1) return false;
    found = proxy_->index(0, 0);
  }
  const int item = proxy_->mapToSource(found).row();
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
