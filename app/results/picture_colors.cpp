#include "app/results/picture_colors.h"

#include <QList>

namespace {

QImage blackAndWhite(const QImage& image) {
  const QImage src = image.convertToFormat(QImage::Format_RGB32);
  QImage out(src.size(), QImage::Format_Mono);
  out.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});  // index 0 white, 1 black
  out.setDotsPerMeterX(image.dotsPerMeterX());
  out.setDotsPerMeterY(image.dotsPerMeterY());
  out.fill(0);
  for (int y = 0; y < src.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    uchar* bits = out.scanLine(y);
    for (int x = 0; x < src.width(); ++x) {
      const QRgb p = in[x];
      const bool white = qRed(p) >= 0xE0 && qGreen(p) >= 0xE0 && qBlue(p) >= 0xE0;
      if (!white) bits[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));  // Format_Mono: MSB first
    }
  }
  return out;
}

QList<QRgb> standardSixteen() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

}  // namespace

QStringList PictureColorNames() {
  return {QStringLiteral("Black and White"), QStringLiteral("16 Colors"), QStringLiteral("256 Colors"),
          QStringLiteral("High Color (16 bit)"), QStringLiteral("True Color (24 bit)")};
}

QImage ApplyPictureColors(const QImage& image, int colorsIndex) {
  if (image.isNull()) return image;
  // Without dithering: a chart is flat colours and thin lines, which dither patterns would fray.
  const Qt::ImageConversionFlags flat = Qt::ThresholdDither | Qt::AvoidDither;
  switch (colorsIndex) {
    case 0: return blackAndWhite(image);
    case 1: return image.convertToFormat(QImage::Format_Indexed8, standardSixteen(), flat);
    case 2: return image.convertToFormat(QImage::Format_Indexed8, flat);
    case 3: return image.convertToFormat(QImage::Format_RGB16);
    case 4: return image.convertToFormat(QImage::Format_RGB888);
    default: return image;
  }
}
