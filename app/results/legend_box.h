// TLegendBox: the chart window's legend, an owner-drawn list of the active lines' names, each
// in its line's colour on white with " *" after the names of shown lines. Double-clicking a
// name shows or hides its line; dragging moves the box, which stays inside its parent.
//
// The rows are read from the chart at every paint, so the box never holds a stale copy of
// the names; FitToItems sizes it after the names, the active lines or the font changed.
#pragma once

#include <QFont>
#include <QWidget>

class TGraphPlot;

class TLegendBox : public QWidget {
  Q_OBJECT
 public:
  explicit TLegendBox(TGraphPlot& plot, QWidget* parent = nullptr);

  // Height = items x item height + 3; width: the longest name with " *" and a quarter inch.
  void FitToItems();
  // Back inside the parent after the parent was resized.
  void KeepInside();

  // The active lines the rows show, in order, and the text of row `row` (with " *").
  std::vector<int> Items() const;
  QString ItemText(int row) const;
  int ItemHeight() const;
  int RowAt(QPoint pos) const;
  QFont ListFont() const;

 signals:
  // A line was shown or hidden from the legend.
  void shownChanged(int line);
  // The user moved the box.
  void dragged();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;

 private:
  TGraphPlot& plot_;
  QPoint grab_;          // where the box was taken, in its own coordinates
  bool dragging_ = false;
};
