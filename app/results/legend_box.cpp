#include "app/results/legend_box.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/results/chart_painter.h"
#include "app/results/graph_plot.h"

TLegendBox::TLegendBox(TGraphPlot& plot, QWidget* parent) : QWidget(parent), plot_(plot) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::SizeAllCursor);
  setToolTip(tr("Double-click a name to show or hide its line; drag to move the legend."));
}

QFont TLegendBox::ListFont() const { return ChartWindowFont(LegendFontPixels(plot_, logicalDpiY())); }

int TLegendBox::ItemHeight() const {
  return static_cast<int>(std::lround(1.5 * ListFont().pixelSize()));
}

std::vector<int> TLegendBox::Items() const { return plot_.ActiveLines(); }

QString TLegendBox::ItemText(int row) const {
  const std::vector<int> items = Items();
  if (row < 0 || row >= static_cast<int>(items.size())) return {};
  const int line = items[row];
  QString text = plot_.LegendName(line);
  if (plot_.Line(line).Shown) text += QStringLiteral(" *");
  return text;
}

int TLegendBox::RowAt(QPoint pos) const {
  const int row = (pos.y() - 1) / std::max(ItemHeight(), 1);
  return pos.y() >= 1 && row < static_cast<int>(Items().size()) ? row : -1;
}

void TLegendBox::FitToItems() {
  const QFontMetrics fm(ListFont());
  const std::vector<int> items = Items();
  int widest = 0;
  for (int line : items) widest = std::max(widest, fm.horizontalAdvance(plot_.LegendName(line) + QStringLiteral(" *")));
  resize(widest + logicalDpiX() / 4, static_cast<int>(items.size()) * ItemHeight() + 3);
  KeepInside();
}

void TLegendBox::KeepInside() {
  const QWidget* p = parentWidget();
  if (!p) return;
  const int x = std::clamp(this->x(), 0, std::max(0, p->width() - width()));
  const int y = std::clamp(this->y(), 0, std::max(0, p->height() - height()));
  move(x, y);
}

void TLegendBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::gray);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setFont(ListFont());
  const std::vector<int> items = Items();
  const int ih = ItemHeight();
  for (int row = 0; row < static_cast<int>(items.size()); ++row) {
    p.setPen(TGraphPlot::LineColour(row));
    p.drawText(QRect(logicalDpiX() / 16, 1 + row * ih, width(), ih), Qt::AlignLeft | Qt::AlignVCenter, ItemText(row));
  }
}

void TLegendBox::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  grab_ = e->position().toPoint();
  dragging_ = true;
}

void TLegendBox::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return;
  move(mapToParent(e->position().toPoint()) - grab_);
  KeepInside();
  emit dragged();
}

void TLegendBox::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void TLegendBox::mouseDoubleClickEvent(QMouseEvent* e) {
  const int row = RowAt(e->position().toPoint());
  if (row < 0) return;
  const int line = Items()[row];
  plot_.Line(line).Shown = !plot_.Line(line).Shown;
  update();
  emit shownChanged(line);
}
