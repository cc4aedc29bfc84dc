#include "app/results/profile_picture.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "app/results/profile_painter.h"

namespace {

// Pictures beyond this many pixels a side are refused rather than allocated.
constexpr double kMaxPixels = 20000;

void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}

QString Suffix(const QString& path) { return QFileInfo(path).suffix().toLower(); }

}  // namespace

QImage RenderProfileImage(const ProfileModel& model, const tarnel::model::TProgramData& project,
                          const QSize& size, int ppi, const ProfileColors& colors) {
  if (size.isEmpty() || size.width() > kMaxPixels || size.height() > kMaxPixels) return QImage();
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return image;
  const int dpm = static_cast<int>(std::lround(ppi / 0.0254));
  image.setDotsPerMeterX(dpm);
  image.setDotsPerMeterY(dpm);
  QPainter painter(&image);
  const QRectF all(QPointF(0, 0), QSizeF(size));
  PaintProfileView(painter, model, project, all, all, colors);
  return image;
}

bool SaveProfileImage(const QImage& image, const QString& path, QString* error) {
  const QString suffix = Suffix(path);
  if (suffix != QLatin1String("png") && suffix != QLatin1String("bmp")) {
    SetError(error, QStringLiteral("Unknown picture type \"%1\": use .png or .bmp").arg(path));
    return false;
  }
  if (image.isNull() || !image.save(path, suffix == QLatin1String("png") ? "PNG" : "BMP")) {
    SetError(error, QStringLiteral("Cannot write the picture \"%1\"").arg(path));
    return false;
  }
  return true;
}

bool WriteProfilePicture(const tarnel::model::TProgramData& project, const QString& path,
                         double widthIn, double heightIn, int ppi, QString* error) {
  if (!(widthIn > 0) || !(heightIn > 0) || !std::isfinite(widthIn) || !std::isfinite(heightIn) ||
      ppi < 10 || ppi > 2400) {
    SetError(error, QStringLiteral("The picture needs a positive width and height (inches) and 10 to "
                                   "2400 pixels per inch"));
    return false;
  }
  const double w = widthIn * ppi, h = heightIn * ppi;
  if (w > kMaxPixels || h > kMaxPixels) {
    SetError(error, QStringLiteral("The picture would be larger than %1 pixels a side").arg(kMaxPixels));
    return false;
  }
  const QSize size(std::max(1, static_cast<int>(std::lround(w))), std::max(1, static_cast<int>(std::lround(h))));
  ProfileModel model;
  model.Rebuild(project);
  const QString suffix = Suffix(path);
  const QRectF all(QPointF(0, 0), QSizeF(size));
  if (suffix == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(all);
    svg.setResolution(ppi);
    svg.setTitle(QString::fromLatin1(kProfilePrintTitle));
    QPainter painter;
    if (!painter.begin(&svg)) {
      SetError(error, QStringLiteral("Cannot write the picture \"%1\"").arg(path));
      return false;
    }
    PaintProfileView(painter, model, project, all, all);
    painter.end();
    if (!QFileInfo(path).isFile()) {
      SetError(error, QStringLiteral("Cannot write the picture \"%1\"").arg(path));
      return false;
    }
    return true;
  }
  if (suffix == QLatin1String("pdf")) {
    QPdfWriter pdf(path);
    pdf.setTitle(QString::fromLatin1(kProfilePrintTitle));
    pdf.setResolution(ppi);
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(widthIn, heightIn), QPageSize::Inch),
                                  QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf)) {
      SetError(error, QStringLiteral("Cannot write the picture \"%1\"").arg(path));
      return false;
    }
    const QRectF page(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));
    PaintProfileView(painter, model, project, page, page);
    return painter.end();
  }
  if (suffix != QLatin1String("png") && suffix != QLatin1String("bmp")) {
    SetError(error, QStringLiteral("Unknown picture type \"%1\": use .png, .bmp, .svg or .pdf").arg(path));
    return false;
  }
  const QImage image = RenderProfileImage(model, project, size, ppi);
  if (image.isNull()) {
    SetError(error, QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                        .arg(size.width())
                        .arg(size.height()));
    return false;
  }
  return SaveProfileImage(image, path, error);
}
