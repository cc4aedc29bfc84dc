#include "app/main/tables/table_chart_form.h"

#include "app/chart/curve_chart.h"
#include "app/main/tables/table_model.h"
#include "app/main/text_editor.h"
#include "app/main/user_prompts.h"
#include "app/model/table.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using tarnel::model::ColumnClass;
using tarnel::model::TGridTable;

namespace {

bool numericColumn(const TGridTable& t, int c) {
  if (c < 0 || static_cast<std::size_t>(c) >= t.ColumnCount()) return false;
  const ColumnClass k = t.Column(c).Class();
  return k == ColumnClass::Float || k == ColumnClass::Int;
}

// A table of curve sets (one row per curve, the curve itself in a sub-table) is no curve:
// only a table whose rows are the points of one curve is drawn.
bool drawsCurve(const TGridTable& t) {
  if (!t.Chart() || !numericColumn(t, t.Chart()->xColumn) || !numericColumn(t, t.Chart()->yColumn))
    return false;
  for (std::size_t c = 0; c < t.ColumnCount(); ++c)
    if (t.Column(c).Class() == ColumnClass::Table) return false;
  return true;
}

double numberAt(const TGridTable& t, int c, int row) {
  return t.Column(c).Class() == ColumnClass::Float ? t.Real(c, row) : t.Integer(c, row);
}

QString axisTitle(const TGridTable& t, int c) {
  QStringList parts;
  for (const std::string& l : t.Column(c).HeaderLines(t.Units()))
    parts << QString::fromStdString(l).trimmed();
  return parts.join(QLatin1Char(' '));
}

}  // namespace

TTableChartForm::TTableChartForm(Resolver resolve, QWidget* parent)
    : TTableForm(std::move(resolve), parent) {
  chart_ = new chart::CurveChart(this);
  chart_->setObjectName(QStringLiteral("CurveChart"));
  chart_->setMinimumSize(380, 320);
  // The chart stands beside the grid, so the curve and its rows are read together.
  layout_->removeWidget(grid());
  auto* top = new QHBoxLayout;
  top->addWidget(grid(), 0);
  top->addWidget(chart_, 1);
  layout_->insertLayout(0, top, 1);
  int gridWidth = grid()->verticalHeader()->sizeHint().width() + 2 * grid()->frameWidth() + 24;
  for (int c = 0; c < model()->columnCount(); ++c) gridWidth += grid()->columnWidth(c);
  grid()->setMinimumWidth(gridWidth);
  gridWidth_ = std::max(gridWidth, 420);

  const TGridTable* t = table();
  if (t && t->Chart() && t->Chart()->getDataFromFile) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("File:"), this);
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName(QStringLiteral("CurveFileName"));
    label->setBuddy(fileName_);
    auto* browse = new QPushButton(QStringLiteral("Browse"), this);
    auto* view = new QPushButton(QStringLiteral("View/Edit File"), this);
    auto* read = new QPushButton(QStringLiteral("Read values from File"), this);
    auto* paste = new QPushButton(QStringLiteral("Paste values from  Clipboard (text)"), this);
    row->addWidget(label);
    row->addWidget(fileName_, 1);
    row->addWidget(browse);
    row->addWidget(view);
    auto* row2 = new QHBoxLayout;
    row2->addWidget(read);
    row2->addWidget(paste);
    row2->addStretch(1);
    for (QPushButton* b : {browse, view, read, paste}) b->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &TTableChartForm::browse);
    connect(view, &QPushButton::clicked, this, &TTableChartForm::viewFile);
    connect(read, &QPushButton::clicked, this, &TTableChartForm::readFromFile);
    connect(paste, &QPushButton::clicked, this, &TTableChartForm::pasteFromClipboard);
    layout_->insertLayout(layout_->count() - 1, row);
    layout_->insertLayout(layout_->count() - 1, row2);
  }
  redraw();
}

TTableChartForm::Curve TTableChartForm::curve() const {
  Curve c;
  const TGridTable* t = table();
  if (!t || !t->Chart()) return c;
  const int xc = t->Chart()->xColumn, yc = t->Chart()->yColumn;
  if (!drawsCurve(*t)) return c;
  for (int r = 0; r < t->RowCount(); ++r) c.points << QPointF(numberAt(*t, xc, r), numberAt(*t, yc, r));
  if (c.points.size() >= 2) {
    const double y = c.points.first().y();
    bool same = true;
    for (const QPointF& p : c.points) same = same && p.y() == y;
    if (same) {
      double lo = 0.9 * y, hi = 1.1 * y;
      if (y == 0.0) {
        // 0.9 and 1.1 times zero is no range; a unit band keeps the line visible.
        lo = -1.0;
        hi = 1.0;
      }
      c.fixedY = std::make_pair(std::min(lo, hi), std::max(lo, hi));
      c.points[1].setY(y == 0.0 ? 0.001 : 1.001 * y);
    }
  }
  return c;
}

void TTableChartForm::redraw() {
  const TGridTable* t = table();
  if (!t || !t->Chart()) return;
  const int xc = t->Chart()->xColumn, yc = t->Chart()->yColumn;
  const bool drawable = drawsCurve(*t);
  chart_->setVisible(drawable);
  grid()->setMaximumWidth(drawable ? gridWidth_ : QWIDGETSIZE_MAX);
  if (!drawable) return;
  chart_->setTitles(QString::fromStdString(t->Caption), axisTitle(*t, xc), axisTitle(*t, yc));
  chart_->setCurveName(QString::fromStdString(t->EditorTitle()));
  chart_->setInverted(t->Chart()->invertedXAxis, t->Chart()->invertedYAxis);
  const Curve c = curve();
  chart_->setPoints(c.points, c.fixedY);
}

void TTableChartForm::tableChanged() {
  TTableForm::tableChanged();
  redraw();
}

bool TTableChartForm::readValues(const QString& text) {
  TGridTable* t = table();
  if (!t) return false;
  const int columns = static_cast<int>(t->ColumnCount());
  if (columns < 2) {
    prompts().information(window(), QStringLiteral("There must be at least 2 columns in grid"));
    return false;
  }
  if (!commitEdit()) return false;
  tarnel::model::FillFromCurveText(*t, text.toStdString());
  emit subTablesInvalidated(objectName());
  refresh();
  emit edited();
  return true;
}

void TTableChartForm::readFromFile() {
  const QString path = fileName_ ? fileName_->text().trimmed() : QString();
  QFile f(path);
  if (path.isEmpty() || !f.open(QIODevice::ReadOnly | QIODevice::Text)) {
    prompts().information(window(), QStringLiteral("The file \"%1\" could not be read.").arg(path));
    return;
  }
  readValues(QString::fromLocal8Bit(f.readAll()));
}

void TTableChartForm::pasteFromClipboard() {
  const QString text = QGuiApplication::clipboard()->text();
  if (text.isEmpty()) {
    prompts().information(window(), QStringLiteral("There is no text on the Clipboard"));
    return;
  }
  readValues(text);
}

void TTableChartForm::browse() {
  const auto choice = prompts().openFile(
      window(), QStringLiteral("Open"), fileName_->text(),
      {QStringLiteral("Text Files (*.txt)"), QStringLiteral("Data Files (*.dat)"),
       allFilesFilter()});
  if (!choice.path.isEmpty()) fileName_->setText(choice.path);
}

void TTableChartForm::viewFile() {
  if (fileName_) openInTextEditor(window(), fileName_->text().trimmed());
}
