// The table editors and the numeric entry field, driven through their widgets: cell entry
// with its messages, Enter navigation, row buttons, choice and sub-table cells, the curve
// editors' chart and reading points from a file or the clipboard.
#include <QtTest>

#include <QAbstractAxis>
#include <QChart>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include "app/chart/axis_numbers.h"
#include "app/chart/curve_chart.h"
#include "app/main/main_form.h"
#include "app/main/tables/table_chart_form.h"
#include "app/main/tables/table_form.h"
#include "app/main/tables/table_model.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"
#include "test_support.h"

using tarnel::model::TGridTable;
using tarnel::model::TProgramData;

namespace {

// Types `text` into the cell and presses Enter, as a user does.
void enterCell(TTableForm* form, int row, int col, const QString& text) {
  TableGrid* grid = form->grid();
  const QModelIndex index = form->model()->index(row, col);
  grid->setCurrentIndex(index);
  grid->edit(index);
  auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
  QVERIFY(editor);
  editor->setText(text);
  QTest::keyClick(editor, Qt::Key_Return);
}

// The chart editor of the first p-y curve of the external curve sets.
TTableChartForm* openFirstCurve(TMainForm& f) {
  f.project()->ApplyExtPY = true;
  f.updateCommands();
  TTableForm* sets = f.showEditor("PYCurves2", [&f] { return f.project() ? &f.project()->PYCurves2() : nullptr; }, true);
  if (!sets) return nullptr;
  sets->openSubTable(sets->model()->index(0, 1));
  return qobject_cast<TTableChartForm*>(f.tableEditor("PYCurves2/1/0"));
}

}  // namespace

class EditorsTest : public QObject {
  Q_OBJECT
private slots:
  void integerCellTakesExpressionsAndRefusesFractions() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableForm* form = f.showTableEditor("PileSect");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Wall Stiffness"));

    enterCell(form, 0, 1, "2*3");
    QCOMPARE(f.project()->PileSect().Integer(1, 0), 6);
    QVERIFY(env.prompts.messages.isEmpty());
    QVERIFY(f.project()->IsModified());
    // Enter from the last row moves to the first row of the next column.
    QCOMPARE(form->grid()->currentIndex(), form->model()->index(0, 2));

    enterCell(form, 0, 1, "2.5");
    QCOMPARE(env.prompts.messages, QStringList{"Entry must be an integer."});
    QCOMPARE(f.project()->PileSect().Integer(1, 0), 6);
    // The cell keeps its editor so the entry can be corrected.
    QVERIFY(form->grid()->indexWidget(form->model()->index(0, 1)));
    QCOMPARE(form->grid()->currentIndex(), form->model()->index(0, 1));
    QTest::qWait(1);
    auto* editor = qobject_cast<QLineEdit*>(form->grid()->indexWidget(form->model()->index(0, 1)));
    editor->setText("");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(env.prompts.messages.last(), QStringLiteral("Entry cannot be blank."));
    QTest::qWait(1);
    editor->setText("12");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(f.project()->PileSect().Integer(1, 0), 12);
  }

  void realCellMessagesAndEnterNavigation() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.project()->PileSect().SetRowCount(3);
    TTableForm* form = f.showTableEditor("PileSect");
    enterCell(form, 0, 3, "1e6*2");
    QCOMPARE(f.project()->PileSect().Real(3, 0), 2e6);
    QCOMPARE(form->grid()->currentIndex(), form->model()->index(1, 3));
    enterCell(form, 2, 3, "abc");
    QCOMPARE(env.prompts.messages.size(), 1);
    QTest::qWait(1);
    // From the last cell of the last column Enter goes back to the first column.
    auto* editor = qobject_cast<QLineEdit*>(form->grid()->indexWidget(form->model()->index(2, 3)));
    editor->setText("5");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(form->grid()->currentIndex(), form->model()->index(0, 0));
  }

  void typingRightAfterClickingTheCurrentCellIsKept() {
    // A user clicks the cell that is already current and types at once: the keys go into
    // the cell, none is lost to the wait for a double click.
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.show();
    TTableForm* form = f.showTableEditor("PileSect");
    QVERIFY(form);
    TableGrid* grid = form->grid();
    const QModelIndex index = form->model()->index(0, 1);
    grid->setCurrentIndex(index);
    grid->setFocus();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    // The keys go where the focus is: the cell's editor once it is open, else the grid.
    QWidget* target = grid->indexWidget(index) ? grid->indexWidget(index) : grid;
    QTest::keyClick(target, Qt::Key_4);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_2);
    QCOMPARE(editor->text(), QStringLiteral("42"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(f.project()->PileSect().Integer(1, 0), 42);
    QVERIFY(env.prompts.messages.isEmpty());
  }

  void choiceColumnFitsItsLongestItem() {
    // Choosing "2 - Stiff Clay with Free Water" in a layer first shown as sand leaves the
    // name readable in the cell.
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableForm* form = f.showTableEditor("NewSoil");
    QVERIFY(form);
    const QModelIndex type = form->model()->index(0, 0);
    QVERIFY(form->model()->isChoice(type));
    const QFontMetrics metrics = form->grid()->fontMetrics();
    int n = 1;
    for (const QString& item : form->model()->choices(type))
      QVERIFY2(form->grid()->columnWidth(0) >
                   metrics.horizontalAdvance(QStringLiteral("%1 - %2").arg(n++).arg(item)),
               qPrintable(item));
  }

  void enterWalksPastASubTableCell() {
    // Typing the layer depths row by row and pressing Enter goes on through the grid; the
    // layer's parameters open with Space (or a click), not with Enter.
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.project()->NewSoil().SetRowCount(2);
    TTableForm* form = f.showTableEditor("NewSoil");
    QVERIFY(form);
    TableGrid* grid = form->grid();
    const int last = form->model()->columnCount() - 1;
    const QModelIndex sub = form->model()->index(0, last);
    QVERIFY(form->model()->isSubTable(sub));
    grid->setCurrentIndex(sub);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentIndex(), form->model()->index(1, last));
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(grid->currentIndex(), form->model()->index(0, 0));
    QVERIFY(!f.tableEditor(QStringLiteral("NewSoil/%1/0").arg(last)));
    QVERIFY(!f.tableEditor(QStringLiteral("NewSoil/%1/1").arg(last)));
    grid->setCurrentIndex(sub);
    QTest::keyClick(grid, Qt::Key_Space);
    QVERIFY(f.tableEditor(QStringLiteral("NewSoil/%1/0").arg(last)));
  }

  void curveSetTablesDrawNoChart() {
    // The moment-EI set table lists node ranges, one curve each: its rows are no curve, so
    // no From-node/To-node chart; the curve of a set is drawn in its own editor.
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.project()->ApplyMEI = true;
    f.updateCommands();
    TTableForm* sets = f.showEditor(
        "MEICurves2", [&f] { return f.project() ? &f.project()->Table("MEICurves2") : nullptr; }, true);
    QVERIFY(sets);
    auto* setsChart = sets->findChild<chart::CurveChart*>("CurveChart");
    QVERIFY(!setsChart || setsChart->isHidden());
    const int last = sets->model()->columnCount() - 1;
    QVERIFY(sets->model()->isSubTable(sets->model()->index(0, last)));
    sets->openSubTable(sets->model()->index(0, last));
    TTableForm* points = f.tableEditor(QStringLiteral("MEICurves2/%1/0").arg(last));
    QVERIFY(points);
    auto* pointsChart = points->findChild<chart::CurveChart*>("CurveChart");
    QVERIFY(pointsChart && !pointsChart->isHidden());
  }

  void rightEndAxisNumberHasRoom() {
    // Moments up to 2.4E6 give an x axis ending at "2.5E6", written half beyond the plot.
    chart::CurveChart c;
    c.setPoints({{0, 5.3e9}, {1.2e6, 5.3e9}, {1.8e6, 3.5e9}, {2.4e6, 1e9}});
    const QString end = c.xLabels().last();
    QCOMPARE(end, QStringLiteral("2.5E6"));
    QFont font = c.chart()->axes(Qt::Horizontal).first()->labelsFont();
    QVERIFY(c.chart()->margins().right() >= QFontMetrics(font).horizontalAdvance(end) / 2);
  }

  void headerShowsCaptionLinesAndUnits() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableForm* form = f.showTableEditor("PileSect");
    const QString ei = form->model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString();
    QVERIFY2(ei.contains('\n'), qPrintable(ei));
    QVERIFY2(ei.endsWith("(lbs-in^2)"), qPrintable(ei));
    QCOMPARE(form->model()->headerData(0, Qt::Vertical, Qt::DisplayRole).toInt(), 1);
    QVERIFY(form->helpLabel()->text().startsWith("The nodal number at the top of the wall is set to be 0."));
  }

  void rowButtonsFollowTheLimits() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableForm* form = f.showTableEditor("PileSect");  // 1..10 rows
    QVERIFY(!form->deleteButton()->isEnabled());
    for (int i = 0; i < 9; ++i) form->addButton()->click();
    QCOMPARE(f.project()->PileSect().RowCount(), 10);
    QVERIFY(!form->addButton()->isEnabled());
    QVERIFY(!form->insertButton()->isEnabled());
    QVERIFY(form->deleteButton()->isEnabled());
    form->grid()->setCurrentIndex(form->model()->index(4, 0));
    form->deleteButton()->click();
    QCOMPARE(f.project()->PileSect().RowCount(), 9);
    form->insertButton()->click();
    QCOMPARE(f.project()->PileSect().RowCount(), 10);

    // A table with as many rows as it may have shows no row buttons.
    f.project()->NewSoil().SetInteger(0, 0, 4);
    TTableForm* soils = f.showTableEditor("NewSoil");
    soils->openSubTable(soils->model()->index(0, 2));
    TTableForm* sand = f.tableEditor("NewSoil/2/0");
    QVERIFY(sand);
    QCOMPARE(sand->windowTitle(), QStringLiteral("Sand 1"));
    QVERIFY(!sand->addButton());
  }

  void choiceCellIsADropDownThatSelectsTheSubTable() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableForm* form = f.showTableEditor("NewSoil");
    form->openSubTable(form->model()->index(0, 2));
    QVERIFY(f.tableEditor("NewSoil/2/0"));
    f.mdiArea()->setActiveSubWindow(f.mdiArea()->subWindowList().first());
    const QModelIndex type = form->model()->index(0, 0);
    form->grid()->setCurrentIndex(type);
    form->grid()->edit(type);
    auto* combo = qobject_cast<QComboBox*>(form->grid()->indexWidget(type));
    QVERIFY(combo);
    QCOMPARE(combo->count(), 7);
    QCOMPARE(combo->itemText(3), QStringLiteral("4 - Sand"));
    combo->setCurrentIndex(4);
    emit combo->activated(4);
    QCOMPARE(f.project()->NewSoil().Integer(0, 0), 5);
    QVERIFY(!f.tableEditor("NewSoil/2/0"));
    QCOMPARE(f.project()->NewSoil().Text(2, 0), std::string("1: Silt"));
    QVERIFY(form->model()->data(form->model()->index(0, 0), Qt::DisplayRole).toString().startsWith("5 - Silt"));
  }

  void longDistNeverDisablesAddRow() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableForm* form = f.showTableEditor("LongDist");
    for (int i = 0; i < 120; ++i) form->addButton()->click();
    QVERIFY(form->addButton()->isEnabled());
  }

  void pastingMoreLinesThanMaxRowsStopsAtMaxRows() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableChartForm* curve = openFirstCurve(f);
    QVERIFY(curve);
    QString text;
    for (int i = 0; i < 25; ++i) text += QStringLiteral("%1\t%2\n").arg(i * 0.1).arg(i * 10);
    QGuiApplication::clipboard()->setText(text);
    curve->pasteFromClipboard();
    const TGridTable& points = f.project()->PYCurves2().SubTable(1, 0);
    QCOMPARE(points.RowCount(), 17);
    QCOMPARE(points.Real(1, 16), 160.0);
    QCOMPARE(curve->chart()->points().size(), 17);

    QGuiApplication::clipboard()->clear();
    curve->pasteFromClipboard();
    QCOMPARE(env.prompts.messages.last(), QStringLiteral("There is no text on the Clipboard"));
  }

  void curveFileWithHeaderLineGivesOneRow() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableChartForm* curve = openFirstCurve(f);
    QVERIFY(curve);
    const QString path = env.scratch() + "/curve.txt";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("deflection resistance\n1.5, 200\n");
    file.close();
    curve->fileNameEdit()->setText(path);
    curve->readFromFile();
    const TGridTable& points = f.project()->PYCurves2().SubTable(1, 0);
    QCOMPARE(points.RowCount(), 1);
    QCOMPARE(points.Real(0, 0), 1.5);
    QCOMPARE(points.Real(1, 0), 200.0);
  }

  void chartKeepsAConstantCurveVisible() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    TTableChartForm* curve = openFirstCurve(f);
    QVERIFY(curve);
    TGridTable& points = f.project()->PYCurves2().SubTable(1, 0);
    points.SetRowCount(3);
    for (int r = 0; r < 3; ++r) {
      points.SetReal(0, r, r);
      points.SetReal(1, r, 50);
    }
    curve->refresh();
    const auto c = curve->curve();
    QVERIFY(c.fixedY);
    QCOMPARE(c.fixedY->first, 45.0);
    QCOMPARE(c.fixedY->second, 55.0);
    QCOMPARE(c.points[1].y(), 50.05);
    QCOMPARE(curve->chart()->yRange().first, 45.0);
    QCOMPARE(curve->chart()->yRange().second, 55.0);
  }

  void axisNumberPatterns_data() {
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouped thousands") << 0.0 << 5000.0 << 1234.5 << "1,234.5";
    QTest::newRow("three decimals at most") << 0.0 << 1.0 << 0.12345 << "0.123";
    QTest::newRow("integers without point") << -10.0 << 10.0 << -5.0 << "-5";
    QTest::newRow("large ends use exponent") << 0.0 << 2e6 << 1.5e6 << "1.5E6";
    QTest::newRow("tiny ends use exponent") << 0.0 << 0.0005 << 0.00025 << "2.5E-4";
    QTest::newRow("both ends zero stay fixed") << 0.0 << 0.0 << 0.0 << "0";
  }
  void axisNumberPatterns() {
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(chart::formatAxisNumber(value, chart::axisPatternFor(lo, hi)), text);
  }

  void dataEditHoldsItsRange() {
    TestEnvironment env;
    QWidget host;
    auto* label = new QLabel(&host);
    auto* edit = new TDataEdit(&host);
    edit->setEditLabel(label);
    edit->setCaption("&Increments (nodes)");
    edit->setIntegerOnly(true);
    edit->setMinVal(1);
    edit->setMaxVal(300);
    edit->setNumber(80);
    QCOMPARE(edit->text(), QStringLiteral("80"));
    edit->setText("500");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(env.prompts.messages, QStringList{"Entry must be less than or equal to 300"});
    QCOMPARE(double(edit->number()), 300.0);
    QCOMPARE(edit->text(), QStringLiteral("300"));
    QVERIFY(!edit->isValid());

    edit->setText("2.5");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(env.prompts.messages.last(), QStringLiteral("Entry must be an integer."));
    QCOMPARE(edit->text(), QStringLiteral("2.5"));

    edit->setText("3*12+6");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(edit->isValid());
    QCOMPARE(edit->text(), QStringLiteral("42"));
    QCOMPARE(edit->selectedText(), QStringLiteral("42"));  // Enter selects the whole text
    // An operator typed over the selected value is appended to it.
    QTest::keyClicks(edit, "*2");
    QCOMPARE(edit->text(), QStringLiteral("42*2"));

    // The label carries the unit label and follows the field's enabling.
    edit->setUnitsString("L2");
    edit->setUnits(2);
    QCOMPARE(label->text(), QStringLiteral("&Increments (nodes) (m)"));
    edit->setEnabled(false);
    QVERIFY(!label->isEnabled());
  }

  void dataEditValidatesOnLeaving() {
    TestEnvironment env;
    QWidget host;
    auto* first = new TDataEdit(&host);
    auto* second = new TDataEdit(&host);
    second->move(0, 40);
    first->setMinVal(1);
    first->setMaxVal(300);
    host.show();
    QApplication::setActiveWindow(&host);
    QVERIFY(QTest::qWaitForWindowActive(&host));
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    first->selectAll();
    QTest::keyClicks(first, "0");
    second->setFocus();
    QCOMPARE(env.prompts.messages, QStringList{"Entry must be greater than or equal to 1"});
    QCOMPARE(first->text(), QStringLiteral("1"));
    // The field takes the focus back after its message.
    QTRY_VERIFY(first->hasFocus());
  }

  void leavingARefusedCellKeepsIt() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    f.project()->PileSect().SetRowCount(2);
    TTableForm* form = f.showTableEditor("PileSect");
    const QModelIndex cell = form->model()->index(0, 0);
    form->grid()->setCurrentIndex(cell);
    form->grid()->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(form->grid()->indexWidget(cell));
    QVERIFY(editor);
    editor->setText("1/0");
    // Moving to another cell stores the entry first; the refusal keeps the cell current.
    form->grid()->setCurrentIndex(form->model()->index(1, 0));
    QCOMPARE(env.prompts.messages.size(), 1);
    QTest::qWait(5);
    QCOMPARE(form->grid()->currentIndex(), cell);
    QVERIFY(form->grid()->indexWidget(cell));
    QCOMPARE(f.project()->PileSect().Integer(0, 0), 0);
  }

  void dataEditLimitsStayOrdered() {
    TestEnvironment env;
    TDataEdit a;
    a.setMinVal(10);
    a.setMaxVal(5);  // below the minimum: taken as the minimum
    QCOMPARE(double(a.maxVal()), 10.0);
    QCOMPARE(double(a.number()), 10.0);  // the value moved into the new range
    TDataEdit b;
    b.setMaxVal(5);
    b.setMinVal(10);  // above the maximum: taken as the maximum
    QCOMPARE(double(b.minVal()), 5.0);
    TDataEdit c;
    c.setIntegerOnly(true);
    QCOMPARE(double(c.minVal()), -2147483648.0);
    QCOMPARE(double(c.maxVal()), 2147483647.0);
  }

  void dataEditHex() {
    TestEnvironment env;
    TDataEdit edit;
    QCOMPARE(edit.text(), QStringLiteral("0"));
    edit.setHex(true);
    edit.setText("255");
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), QStringLiteral("$00FF"));
  }
};

QTEST_MAIN(EditorsTest)
#include "editors_test.moc"
