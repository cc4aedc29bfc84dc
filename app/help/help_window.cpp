#include "help_window.h"

#include "app/main/user_prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tarnel::help {

QString documentsFolder(const QString& programFolder) {
  const QString over = qEnvironmentVariable("TARNEL_HELP_DIR");
  return over.isEmpty() ? programFolder : over;
}

QStringList helpPages(const QString& documentsFolder) {
  QStringList pages;
  const QDir docs(QDir(documentsFolder).filePath(QStringLiteral("docs")));
  for (const char* name : {"index.md", "users-manual.md", "technical-manual.md", "verification.md"}) {
    const QString p = docs.filePath(QLatin1String(name));
    if (QFileInfo(p).isFile()) pages << p;
  }
  return pages;
}

HelpWindow::HelpWindow(const QString& documentsFolder, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("TARNEL 2015 Help"));
  resize(1100, 780);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenLinks(false);
  contents_ = new QTreeWidget(this);
  contents_->setObjectName(QStringLiteral("HelpContents"));
  contents_->setHeaderHidden(true);
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("HelpSearch"));
  search_->setPlaceholderText(QStringLiteral("Search"));
  search_->setClearButtonEnabled(true);
  auto* next = new QPushButton(QStringLiteral("&Find Next"), this);
  searchResult_ = new QLabel(this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Find:"), this));
  top->addWidget(search_, 1);
  top->addWidget(next);
  top->addWidget(searchResult_);
  auto* split = new QSplitter(this);
  split->addWidget(contents_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 3);
  split->setSizes({280, 820});
  auto* lay = new QVBoxLayout(this);
  lay->addLayout(top);
  lay->addWidget(split, 1);

  const QStringList pages = helpPages(documentsFolder);
  if (pages.isEmpty()) {
    browser_->setHtml(QStringLiteral("<h2>The help pages are not installed</h2><p>They were looked for in "
                                     "the folder <tt>%1</tt>.</p>")
                          .arg(QDir::toNativeSeparators(QDir(documentsFolder).filePath(QStringLiteral("docs")))
                                   .toHtmlEscaped()));
  } else {
    headings_ = loadManual(*browser_->document(), pages, false, 720);
    // Contents tree: titles of the pages, then their chapters and sections.
    QList<QTreeWidgetItem*> parents;
    for (const Heading& h : headings_) {
      if (h.level > 3) continue;
      auto* item = new QTreeWidgetItem(QStringList(h.text));
      item->setData(0, Qt::UserRole, h.anchor);
      while (parents.size() >= h.level) parents.removeLast();
      if (parents.isEmpty()) contents_->addTopLevelItem(item);
      else parents.last()->addChild(item);
      while (parents.size() < h.level - 1) parents << item;
      parents << item;
    }
    for (int i = 0; i < contents_->topLevelItemCount(); ++i) contents_->topLevelItem(i)->setExpanded(true);
  }

  connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
  connect(contents_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { showSection(item->data(0, Qt::UserRole).toString()); });
  connect(contents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { showSection(item->data(0, Qt::UserRole).toString()); });
  auto doFind = [this] { find(search_->text()); };
  connect(search_, &QLineEdit::returnPressed, this, doFind);
  connect(next, &QPushButton::clicked, this, doFind);
}

bool HelpWindow::showSection(const QString& anchor) {
  for (const Heading& h : headings_) {
    const QTextBlock b = browser_->document()->findBlock(h.position);
    const QStringList names = b.begin().atEnd() ? QStringList() : b.begin().fragment().charFormat().anchorNames();
    if (h.anchor != anchor && !names.contains(anchor)) continue;
    // Put the heading at the top of the view.
    QTextCursor c(browser_->document());
    c.movePosition(QTextCursor::End);
    browser_->setTextCursor(c);
    c.setPosition(h.position);
    browser_->setTextCursor(c);
    browser_->ensureCursorVisible();
    return true;
  }
  return false;
}

bool HelpWindow::find(const QString& text) {
  searchResult_->clear();
  if (text.isEmpty()) return false;
  if (browser_->find(text)) return true;
  QTextCursor c = browser_->textCursor();
  c.movePosition(QTextCursor::Start);
  browser_->setTextCursor(c);
  if (browser_->find(text)) return true;
  searchResult_->setText(QStringLiteral("Not found"));
  return false;
}

void HelpWindow::followLink(const QUrl& url) {
  if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
    prompts().openUrl(url);
    return;
  }
  QString anchor = url.fragment();
  if (anchor.isEmpty()) anchor = anchorFor(QFileInfo(url.path()).completeBaseName());
  showSection(anchor);
}

}  // namespace tarnel::help
