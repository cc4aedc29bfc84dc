// The manuals as documents: Markdown pages of docs/ turned into one QTextDocument with
// numbered section headings, named anchors and pictures, shared by the help window and
// by the build tool that lays the manuals out as PDF.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace tarnel::help {

struct Heading {
  int level = 0;       // 1 title, 2 chapter, 3 section, 4 subsection
  QString number;      // "2.3" (empty for the title)
  QString text;        // without the number
  QString anchor;      // "earth-pressure", unique within the document
  int position = 0;    // character position of the heading block
};

// "Earth pressure" -> "earth-pressure": the anchor links in the pages use.
QString anchorFor(const QString& headingText);

// Reads the pages and fills `doc`: Markdown (GitHub dialect), pictures resolved relative
// to the page's folder, tables given thin borders, headings of level 2 and below numbered
// when `numberSections`. A picture that does not exist is replaced by a line saying so,
// so a manual still builds without it. Returns the headings in document order.
QList<Heading> loadManual(QTextDocument& doc, const QStringList& markdownFiles,
                          bool numberSections, double maxPictureWidth = 0);

// Pictures named by a page that are not there (relative names, as written).
QStringList missingPictures(const QString& markdownFile);

}  // namespace tarnel::help
