#include "app/results/chart_picture.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

#include "app/results/chart_painter.h"
#include "app/results/graph_plot.h"

namespace {

// The window font is 14 pixels on a 96-dpi screen; a picture keeps that size in inches.
constexpr double kScreenDpi = 96;
// Resolution of the drawing coordinates in a PDF (the page is vector graphics).
constexpr int kPdfDpi = 600;

PaintTarget ReportTarget(const QSize& pixels, double dpi) {
  return {QRect(QPoint(0, 0), pixels), dpi, dpi, ChartDevice::Picture,
          kWindowFontPixels * dpi / kScreenDpi};
}

bool Fail(QString* error, const QString& message) {
  if (error) *error = message;
  return false;
}

}  // namespace

QStringList ChartPictureFormats() {
  return {QStringLiteral("png"), QStringLiteral("bmp"), QStringLiteral("svg"), QStringLiteral("pdf")};
}

bool WriteChartPicture(const TGraphPlot& plot, const QString& path,
                       const ChartPictureOptions& options, QString* error) {
  const QString type = QFileInfo(path).suffix().toLower();
  if (!ChartPictureFormats().contains(type))
    return Fail(error, QStringLiteral("Pictures are .png, .bmp, .svg or .pdf files."));
  const int ppi = options.pixelsPerInch;
  const double w = std::round(options.widthInches * ppi), h = std::round(options.heightInches * ppi);
  if (!(w >= 1 && h >= 1) || ppi <= 0)
    return Fail(error, QStringLiteral("The picture must be at least one pixel wide and high."));
  const std::optional<ChartView> view = FullChartView(plot);
  if (!view) return Fail(error, QStringLiteral("The chart's values give no axis range to draw."));

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return Fail(error, QStringLiteral("The file can not be written: ") + file.errorString());

  if (type == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(static_cast<int>(w), static_cast<int>(h)));
    svg.setViewBox(QRect(0, 0, static_cast<int>(w), static_cast<int>(h)));
    svg.setResolution(ppi);
    svg.setTitle(plot.Caption);
    QPainter painter(&svg);
    PaintChart(painter, plot, *view, ReportTarget(svg.size(), ppi));
  } else if (type == QLatin1String("pdf")) {
    QPdfWriter pdf(&file);
    pdf.setTitle(plot.Caption);
    pdf.setResolution(kPdfDpi);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(options.widthInches, options.heightInches), QPageSize::Inch));
    QPainter painter(&pdf);
    const QSize page(static_cast<int>(std::round(options.widthInches * kPdfDpi)),
                     static_cast<int>(std::round(options.heightInches * kPdfDpi)));
    PaintChart(painter, plot, *view, ReportTarget(page, kPdfDpi));
  } else {
    // Sizes beyond what an image can address fail like an allocation that finds no memory.
    QImage image;
    if (w * h <= 2e9 / 4) image = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (image.isNull()) {
      file.cancelWriting();
      return Fail(error, NotEnoughMemoryMessage());
    }
    const int dpm = static_cast<int>(std::lround(ppi / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    {
      QPainter painter(&image);
      PaintChart(painter, plot, *view, ReportTarget(image.size(), ppi));
    }
    QImageWriter writer(&file, type.toLatin1());
    if (!writer.write(image)) {
      file.cancelWriting();
      return Fail(error, QStringLiteral("The picture can not be written: ") + writer.errorString());
    }
  }
  if (!file.commit())
    return Fail(error, QStringLiteral("The file can not be written: ") + file.errorString());
  return true;
}
