// tarnel-manual: lays out a manual from its Markdown pages as a PDF, with Qt's own text
// layout: a title page, a table of contents with page numbers, numbered sections, the
// pictures of the pages and a page number on every page.
//
//   tarnel-manual --title TEXT --out FILE.pdf PAGE.md [PAGE.md ...]
#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>

#include "app/help/manual_document.h"

namespace {

const char* const kUsage = "usage: tarnel-manual --title TEXT --out FILE.pdf PAGE.md [PAGE.md ...]\n";

struct Page {
  QRectF body;    // where the text goes, in device units
  double footer;  // base line of the page number
};

void drawDocumentPage(QPainter& p, QTextDocument& doc, int page, const QRectF& body) {
  p.save();
  p.translate(body.left(), body.top() - page * body.height());
  QAbstractTextDocumentLayout::PaintContext ctx;
  ctx.clip = QRectF(0, page * body.height(), body.width(), body.height());
  doc.documentLayout()->draw(&p, ctx);
  p.restore();
}

void prepare(QTextDocument& doc, QPdfWriter& writer, const QRectF& body) {
  doc.documentLayout()->setPaintDevice(&writer);
  doc.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 10));
  doc.setDocumentMargin(0);
  doc.setPageSize(body.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString title, out;
  QStringList pages;
  const QStringList args = app.arguments().mid(1);
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--title") && i + 1 < args.size()) title = args[++i];
    else if (args[i] == QLatin1String("--out") && i + 1 < args.size()) out = args[++i];
    else if (args[i].startsWith(QLatin1String("--"))) {
      std::fprintf(stderr, "tarnel-manual: unknown option %s\n%s", qPrintable(args[i]), kUsage);
      return 2;
    } else pages << args[i];
  }
  if (title.isEmpty() || out.isEmpty() || pages.isEmpty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  for (const QString& p : pages)
    if (!QFileInfo(p).isFile()) {
      std::fprintf(stderr, "tarnel-manual: %s does not exist\n", qPrintable(p));
      return 2;
    }

  QPdfWriter writer(out);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("TARNEL 2015"));
  writer.setResolution(300);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  const double mm = 300 / 25.4;
  const QRectF paper(0, 0, writer.width(), writer.height());
  const QRectF body = paper.adjusted(22 * mm, 20 * mm, -22 * mm, -27 * mm);
  const double footer = paper.bottom() - 12 * mm;

  // Picture sizes are in pixels of 1/96 in, which the layout scales to the writer's resolution.
  QTextDocument doc;
  prepare(doc, writer, body);
  const QList<tarnel::help::Heading> headings = tarnel::help::loadManual(doc, pages, true, body.width() * 96.0 / writer.logicalDpiX());
  // A picture is not split by the page layout: one that would cross the foot of a page
  // starts the next page instead.
  for (bool moved = true; moved;) {
    moved = false;
    for (QTextBlock b = doc.begin(); b.isValid() && !moved; b = b.next()) {
      bool picture = false;
      for (auto it = b.begin(); !it.atEnd(); ++it) picture = picture || it.fragment().charFormat().isImageFormat();
      if (!picture || b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) continue;
      const QRectF r = doc.documentLayout()->blockBoundingRect(b);
      if (int(r.top() / body.height()) != int((r.bottom() - 1) / body.height())) {
        QTextBlockFormat f = b.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(f);
        moved = true;
      }
    }
  }
  for (const QString& p : pages)
    for (const QString& missing : tarnel::help::missingPictures(p))
      std::fprintf(stderr, "tarnel-manual: %s: picture %s not found, left out\n", qPrintable(p), qPrintable(missing));

  // Contents: one line per chapter and section, the page numbers filled in once the
  // number of contents pages is known.
  auto contents = [&](int firstBodyPage) {
    QString html = QStringLiteral("<h2>Contents</h2><table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">");
    for (const auto& h : headings) {
      if (h.level < 2 || h.level > 3) continue;
      const QTextBlock b = doc.findBlock(h.position);
      const int page = int(doc.documentLayout()->blockBoundingRect(b).top() / body.height());
      const QString indent = h.level == 3 ? QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;") : QString();
      const QString text = h.level == 2 ? QStringLiteral("<b>%1&nbsp;&nbsp;%2</b>") : QStringLiteral("%1&nbsp;&nbsp;%2");
      html += QStringLiteral("<tr><td>%1%2</td><td align=\"right\">%3</td></tr>")
                  .arg(indent, text.arg(h.number, h.text.toHtmlEscaped()))
                  .arg(firstBodyPage + page);
    }
    return html + QStringLiteral("</table>");
  };
  QTextDocument toc;
  prepare(toc, writer, body);
  toc.setHtml(contents(2));
  const int tocPages = toc.pageCount();
  toc.setHtml(contents(2 + tocPages));

  QPainter p(&writer);
  QFont footerFont(QStringLiteral("DejaVu Sans"), 8);
  int pageNo = 1;
  auto footerLine = [&] {
    p.setFont(footerFont);
    p.setPen(QColor(90, 90, 90));
    p.drawLine(QPointF(body.left(), footer - 5 * mm), QPointF(body.right(), footer - 5 * mm));
    p.drawText(QRectF(body.left(), footer - 4 * mm, body.width(), 6 * mm), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.drawText(QRectF(body.left(), footer - 4 * mm, body.width(), 6 * mm), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Page %1").arg(pageNo));
  };

  // Title page.
  {
    QFont big(QStringLiteral("DejaVu Serif"), 26, QFont::Bold);
    p.setFont(big);
    p.drawText(QRectF(body.left(), body.top() + 60 * mm, body.width(), 40 * mm), Qt::AlignCenter | Qt::TextWordWrap,
               title);
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 13));
    p.drawText(QRectF(body.left(), body.top() + 105 * mm, body.width(), 30 * mm), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("A program for the analysis of flexible retaining structures\nVersion 2015.5.22"));
  }
  for (int i = 0; i < tocPages; ++i) {
    writer.newPage();
    ++pageNo;
    drawDocumentPage(p, toc, i, body);
    footerLine();
  }
  for (int i = 0; i < doc.pageCount(); ++i) {
    writer.newPage();
    ++pageNo;
    drawDocumentPage(p, doc, i, body);
    footerLine();
  }
  p.end();
  std::printf("%s: %d pages\n", qPrintable(out), pageNo);
  return 0;
}
