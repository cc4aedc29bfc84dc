#include "app/main/tables/help_picture.h"

#include "app/main/dialogs/schematic_figure.h"

#include <QPainter>
#include <QPainterPath>

QWidget* makeHelpPicture(const std::string& tableName, QWidget* parent) {
  if (tableName == "DistLoad" || tableName == "LongDist")
    return new DistributedLoadFigure(parent);
  if (tableName == "SoilStrength")
    return new tarnel::dialogs::SchematicFigure(tarnel::dialogs::SchematicFigure::Kind::Springs,
                                                parent);
  return nullptr;
}

void DistributedLoadFigure::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  const QRectF r = QRectF(rect()).adjusted(12, 14, -12, -14);
  const double wallX = r.left() + r.width() * 0.62;
  const double top = r.top() + 16, bottom = r.bottom() - 6;
  const double excavation = top + (bottom - top) * 0.45;

  // Soil on both sides: backfill up to the top, excavation below the free height.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(222, 204, 160));
  p.drawRect(QRectF(r.left(), top, wallX - r.left(), bottom - top));
  p.drawRect(QRectF(wallX, excavation, r.right() - wallX, bottom - excavation));
  // Wall
  p.setBrush(QColor(90, 90, 100));
  p.drawRect(QRectF(wallX - 3, top - 6, 6, bottom - top + 6));

  // Load diagram on the backfill face: rows give (depth, load); straight lines between.
  const double d[] = {0.0, 0.45, 1.0};
  const double w[] = {0.0, 0.55, 0.85};
  QPainterPath shape;
  shape.moveTo(wallX - 3, top);
  QPolygonF edge;
  for (int i = 0; i < 3; ++i) {
    const QPointF pt(wallX - 3 - w[i] * (wallX - r.left() - 30), top + d[i] * (bottom - top));
    shape.lineTo(pt);
    edge << pt;
  }
  shape.lineTo(wallX - 3, bottom);
  shape.closeSubpath();
  p.setBrush(QColor(200, 60, 50, 70));
  p.setPen(QPen(QColor(180, 40, 30), 1.6));
  p.drawPath(shape);
  for (const QPointF& pt : edge) {
    p.setBrush(QColor(180, 40, 30));
    p.drawEllipse(pt, 3, 3);
    // Arrows pointing at the wall
    p.drawLine(QPointF(pt.x(), pt.y()), QPointF(wallX - 5, pt.y()));
  }
  // Labels
  p.setPen(Qt::black);
  QFont f = font();
  f.setPointSizeF(f.pointSizeF() * 0.9);
  p.setFont(f);
  p.drawText(QRectF(r.left(), r.top() - 10, r.width(), 18), Qt::AlignLeft,
             QStringLiteral("Lateral distributed line load"));
  p.drawText(QRectF(wallX + 8, top - 4, r.right() - wallX - 8, 36), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("Top of wall\n(depth 0)"));
  p.drawText(QRectF(wallX + 8, excavation + 4, r.right() - wallX - 8, 40),
             Qt::AlignLeft | Qt::TextWordWrap, QStringLiteral("Excavation"));
  p.drawText(QRectF(wallX + 8, bottom - 34, r.right() - wallX - 8, 34),
             Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
             QStringLiteral("Depth of\nlast row"));
}
