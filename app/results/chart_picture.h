// A result chart written to a picture file for a report: .png and .bmp pictures, .svg
// drawings and one-page .pdf documents, all painted by the chart's one painting path. The
// chart is laid out as if printed at the given size: margins, text and lines follow the
// pixels per inch, so a picture at 300 ppi looks like one at 72 ppi, only sharper.
#pragma once

#include <QString>
#include <QStringList>

class TGraphPlot;

struct ChartPictureOptions {
  double widthInches = 6;
  double heightInches = 4;
  int pixelsPerInch = 72;
};

// The file types by extension, lower case: png, bmp, svg, pdf.
QStringList ChartPictureFormats();

// Writes the chart at its full ranges into `path` (type from the extension). The file is
// replaced only when the whole picture was written; false with `error` set otherwise.
bool WriteChartPicture(const TGraphPlot& plot, const QString& path,
                       const ChartPictureOptions& options, QString* error);
