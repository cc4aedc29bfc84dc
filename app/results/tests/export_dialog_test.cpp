// The "Export to Excel" dialog driven as a user drives it: which rows are offered and ticked,
// Select All / Unselect All, the Generate buttons' enabling, and the files it writes.
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/main/tests/scripted_prompts.h"
#include "app/model/program_data.h"
#include "app/results/dialogs/export_dialog.h"
#include "app/results/tests/workbook_reader.h"

namespace {

// One section: three earth-pressure rows, no p-y curves, four wall stations (SI).
constexpr const char* kPlotText =
    " 3\n 0 0 0 0\n 1 10 8 2\n 2 20 16 4\n"
    " 2 0\n"
    " 1 4 2\n"
    " 0 -0.01 0 0 0\n 0.5 -0.008 3 -2 0.1\n 1 -0.005 6 -4 0.2\n 1.5 -0.002 9 -6 0.3\n";

QStringList rowTexts(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

QString ticks(QListWidget* list) {
  QString s;
  for (int i = 0; i < list->count(); ++i) {
    const QListWidgetItem* item = list->item(i);
    s += !(item->flags() & Qt::ItemIsEnabled) ? '-' : item->checkState() == Qt::Checked ? 'x' : 'o';
  }
  return s;
}

}  // namespace

class ExportDialogTest : public QObject {
  Q_OBJECT
  ScriptedPrompts scripted;
  QTemporaryDir dir;
  QString plotFile;
  ResultCharts charts;

  QListWidget* list(TDlgExport& dlg) { return dlg.findChild<QListWidget*>("CheckListBoxPlots"); }
  QPushButton* button(TDlgExport& dlg, const char* name) { return dlg.findChild<QPushButton*>(name); }

 private slots:
  void initTestCase() {
    tarnel::model::TProgramData project;
    project.SetUnits(2);
    QVERIFY(charts.LoadPlotText(kPlotText, project));
    plotFile = dir.filePath("wall.tn5p");
    QFile f(plotFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kPlotText);
  }
  void init() {
    scripted = ScriptedPrompts();
    setPrompts(&scripted);
  }
  void cleanup() { setPrompts(nullptr); }

  void rowsFollowTheGraphicsCommands() {
    TDlgExport dlg(charts, plotFile);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Export to Excel"));
    dlg.show();
    QCOMPARE(rowTexts(list(dlg)), (QStringList{"p-y Curves", "Deflection vs Depth", "Shear vs Depth", "Moment vs Depth",
                                               "Net Reaction vs Depth", "Earth Pressure Distribution",
                                               "Earth Pressure Combined"}));
    // No p-y curves in the file: that row is greyed and unticked, the others ticked.
    QCOMPARE(ticks(list(dlg)), QStringLiteral("-xxxxxx"));
    QVERIFY(button(dlg, "Button3")->isEnabled());

    QTest::mouseClick(button(dlg, "Button2"), Qt::LeftButton);  // Unselect All
    QCOMPARE(ticks(list(dlg)), QStringLiteral("-oooooo"));
    QVERIFY(!button(dlg, "Button3")->isEnabled());
    QVERIFY(!button(dlg, "ButtonCsv")->isEnabled());
    QTest::mouseClick(button(dlg, "Button1"), Qt::LeftButton);  // Select All leaves the greyed row
    QCOMPARE(ticks(list(dlg)), QStringLiteral("-xxxxxx"));

    // Ticking by hand: the greyed row cannot be ticked; one ticked row enables Generate.
    QTest::mouseClick(button(dlg, "Button2"), Qt::LeftButton);
    QListWidget* l = list(dlg);
    const auto tick = [&](int row) {
      const QRect r = l->visualItemRect(l->item(row));
      QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, QPoint(r.left() + r.height() / 2 + 2, r.center().y()));
    };
    tick(0);
    QCOMPARE(ticks(l), QStringLiteral("-oooooo"));
    QVERIFY(!button(dlg, "Button3")->isEnabled());
    tick(3);
    QCOMPARE(ticks(l), QStringLiteral("-ooxooo"));
    QVERIFY(button(dlg, "Button3")->isEnabled());
  }

  void withoutThePlotFileNothingIsOffered() {
    TDlgExport dlg(charts, dir.filePath("gone.tn5p"));
    dlg.show();
    QCOMPARE(ticks(list(dlg)), QStringLiteral("-------"));
    QVERIFY(!button(dlg, "Button3")->isEnabled());
  }

  void generatesTheWorkbook() {
    TDlgExport dlg(charts, plotFile);
    dlg.show();
    QTest::mouseClick(button(dlg, "Button2"), Qt::LeftButton);
    for (int row : {1, 3}) list(dlg)->item(row)->setCheckState(Qt::Checked);  // deflection, moment
    const QString path = dir.filePath("results");  // the suffix is added
    scripted.savePaths << path;
    QTest::mouseClick(button(dlg, "Button3"), Qt::LeftButton);
    QCOMPARE(scripted.proposedSaveNames, QStringList{dir.filePath("wall.xlsx")});
    QVERIFY2(scripted.messages.size() == 1, qPrintable(scripted.messages.join('|')));
    QCOMPARE(scripted.messages.first(),
             QStringLiteral("Export to Excel Completed\nPlease note that you need to save the excel file\n"));
    QCOMPARE(scripted.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path + ".xlsx")});
    QVERIFY(dlg.isVisible());  // the dialog stays open
    WorkbookReader wb(path + ".xlsx");
    QCOMPARE(wb.sheetNames(), (QStringList{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
    QCOMPARE(wb.sheet("Legend")->cells.value("C3"), QStringLiteral("Deflection vs Depth"));
    QCOMPARE(wb.sheet("Legend")->cells.value("C4"), QStringLiteral("Moment vs Depth"));
    QCOMPARE(wb.sheet("Page_2")->cells.value("A9"), QStringLiteral("9"));  // moment at the last station
    QCOMPARE(wb.sheet("Page_1")->cells.value("B2"), QStringLiteral("Deflection (m)"));
  }

  void cancelledOrFailedSaveWritesNothing() {
    TDlgExport dlg(charts, plotFile);
    dlg.show();
    QTest::mouseClick(button(dlg, "Button3"), Qt::LeftButton);  // the save dialog is cancelled
    QVERIFY(scripted.messages.isEmpty());
    const QString bad = dir.filePath("no/such/folder/out.xlsx");
    scripted.savePaths << bad;
    QTest::mouseClick(button(dlg, "Button3"), Qt::LeftButton);
    QCOMPARE(scripted.messages.size(), 1);
    QVERIFY2(scripted.messages.first().startsWith("The workbook " + QDir::toNativeSeparators(bad) + " could not be written"),
             qPrintable(scripted.messages.first()));
    QVERIFY(scripted.openedUrls.isEmpty());
  }

  void generatesCsvFiles() {
    TDlgExport dlg(charts, plotFile);
    dlg.show();
    QTest::mouseClick(button(dlg, "Button2"), Qt::LeftButton);
    for (int row : {2, 6}) list(dlg)->item(row)->setCheckState(Qt::Checked);  // shear, combined
    QTemporaryDir out;
    scripted.savePaths << out.filePath("study.csv");
    QTest::mouseClick(button(dlg, "ButtonCsv"), Qt::LeftButton);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), (QStringList{"study-combined.csv", "study-shear.csv"}));
    QCOMPARE(scripted.messages.size(), 1);
    QVERIFY(scripted.messages.first().startsWith("Export to CSV Completed"));
    QFile f(out.filePath("study-shear.csv"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readLine(), QByteArray("Load #1: Shear (kN),Load #1: Depth (m)\r\n"));
  }
};

QTEST_MAIN(ExportDialogTest)
#include "export_dialog_test.moc"
