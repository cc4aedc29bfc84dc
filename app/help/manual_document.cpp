#include "manual_document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

namespace tarnel::help {

namespace {

const QRegularExpression& pictureLink() {
  static const QRegularExpression re(QStringLiteral(R"(!\[([^\]]*)\]\(([^)\s]+)\))"));
  return re;
}

QString readText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(f.readAll());
}

// Pictures are resolved against the page's folder; missing ones become a note.
QString resolvePictures(const QString& text, const QDir& folder) {
  QString out;
  qsizetype last = 0;
  auto it = pictureLink().globalMatch(text);
  while (it.hasNext()) {
    const auto m = it.next();
    out += text.mid(last, m.capturedStart() - last);
    const QString file = folder.absoluteFilePath(m.captured(2));
    if (QFileInfo::exists(file))
      out += QStringLiteral("![%1](%2)").arg(m.captured(1), QUrl::fromLocalFile(file).toString());
    else
      out += QStringLiteral("*(Picture \"%1\" is not available in this build.)*").arg(m.captured(2));
    last = m.capturedEnd();
  }
  return out + text.mid(last);
}

// Markdown links between pages ("technical-manual.md#tiebacks") become anchors of the one
// document ("#tiebacks").
QString localLinks(const QString& text) {
  static const QRegularExpression re(QStringLiteral(R"(\]\(([A-Za-z0-9_-]+)\.md(#[^)]*)?\))"));
  QString out;
  qsizetype last = 0;
  auto it = re.globalMatch(text);
  while (it.hasNext()) {
    const auto m = it.next();
    out += text.mid(last, m.capturedStart() - last);
    out += QStringLiteral("](") + (m.captured(2).isEmpty() ? QLatin1Char('#') + m.captured(1) : m.captured(2)) +
           QLatin1Char(')');
    last = m.capturedEnd();
  }
  return out + text.mid(last);
}

// The first heading of a page: the page's file name becomes one of its anchors.
QString pageTitle(const QString& text) {
  static const QRegularExpression re(QStringLiteral(R"(^#{1,2} +(.+?) *$)"), QRegularExpression::MultilineOption);
  const auto m = re.match(text);
  return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

QString anchorFor(const QString& headingText) {
  QString s = headingText.toLower();
  QString a;
  bool dash = false;
  for (const QChar c : s) {
    if (c.isLetterOrNumber()) {
      a += c;
      dash = false;
    } else if (!a.isEmpty() && !dash) {
      a += QLatin1Char('-');
      dash = true;
    }
  }
  while (a.endsWith(QLatin1Char('-'))) a.chop(1);
  return a;
}

QStringList missingPictures(const QString& markdownFile) {
  QStringList missing;
  const QDir folder = QFileInfo(markdownFile).absoluteDir();
  auto it = pictureLink().globalMatch(readText(markdownFile));
  while (it.hasNext()) {
    const QString name = it.next().captured(2);
    if (!QFileInfo::exists(folder.absoluteFilePath(name))) missing << name;
  }
  return missing;
}

QList<Heading> loadManual(QTextDocument& doc, const QStringList& markdownFiles, bool numberSections,
                          double maxPictureWidth) {
  QString all;
  QMap<QString, QString> pageOfTitle;
  for (const QString& file : markdownFiles) {
    QString text = resolvePictures(readText(file), QFileInfo(file).absoluteDir());
    pageOfTitle.insert(pageTitle(text), QFileInfo(file).completeBaseName());
    if (markdownFiles.size() > 1) text = localLinks(text);
    all += text + QStringLiteral("\n\n");
  }
  doc.setMarkdown(all, QTextDocument::MarkdownDialectGitHub);

  // Headings: number them and give them anchors.
  QList<Heading> headings;
  QSet<QString> used;
  int counters[5] = {0, 0, 0, 0, 0};
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const int level = b.blockFormat().headingLevel();
    if (level < 1) continue;
    Heading h;
    h.level = level;
    h.text = b.text();
    h.position = b.position();
    if (numberSections && level >= 2 && level <= 4) {
      ++counters[level];
      for (int l = level + 1; l <= 4; ++l) counters[l] = 0;
      QStringList parts;
      for (int l = 2; l <= level; ++l) parts << QString::number(counters[l]);
      h.number = parts.join(QLatin1Char('.'));
    }
    QString anchor = anchorFor(h.text), unique = anchor;
    for (int n = 2; used.contains(unique); ++n) unique = anchor + QLatin1Char('-') + QString::number(n);
    used.insert(unique);
    h.anchor = unique;
    QTextCursor c(b);
    if (!h.number.isEmpty()) c.insertText(h.number + QStringLiteral("  "));
    QTextCursor whole(b);
    whole.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat anchorFormat;
    anchorFormat.setAnchor(true);
    QStringList names{unique, anchorFor(h.text)};
    if (pageOfTitle.contains(h.text)) names << pageOfTitle.take(h.text);
    anchorFormat.setAnchorNames(names);
    whole.mergeCharFormat(anchorFormat);
    headings << h;
  }

  // Tables with thin borders and some room in the cells.
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    QTextCursor c(b);
    if (QTextTable* t = c.currentTable()) {
      QTextTableFormat f = t->format();
      if (f.border() != 0.5) {
        f.setBorder(0.5);
        f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        f.setBorderBrush(QColor(120, 120, 120));
        f.setCellPadding(3);
        f.setCellSpacing(0);
        f.setBorderCollapse(true);
        t->setFormat(f);
      }
    }
  }

  // Pictures no wider than the page.
  if (maxPictureWidth > 0) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.charFormat().isImageFormat()) continue;
        QTextImageFormat img = frag.charFormat().toImageFormat();
        const QImage picture(QUrl(img.name()).toLocalFile());
        if (picture.isNull()) continue;
        const double w = std::min<double>(maxPictureWidth, picture.width());
        img.setWidth(w);
        img.setHeight(w * picture.height() / picture.width());
        QTextCursor c(&doc);
        c.setPosition(frag.position());
        c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
        c.setCharFormat(img);
      }
    }
  }
  return headings;
}

}  // namespace tarnel::help
