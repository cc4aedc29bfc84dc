// The program's help window: the manuals' Markdown pages in one browser with a contents
// tree, links between sections and a search field.
#pragma once

#include <QList>
#include <QWidget>

#include "app/help/manual_document.h"

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace tarnel::help {

// Where the manuals are installed: the program's folder (PDFs) and its docs/ folder (the
// pages and their pictures). TARNEL_HELP_DIR replaces the program's folder when set.
QString documentsFolder(const QString& programFolder);
// The pages of the help window in reading order, those that exist.
QStringList helpPages(const QString& documentsFolder);

class HelpWindow : public QWidget {
  Q_OBJECT
public:
  HelpWindow(const QString& documentsFolder, QWidget* parent = nullptr);

  // Shows the section with this anchor ("technical-manual", "tiebacks"); false when the
  // pages have no such section.
  bool showSection(const QString& anchor);
  // Searches forward from the current position, wrapping once; false when not found.
  bool find(const QString& text);

  QTextBrowser* browser() const { return browser_; }
  QTreeWidget* contents() const { return contents_; }
  const QList<Heading>& headings() const { return headings_; }
  bool pagesFound() const { return !headings_.isEmpty(); }

private:
  void followLink(const QUrl& url);

  QTextBrowser* browser_;
  QTreeWidget* contents_;
  QLineEdit* search_;
  QLabel* searchResult_;
  QList<Heading> headings_;
};

}  // namespace tarnel::help
