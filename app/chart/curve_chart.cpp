#include "curve_chart.h"

#include "axis_numbers.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <algorithm>

namespace chart {

CurveChart::CurveChart(QWidget* parent) : QChartView(parent) {
  auto* c = new QChart;
  c->setMargins(QMargins(4, 4, 4, 4));
  line_ = new QLineSeries(c);
  markers_ = new QScatterSeries(c);
  markers_->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
  markers_->setMarkerSize(9.0);
  QPen pen(QColor(0, 70, 160));
  pen.setWidthF(1.6);
  line_->setPen(pen);
  markers_->setColor(QColor(0, 70, 160));
  markers_->setBorderColor(QColor(0, 40, 110));
  c->addSeries(line_);
  c->addSeries(markers_);
  xAxis_ = new QCategoryAxis(c);
  yAxis_ = new QCategoryAxis(c);
  QFont titleFont = c->font();
  titleFont.setPointSizeF(std::max(7.0, titleFont.pointSizeF() * 0.85));
  titleFont.setBold(true);
  for (QCategoryAxis* a : {xAxis_, yAxis_}) {
    a->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    a->setGridLineVisible(true);
    a->setTitleFont(titleFont);
  }
  c->addAxis(xAxis_, Qt::AlignBottom);
  c->addAxis(yAxis_, Qt::AlignLeft);
  for (QXYSeries* s : {static_cast<QXYSeries*>(line_), static_cast<QXYSeries*>(markers_)}) {
    s->attachAxis(xAxis_);
    s->attachAxis(yAxis_);
  }
  c->legend()->setAlignment(Qt::AlignBottom);
  const auto scatterMarkers = c->legend()->markers(markers_);
  for (QLegendMarker* m : scatterMarkers) m->setVisible(false);
  setChart(c);
  setRenderHint(QPainter::Antialiasing);
  setMinimumSize(300, 300);
}

void CurveChart::setTitles(const QString& chartTitle, const QString& xTitle,
                           const QString& yTitle) {
  chart()->setTitle(chartTitle);
  xAxis_->setTitleText(xTitle);
  yAxis_->setTitleText(yTitle);
}

void CurveChart::setCurveName(const QString& name) { line_->setName(name); }

void CurveChart::setInverted(bool x, bool y) {
  xAxis_->setReverse(x);
  yAxis_->setReverse(y);
}

void CurveChart::fitAxis(QCategoryAxis* axis, double lo, double hi, bool exact) {
  for (const QString& l : axis->categoriesLabels()) axis->remove(l);
  double a = lo, b = hi;
  std::vector<double> ticks;
  if (exact) {
    const double step = (b - a) / 4.0;
    ticks = {a, a + step, a + 2 * step, a + 3 * step, b};
  } else {
    ticks = niceTicks(a, b);
  }
  const AxisPattern p = axisPatternFor(a, b);
  axis->setStartValue(a);
  axis->setRange(a, b);
  for (double t : ticks) {
    QString label = formatAxisNumber(t, p);
    // Category labels must be unique; a repeat gets an invisible suffix.
    while (axis->categoriesLabels().contains(label)) label += QChar(0x200B);
    axis->append(label, t);
  }
}

void CurveChart::setPoints(const QVector<QPointF>& points,
                           std::optional<std::pair<double, double>> fixedY) {
  line_->replace(points);
  markers_->replace(points);
  double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
  if (!points.isEmpty()) {
    auto [mnx, mxx] = std::minmax_element(points.begin(), points.end(),
                                          [](auto& a, auto& b) { return a.x() < b.x(); });
    auto [mny, mxy] = std::minmax_element(points.begin(), points.end(),
                                          [](auto& a, auto& b) { return a.y() < b.y(); });
    x0 = mnx->x(); x1 = mxx->x(); y0 = mny->y(); y1 = mxy->y();
  }
  fitAxis(xAxis_, x0, x1, false);
  // The number at the right end of the x axis is centred on the plot's edge: leave room for
  // its right half so that "2.5E6" does not lose its last digit.
  const QStringList xs = xAxis_->categoriesLabels();
  const QString rightEnd = xs.isEmpty() ? QString() : (xAxis_->isReverse() ? xs.first() : xs.last());
  const int half = QFontMetrics(xAxis_->labelsFont()).horizontalAdvance(rightEnd) / 2;
  QMargins m = chart()->margins();
  m.setRight(std::max(4, half + 4));
  chart()->setMargins(m);
  if (fixedY)
    fitAxis(yAxis_, std::min(fixedY->first, fixedY->second),
            std::max(fixedY->first, fixedY->second), true);
  else
    fitAxis(yAxis_, y0, y1, false);
}

QVector<QPointF> CurveChart::points() const { return line_->points(); }
std::pair<double, double> CurveChart::xRange() const { return {xAxis_->min(), xAxis_->max()}; }
std::pair<double, double> CurveChart::yRange() const { return {yAxis_->min(), yAxis_->max()}; }
QStringList CurveChart::xLabels() const { return xAxis_->categoriesLabels(); }
QStringList CurveChart::yLabels() const { return yAxis_->categoriesLabels(); }

}  // namespace chart
