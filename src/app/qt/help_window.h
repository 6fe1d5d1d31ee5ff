// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLineEdit;
class QTextBrowser;
class QUrl;

namespace komet {

// The bundled German help: contents, a keyword search and a page on using
// the help, in one window.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  void ShowContents();                 // "Inhalt..."
  void ShowSearch();                   // "Suchen..." with an empty keyword
  void ShowHelpOnHelp();               // "Hilfe benutzen..."
  void ShowPage(const QString& file);  // a page below qrc:/help/, for a window's F1

 private slots:
  void SearchChanged(const QString& term);
  void LinkClicked(const QUrl& url);

 private:
  struct Page {
    QString file;  // below qrc:/help/
    QString title;
    QStringList keywords;
    QString text;  // plain text, for the search
  };

  // The search page for a term: links to the pages whose keywords or text
  // contain it, keyword hits first; an empty term lists every keyword.
  QString searchPageHtml(const QString& term) const;
  void loadPages();
  void createWidgets();
  void showPage(const QString& file);
  void present();

  std::vector<Page> pages_;
  bool placed_ = false;  // sized and placed on the screen at its first showing
  QLineEdit* search_ = nullptr;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace komet
