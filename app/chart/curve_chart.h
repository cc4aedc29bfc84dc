// A chart of one x-y curve as a line with diamond markers, titled axes and a legend; the
// editors of p-y and moment-EI curves preview the rows being entered with it.
#pragma once

#include <QChartView>
#include <QPointF>
#include <QVector>
#include <optional>

class QLineSeries;
class QScatterSeries;
class QCategoryAxis;

namespace chart {

class CurveChart : public QChartView {
  Q_OBJECT
public:
  explicit CurveChart(QWidget* parent = nullptr);

  void setTitles(const QString& chartTitle, const QString& xTitle, const QString& yTitle);
  void setCurveName(const QString& name);
  // Axis directions (a curve table may show depth or deflection growing to the left/down).
  void setInverted(bool x, bool y);
  // Draws the points; `fixedY` pins the y axis to a range instead of fitting the points.
  void setPoints(const QVector<QPointF>& points,
                 std::optional<std::pair<double, double>> fixedY = std::nullopt);

  // What is drawn, for the tests: points, axis ends and the axis labels.
  QVector<QPointF> points() const;
  std::pair<double, double> xRange() const;
  std::pair<double, double> yRange() const;
  QStringList xLabels() const;
  QStringList yLabels() const;

private:
  void fitAxis(QCategoryAxis* axis, double lo, double hi, bool exact);

  QLineSeries* line_;
  QScatterSeries* markers_;
  QCategoryAxis* xAxis_;
  QCategoryAxis* yAxis_;
};

}  // namespace chart
