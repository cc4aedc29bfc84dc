// TTableChartForm: the editor of a curve table. Beside the grid it draws the rows as a
// curve (x column against y column, diamond markers), and, for tables that take their
// points from elsewhere, reads them from a text file or the clipboard.
#pragma once

#include "app/main/tables/table_form.h"

#include <QPointF>
#include <QVector>
#include <optional>

class QLineEdit;
namespace chart {
class CurveChart;
}

class TTableChartForm : public TTableForm {
  Q_OBJECT
public:
  explicit TTableChartForm(Resolver resolve, QWidget* parent = nullptr);

  chart::CurveChart* chart() const { return chart_; }
  QLineEdit* fileNameEdit() const { return fileName_; }

  // The points drawn for the table's rows and the fixed y range, if any (a curve whose
  // rows all have the same y is drawn over 0.9..1.1 times that value, its second point
  // raised to 1.001 times it so the line stays visible).
  struct Curve {
    QVector<QPointF> points;
    std::optional<std::pair<double, double>> fixedY;
  };
  Curve curve() const;

  // Fills the rows from text: one row per line with as many numbers as the grid has
  // columns, at most MaxRows; rows beyond those read are removed.
  bool readValues(const QString& text);
  void readFromFile();
  void pasteFromClipboard();
  void browse();
  void viewFile();

protected:
  // Every change of the table, a refresh included, ends here: the chart is redrawn.
  void tableChanged() override;

private:
  void redraw();
  chart::CurveChart* chart_;
  QLineEdit* fileName_ = nullptr;
  int gridWidth_ = 420;
};
