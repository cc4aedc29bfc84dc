#include "app/results/profile_painter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPrinter>

QFont ProfileFont() {
  QFont f(QStringLiteral("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(9);
  return f;
}

ProfileMetrics ProfileMetricsFor(const QPaintDevice& device, const QFont& font) {
  ProfileMetrics m;
  m.scale = device.logicalDpiY() / 96.0;
  m.lineHeight = QFontMetricsF(font, &device).height();
  return m;
}

namespace {

bool AxisAligned(const ProfileItem& it) { return it.a.x() == it.b.x() || it.a.y() == it.b.y(); }

}  // namespace

void PaintProfile(QPainter& painter, const ProfileDrawing& d, const QRectF& area, const QFont& font) {
  painter.save();
  painter.fillRect(area, d.background);
  painter.setClipRect(d.frame);
  painter.setFont(font);
  const double textWidth = std::max(d.frame.width(), 1.0) * 2;
  for (const ProfileItem& it : d.items) {
    switch (it.kind) {
      case ProfileItem::Kind::Line:
        // Level and plumb strokes stay crisp on whole pixels; slanted ones are smoothed.
        painter.setRenderHint(QPainter::Antialiasing, !AxisAligned(it));
        painter.setPen(QPen(it.color, it.penWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(it.a, it.b);
        break;
      case ProfileItem::Kind::Polygon:
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(it.fill);
        painter.drawPolygon(it.polygon);
        break;
      case ProfileItem::Kind::Circle:
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(it.color, it.penWidth));
        painter.setBrush(it.fill);
        painter.drawEllipse(it.a, it.radius, it.radius);
        break;
      case ProfileItem::Kind::Text: {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(it.color);
        const double h = QFontMetricsF(font, painter.device()).height() * 1.5;
        const QRectF box = it.centred ? QRectF(it.a.x() - textWidth / 2, it.a.y(), textWidth, h)
                                      : QRectF(it.a.x(), it.a.y(), textWidth, h);
        painter.drawText(box, (it.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop, it.text);
        break;
      }
    }
  }
  painter.restore();
}

void PaintProfileView(QPainter& painter, const ProfileModel& model,
                      const tarnel::model::TProgramData& project, const QRectF& area,
                      const QRectF& frame, const ProfileColors& colors) {
  const QFont font = ProfileFont();
  const ProfileMetrics metrics = ProfileMetricsFor(*painter.device(), font);
  PaintProfile(painter, model.Layout(project, frame, metrics, colors), area, font);
}

QRectF ProfilePrintFrame(const QRectF& page) {
  return QRectF(page.left() + 0.1 * page.width(), page.top() + 0.1 * page.height(), 0.8 * page.width(),
                0.8 * page.height());
}

bool PrintProfile(QPrinter& printer, const ProfileModel& model,
                  const tarnel::model::TProgramData& project) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QString::fromLatin1(kProfilePrintTitle));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
  PaintProfileView(painter, model, project, page, ProfilePrintFrame(page), ProfileColors());
  return painter.end();
}
