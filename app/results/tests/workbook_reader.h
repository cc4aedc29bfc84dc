// Reads back what the workbook export wrote, as a spreadsheet program sees it: the sheets in
// tab order (worksheets with their cell texts and hyperlinks, chart sheets with their chart's
// XML), through the package's own relationship parts. For the tests only.
#pragma once

#include <QFile>
#include <QMap>
#include <QXmlStreamReader>
#include <optional>

#include "app/results/zip_archive.h"

struct SheetContents {
  QString name;
  bool isChart = false;
  QMap<QString, QString> cells;       // "B3" -> text (numbers as written in the XML)
  QMap<QString, QString> links;       // "D3" -> location ("Page_1!A1")
  QByteArray chartXml;                // chart sheets: the chart part
};

class WorkbookReader {
 public:
  explicit WorkbookReader(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    auto parts = ReadZip(f.readAll());
    if (!parts) return;
    parts_ = std::move(*parts);
    readSharedStrings();
    const QMap<QString, QString> rels = relations(QStringLiteral("xl/_rels/workbook.xml.rels"));
    QXmlStreamReader xml(part(QStringLiteral("xl/workbook.xml")));
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement() || xml.name() != QLatin1String("sheet")) continue;
      SheetContents s;
      s.name = xml.attributes().value(QLatin1String("name")).toString();
      const QString target = QStringLiteral("xl/") + rels.value(xml.attributes().value(QLatin1String("r:id")).toString());
      s.isChart = target.contains(QLatin1String("chartsheets/"));
      if (s.isChart) s.chartXml = chartOf(target);
      else readCells(target, s);
      sheets_.push_back(std::move(s));
    }
    ok_ = !sheets_.empty();
  }

  bool ok() const { return ok_; }
  const std::vector<ZipEntry>& parts() const { return parts_; }
  QStringList sheetNames() const {
    QStringList out;
    for (const SheetContents& s : sheets_) out << s.name;
    return out;
  }
  const SheetContents* sheet(const QString& name) const {
    for (const SheetContents& s : sheets_)
      if (s.name == name) return &s;
    return nullptr;
  }

 private:
  QByteArray part(const QString& name) const {
    const ZipEntry* e = FindZipEntry(parts_, name);
    return e ? e->data : QByteArray();
  }
  // Relationship id -> target, relative to the folder of the part the relations belong to.
  QMap<QString, QString> relations(const QString& relsPath) const {
    QMap<QString, QString> out;
    QXmlStreamReader xml(part(relsPath));
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == QLatin1String("Relationship"))
        out.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                   xml.attributes().value(QLatin1String("Target")).toString());
    }
    return out;
  }
  static QString resolve(const QString& fromPart, const QString& target) {
    QString dir = fromPart.left(fromPart.lastIndexOf(QLatin1Char('/')));
    QString t = target;
    while (t.startsWith(QLatin1String("../"))) {
      t.remove(0, 3);
      dir = dir.left(dir.lastIndexOf(QLatin1Char('/')));
    }
    return dir + QLatin1Char('/') + t;
  }
  static QString relsOf(const QString& partPath) {
    const int slash = partPath.lastIndexOf(QLatin1Char('/'));
    return partPath.left(slash) + QStringLiteral("/_rels/") + partPath.mid(slash + 1) + QStringLiteral(".rels");
  }
  QByteArray chartOf(const QString& chartsheet) const {
    const auto sheetRels = relations(relsOf(chartsheet));
    if (sheetRels.isEmpty()) return {};
    const QString drawing = resolve(chartsheet, sheetRels.first());
    const auto drawingRels = relations(relsOf(drawing));
    if (drawingRels.isEmpty()) return {};
    return part(resolve(drawing, drawingRels.first()));
  }
  void readSharedStrings() {
    QXmlStreamReader xml(part(QStringLiteral("xl/sharedStrings.xml")));
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == QLatin1String("si")) strings_ << QString();
      if (xml.isStartElement() && xml.name() == QLatin1String("t") && !strings_.isEmpty())
        strings_.last() += xml.readElementText();
    }
  }
  void readCells(const QString& path, SheetContents& s) const {
    QXmlStreamReader xml(part(path));
    QString ref, type;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == QLatin1String("c")) {
        ref = xml.attributes().value(QLatin1String("r")).toString();
        type = xml.attributes().value(QLatin1String("t")).toString();
      } else if (xml.name() == QLatin1String("v")) {
        const QString v = xml.readElementText();
        s.cells.insert(ref, type == QLatin1String("s") ? strings_.value(v.toInt()) : v);
      } else if (xml.name() == QLatin1String("hyperlink")) {
        s.links.insert(xml.attributes().value(QLatin1String("ref")).toString(),
                       xml.attributes().value(QLatin1String("location")).toString());
      }
    }
  }

  std::vector<ZipEntry> parts_;
  QStringList strings_;
  std::vector<SheetContents> sheets_;
  bool ok_ = false;
};
