// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

#include "app/help_figures.h"
#include "common/qt/window_place.h"

// The resources live in a static library: the linker keeps them only when
// something names them.
static void InitHelpResources() {
  Q_INIT_RESOURCE(help);
}

namespace komet {
namespace {

// The pages in the order of the contents.
const char* const kPageFiles[] = {
    "index.html",      "stufendaten.html",  "einstellungen.html", "diagramm.html", "ergebnisse.html",
    "auswertung.html", "motorberater.html", "dateien.html",       "motoren.html",  "notizen.html",
    "drucken.html",    "komet_sim.html",    "hilfe.html"};

constexpr const char* kContents = "index.html";
constexpr const char* kHelpOnHelp = "hilfe.html";

QUrl PageUrl(const QString& file) {
  return QUrl(QStringLiteral("qrc:/help/") + file);
}

QString ReadResource(const QString& file) {
  QFile f(QStringLiteral(":/help/") + file);
  return f.open(QIODevice::ReadOnly) ? QString::fromStdString(FillHelpFigures(f.readAll().toStdString()))
                                     : QString();
}

QStringList MetaKeywords(const QString& html) {
  static const QRegularExpression meta(QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""));
  const QRegularExpressionMatch m = meta.match(html);
  QStringList keywords;
  if (!m.hasMatch()) return keywords;
  for (const QString& k : m.captured(1).split(u',')) {
    if (!k.trimmed().isEmpty()) keywords << k.trimmed();
  }
  return keywords;
}

// Pages as the program fills them in: their figures and paths are the ones
// the program uses.
class HelpBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

 protected:
  QVariant loadResource(int type, const QUrl& name) override {
    QVariant page = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::HtmlResource) return page;
    const QByteArray bytes =
        page.typeId() == QMetaType::QString ? page.toString().toUtf8() : page.toByteArray();
    return QString::fromStdString(FillHelpFigures(bytes.toStdString()));
  }
};

QString Link(const QString& file, const QString& text) {
  return QStringLiteral("<a href=\"%1\">%2</a>").arg(PageUrl(file).toString(), text.toHtmlEscaped());
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  InitHelpResources();
  setWindowTitle(QStringLiteral("Komet - Hilfe"));
  resize(680, 560);
  loadPages();
  createWidgets();
}

void HelpWindow::loadPages() {
  for (const char* file : kPageFiles) {
    const QString html = ReadResource(QString::fromLatin1(file));
    QTextDocument doc;
    doc.setHtml(html);
    pages_.push_back({QString::fromLatin1(file), doc.metaInformation(QTextDocument::DocumentTitle),
                      MetaKeywords(html), doc.toPlainText()});
  }
}

void HelpWindow::createWidgets() {
  auto* bar = new QHBoxLayout;
  auto button = [&](const QString& text, auto slot) {
    auto* b = new QToolButton(this);
    b->setText(text);
    bar->addWidget(b);
    connect(b, &QToolButton::clicked, this, slot);
    return b;
  };
  button(QStringLiteral("Inhalt"), &HelpWindow::ShowContents);
  QToolButton* back = button(QStringLiteral("Zurück"), [this] { browser_->backward(); });
  QToolButton* forward = button(QStringLiteral("Vor"), [this] { browser_->forward(); });
  button(QStringLiteral("Suchen"), &HelpWindow::ShowSearch);
  button(QStringLiteral("Hilfe benutzen"), &HelpWindow::ShowHelpOnHelp);
  bar->addSpacing(12);
  bar->addWidget(new QLabel(QStringLiteral("Suchbegriff:"), this));
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("Suchbegriff"));
  search_->setClearButtonEnabled(true);
  bar->addWidget(search_, 1);
  browser_ = new HelpBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenLinks(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::LinkClicked);
  connect(search_, &QLineEdit::textChanged, this, &HelpWindow::SearchChanged);
}

void HelpWindow::ShowContents() {
  showPage(QString::fromLatin1(kContents));
  present();
}

void HelpWindow::ShowSearch() {
  search_->clear();
  SearchChanged(QString());
  present();
  search_->setFocus();
}

void HelpWindow::ShowHelpOnHelp() {
  showPage(QString::fromLatin1(kHelpOnHelp));
  present();
}

void HelpWindow::ShowPage(const QString& file) {
  showPage(file);
  present();
}

void HelpWindow::showPage(const QString& file) {
  browser_->setSource(PageUrl(file));
}

void HelpWindow::present() {
  // The window manager would put it anywhere, past a small screen's edge too.
  if (!placed_) {
    resize(FitOnScreen(QSize(680, 560), this));
    MoveBeside(this, parentWidget());
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
}

void HelpWindow::SearchChanged(const QString& term) {
  browser_->setHtml(searchPageHtml(term.trimmed()));
}

// Links open inside the help; web addresses are not followed.
void HelpWindow::LinkClicked(const QUrl& url) {
  if (url.scheme() == QLatin1String("qrc") || url.isRelative()) browser_->setSource(url);
}

QString HelpWindow::searchPageHtml(const QString& term) const {
  // Sorted by the case-folded keyword; the keyword as written, and its page.
  std::multimap<QString, std::pair<QString, const Page*>> keywordHits;
  std::vector<const Page*> textHits;
  for (const Page& page : pages_) {
    bool byKeyword = false;
    for (const QString& k : page.keywords) {
      if (!term.isEmpty() && !k.contains(term, Qt::CaseInsensitive)) continue;
      keywordHits.emplace(k.toCaseFolded(), std::make_pair(k, &page));
      byKeyword = true;
    }
    const bool inText =
        page.text.contains(term, Qt::CaseInsensitive) || page.title.contains(term, Qt::CaseInsensitive);
    if (!term.isEmpty() && !byKeyword && inText) textHits.push_back(&page);
  }
  QString html = QStringLiteral("<html><body><h2>%1</h2>")
                     .arg(term.isEmpty() ? QStringLiteral("Stichwörter")
                                         : QStringLiteral("Suche nach „%1“").arg(term.toHtmlEscaped()));
  if (keywordHits.empty() && textHits.empty()) html += QStringLiteral("<p>Nichts gefunden.</p>");
  if (!keywordHits.empty()) {
    html += QStringLiteral("<ul>");
    for (const auto& [folded, hit] : keywordHits) {
      const auto& [keyword, page] = hit;
      html += QStringLiteral("<li>") + Link(page->file, keyword) + QStringLiteral(" – ") +
              page->title.toHtmlEscaped() + QStringLiteral("</li>");
    }
    html += QStringLiteral("</ul>");
  }
  if (!textHits.empty()) {
    html += QStringLiteral("<p>Im Text erwähnt:</p><ul>");
    for (const Page* page : textHits)
      html += QStringLiteral("<li>") + Link(page->file, page->title) + "</li>";
    html += QStringLiteral("</ul>");
  }
  return html + QStringLiteral("</body></html>");
}

}  // namespace komet
