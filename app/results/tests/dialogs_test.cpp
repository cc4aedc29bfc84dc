// The chart window's dialogs driven as a user drives them: fields typed into, rows clicked,
// buttons pressed; and the colour reduction of saved pictures.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/main/tests/scripted_prompts.h"
#include "app/results/dialogs/active_lines_dialog.h"
#include "app/results/dialogs/graph_caption_dialog.h"
#include "app/results/dialogs/line_names_dialog.h"
#include "app/results/dialogs/picture_format_dialog.h"
#include "app/results/graph_plot.h"
#include "app/results/picture_colors.h"

namespace {

// A deflection chart of `lines` lines; line 1 (the second) has an explicit name.
void fill(TGraphPlot& plot, int lines) {
  plot.Caption = QStringLiteral("Deflection vs Depth");
  plot.CurveName = QStringLiteral("Load #");
  plot.SetLineCount(lines);
  plot.SetPointCount(3);
  if (lines > 1) plot.Line(1).Name = QStringLiteral("Long-Term");
}

QPushButton* button(QWidget* dialog, const QString& text) {
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

QStringList rows(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

void clickRow(QListWidget* list, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const QRect r = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, r.center());
}

}  // namespace

class ResultDialogsTest : public QObject {
  Q_OBJECT
  ScriptedPrompts scripted;

 private slots:
  void init() {
    scripted = ScriptedPrompts();
    setPrompts(&scripted);
  }
  void cleanup() { setPrompts(nullptr); }

  // ------------------------------------------------------------------ Graph Caption

  void captionShowsAndStoresTitle_data() {
    QTest::addColumn<bool>("viaOk");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
  }
  void captionShowsAndStoresTitle() {
    QFETCH(bool, viaOk);
    TGraphPlot plot;
    plot.GraphTitle = QStringLiteral("Wall A");
    TfrmGraphCaption dlg(plot);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Graph Caption"));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("GraphTitle"));
    auto* top = dlg.findChild<QRadioButton*>(QStringLiteral("Top"));
    auto* bottom = dlg.findChild<QRadioButton*>(QStringLiteral("Bottom"));
    QVERIFY(edit && top && bottom);
    QCOMPARE(edit->text(), QStringLiteral("Wall A"));
    QVERIFY(top->isChecked());

    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Stage 2, excavation to 6 m"));
    QTest::mouseClick(bottom, Qt::LeftButton);
    if (viaOk) QTest::mouseClick(button(&dlg, QStringLiteral("OK")), Qt::LeftButton);
    else dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(plot.GraphTitle, QStringLiteral("Stage 2, excavation to 6 m"));
    QVERIFY(!plot.TitleOnTop);
  }

  void captionEscapeStillStores() {
    TGraphPlot plot;
    plot.TitleOnTop = false;
    TfrmGraphCaption dlg(plot);
    dlg.show();
    auto* top = dlg.findChild<QRadioButton*>(QStringLiteral("Top"));
    QVERIFY(dlg.findChild<QRadioButton*>(QStringLiteral("Bottom"))->isChecked());
    QTest::mouseClick(top, Qt::LeftButton);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QVERIFY(plot.TitleOnTop);
    QCOMPARE(plot.GraphTitle, QString());
  }

  // ------------------------------------------------------------------ Legend

  void legendListsDisplayNamesInLineColours() {
    TGraphPlot plot;
    fill(plot, 4);
    plot.Line(2).Active = false;  // line 3 is now active line k = 2
    TfrmLineNames dlg(plot);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Legend"));
    QCOMPARE(dlg.minimumSize(), QSize(195, 167));
    dlg.show();
    auto* list = dlg.findChild<QListWidget*>(QStringLiteral("Lines"));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("LineName"));
    QVERIFY(list && edit);
    QCOMPARE(rows(list), (QStringList{"Load #1", "Long-Term", "Load #3", "Load #4"}));
    QCOMPARE(edit->text(), QStringLiteral("Load #1"));
    QCOMPARE(edit->palette().color(QPalette::Text), TGraphPlot::LineColour(0));

    clickRow(list, 1);
    QCOMPARE(edit->text(), QStringLiteral("Long-Term"));
    QCOMPARE(edit->palette().color(QPalette::Text), TGraphPlot::LineColour(1));
    clickRow(list, 3);  // the inactive line 3 does not count
    QCOMPARE(edit->palette().color(QPalette::Text), TGraphPlot::LineColour(2));
    clickRow(list, 2);  // inactive: not drawn, so no line colour
    const QColor muted = edit->palette().color(QPalette::Text);
    for (int k = 0; k < 3; ++k) QVERIFY(muted != TGraphPlot::LineColour(k));
    QCOMPARE(list->item(3)->foreground().color(), TGraphPlot::LineColour(2));
  }

  void legendRefusesEmptyNameAndRestores() {
    TGraphPlot plot;
    fill(plot, 3);
    TfrmLineNames dlg(plot);
    dlg.show();
    dlg.activateWindow();  // the focus moves only inside the active window
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* list = dlg.findChild<QListWidget*>(QStringLiteral("Lines"));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("LineName"));
    clickRow(list, 1);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QString());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(scripted.messages, QStringList{"The line must have a name!"});
    QCOMPARE(edit->text(), QStringLiteral("Long-Term"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Long-Term"));
    QVERIFY2(dlg.isVisible(), "Enter in the name field must not close the dialog");

    // Leaving the field empty is refused the same way.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    clickRow(list, 0);
    QCOMPARE(scripted.messages.size(), 2);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Long-Term"));
    QCOMPARE(edit->text(), QStringLiteral("Load #1"));

    QTest::mouseClick(button(&dlg, QStringLiteral("&OK")), Qt::LeftButton);
    QCOMPARE(plot.Line(1).Name, QStringLiteral("Long-Term"));
  }

  void legendOkNamesEveryLineCancelNone_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
  }
  void legendOkNamesEveryLineCancelNone() {
    QFETCH(bool, ok);
    TGraphPlot plot;
    fill(plot, 3);
    TfrmLineNames dlg(plot);
    dlg.show();
    dlg.activateWindow();  // the focus moves only inside the active window
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* list = dlg.findChild<QListWidget*>(QStringLiteral("Lines"));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("LineName"));
    // Line 1 renamed with Enter, line 3 by leaving the field for the list.
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Short-Term"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Short-Term"));
    clickRow(list, 2);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Stage: 3"));
    clickRow(list, 1);
    QCOMPARE(list->item(2)->text(), QStringLiteral("Stage: 3"));
    QCOMPARE(edit->text(), QStringLiteral("Long-Term"));

    QTest::mouseClick(button(&dlg, ok ? QStringLiteral("&OK") : QStringLiteral("Cancel")), Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (ok) {
      // Every main line now carries its name explicitly.
      QCOMPARE(plot.Line(0).Name, QStringLiteral("Short-Term"));
      QCOMPARE(plot.Line(1).Name, QStringLiteral("Long-Term"));
      QCOMPARE(plot.Line(2).Name, QStringLiteral("Stage: 3"));
    } else {
      QCOMPARE(plot.Line(0).Name, QString());
      QCOMPARE(plot.Line(1).Name, QStringLiteral("Long-Term"));
      QCOMPARE(plot.Line(2).Name, QString());
      QCOMPARE(plot.DisplayName(2), QStringLiteral("Load #3"));
    }
    QVERIFY(scripted.messages.isEmpty());
  }

  void legendCancelWithEmptyFieldAsksNothing() {
    TGraphPlot plot;
    fill(plot, 2);
    TfrmLineNames dlg(plot);
    dlg.show();
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("LineName"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::mouseClick(button(&dlg, QStringLiteral("Cancel")), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(scripted.messages.isEmpty());
    QCOMPARE(plot.Line(0).Name, QString());
  }

  void legendOfChartWithoutLines() {
    TGraphPlot plot;
    TfrmLineNames dlg(plot);
    dlg.show();
    auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("LineName"));
    QVERIFY(!edit->isEnabled());
    QTest::mouseClick(button(&dlg, QStringLiteral("&OK")), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(scripted.messages.isEmpty());
  }

  // ------------------------------------------------------------------ Active Curves

  void activeRowsReadYesNo() {
    TGraphPlot plot;
    fill(plot, 3);
    plot.Line(2).Active = false;
    TfrmActiveLines dlg(plot);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Active Curves"));
    auto* list = dlg.findChild<QListWidget*>(QStringLiteral("Curves"));
    QVERIFY(list);
    QCOMPARE(rows(list), (QStringList{" yes :    Load #1", " yes :    Long-Term", " no  :    Load #3"}));
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
  }

  void activeToggleRules_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");  // y / n per line after the action
    QTest::newRow("toggle selected 1 and 3") << "toggle" << "nyyy";
    QTest::newRow("double-click 2") << "double" << "ynny";
    QTest::newRow("activate all") << "all" << "yyyy";
    QTest::newRow("deactivate all") << "none" << "nnnn";
    QTest::newRow("toggle twice") << "twice" << "yyny";
  }
  void activeToggleRules() {
    QFETCH(QString, action);
    QFETCH(QString, expected);
    TGraphPlot plot;
    fill(plot, 4);
    plot.Line(2).Active = false;  // start: y y n y
    TfrmActiveLines dlg(plot);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* list = dlg.findChild<QListWidget*>(QStringLiteral("Curves"));
    auto* toggle = button(&dlg, QStringLiteral("Activate/Deactivate &Selected"));
    QVERIFY(toggle);
    if (action == "toggle" || action == "twice") {
      clickRow(list, 0);
      clickRow(list, 2, Qt::ControlModifier);
      QTest::mouseClick(toggle, Qt::LeftButton);
      if (action == "twice") QTest::mouseClick(toggle, Qt::LeftButton);
    } else if (action == "double") {
      const QPoint at = list->visualItemRect(list->item(1)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    } else {
      QTest::mouseClick(button(&dlg, action == "all" ? QStringLiteral("Activate &All") : QStringLiteral("&Deactivate All")),
                        Qt::LeftButton);
    }
    for (int i = 0; i < 4; ++i)
      QCOMPARE(list->item(i)->text().left(7), expected[i] == 'y' ? QStringLiteral(" yes : ") : QStringLiteral(" no  : "));
    // Nothing reaches the chart before OK.
    QCOMPARE(plot.ActiveLines(), (std::vector<int>{0, 1, 3}));
    QTest::mouseClick(button(&dlg, QStringLiteral("&OK")), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    for (int i = 0; i < 4; ++i) QCOMPARE(plot.Line(i).Active, expected[i] == 'y');
  }

  void activeCancelChangesNothing() {
    TGraphPlot plot;
    fill(plot, 3);
    TfrmActiveLines dlg(plot);
    dlg.show();
    QTest::mouseClick(button(&dlg, QStringLiteral("&Deactivate All")), Qt::LeftButton);
    QTest::mouseClick(button(&dlg, QStringLiteral("Cancel")), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(plot.ActiveLines(), (std::vector<int>{0, 1, 2}));
  }

  // ------------------------------------------------------------------ Save Attributes

  void formatDefaults() {
    TdlgFormat dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Save Attributes"));
    QCOMPARE(dlg.heightInches(), 4.0);
    QCOMPARE(dlg.widthInches(), 6.0);
    QCOMPARE(dlg.pixelsPerInch(), 72);
    QCOMPARE(dlg.colorsIndex(), 1);
    auto* colors = dlg.findChild<QComboBox*>(QStringLiteral("Colors"));
    QStringList names;
    for (int i = 0; i < colors->count(); ++i) names << colors->itemText(i);
    QCOMPARE(names, (QStringList{"Black and White", "16 Colors", "256 Colors", "High Color (16 bit)",
                                 "True Color (24 bit)"}));
    // The default picture: 72 x 6 by 72 x 4 pixels.
    QCOMPARE(QSize(qRound(dlg.pixelsPerInch() * dlg.widthInches()), qRound(dlg.pixelsPerInch() * dlg.heightInches())),
             QSize(432, 288));
  }

  void formatTypedValuesAndMinimums_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("expected");
    QTest::newRow("height 3.5") << "Height" << "3.5" << 3.5;
    QTest::newRow("width 8.25") << "Width" << "8.25" << 8.25;
    QTest::newRow("height below 2") << "Height" << "1.5" << 4.0;  // refused: keeps the old value
    QTest::newRow("width 0") << "Width" << "0" << 6.0;
    QTest::newRow("ppi 300") << "PixelsPerInch" << "300" << 300.0;
    QTest::newRow("ppi below 10") << "PixelsPerInch" << "9" << 72.0;
    QTest::newRow("ppi refuses a point") << "PixelsPerInch" << "12." << 12.0;
  }
  void formatTypedValuesAndMinimums() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(double, expected);
    // A comma locale must not change how the fields read numbers.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TdlgFormat dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* box = dlg.findChild<QAbstractSpinBox*>(field);
    QVERIFY(box);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Tab);  // leaving the field fixes its value
    const double got = field == "Height"  ? dlg.heightInches()
                       : field == "Width" ? dlg.widthInches()
                                          : double(dlg.pixelsPerInch());
    QLocale::setDefault(before);
    QCOMPARE(got, expected);
    QVERIFY(dlg.heightInches() >= 2 && dlg.widthInches() >= 2 && dlg.pixelsPerInch() >= 10);
  }

  void formatOkAndCancel() {
    TdlgFormat dlg;
    dlg.show();
    auto* colors = dlg.findChild<QComboBox*>(QStringLiteral("Colors"));
    colors->setCurrentIndex(4);
    QCOMPARE(dlg.colorsIndex(), 4);
    QTest::keyClick(&dlg, Qt::Key_Return);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    TdlgFormat again;
    again.show();
    QTest::keyClick(&again, Qt::Key_Escape);
    QCOMPARE(again.result(), int(QDialog::Rejected));
  }

  // ------------------------------------------------------------------ picture colours

  void colorsFormats_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("format");
    QTest::newRow("black and white") << 0 << int(QImage::Format_Mono);
    QTest::newRow("16") << 1 << int(QImage::Format_Indexed8);
    QTest::newRow("256") << 2 << int(QImage::Format_Indexed8);
    QTest::newRow("high colour") << 3 << int(QImage::Format_RGB16);
    QTest::newRow("true colour") << 4 << int(QImage::Format_RGB888);
    QTest::newRow("unknown keeps") << 7 << int(QImage::Format_ARGB32_Premultiplied);
  }
  void colorsFormats() {
    QFETCH(int, index);
    QFETCH(int, format);
    QImage img(40, 17, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    img.setDotsPerMeterX(2835);
    const QImage out = ApplyPictureColors(img, index);
    QCOMPARE(int(out.format()), format);
    QCOMPARE(out.size(), img.size());
    QCOMPARE(out.pixel(5, 5), qRgb(255, 255, 255));
    if (index == 1) QCOMPARE(out.colorCount(), 16);
    QVERIFY(ApplyPictureColors(QImage(), index).isNull());
  }

  // Each of the 17 line colours as a stripe on white, with an anti-aliased fringe.
  void colorsKeepLines() {
    QImage img(17 * 4, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int k = 0; k < 17; ++k)
      for (int y = 0; y < 8; ++y) img.setPixel(4 * k + 1, y, TGraphPlot::LineColour(k).rgb());
    img.setPixel(0, 9, qRgb(0xF4, 0xF4, 0xF4));  // the faint edge of a glyph
    img.setPixel(1, 9, qRgb(0x90, 0x90, 0x90));  // its darker part

    const QImage bw = ApplyPictureColors(img, 0);
    for (int k = 0; k < 17; ++k) {
      QCOMPARE(bw.pixel(4 * k + 1, 3), qRgb(0, 0, 0));  // yellow and aqua too
      QCOMPARE(bw.pixel(4 * k + 2, 3), qRgb(255, 255, 255));
    }
    QCOMPARE(bw.pixel(0, 9), qRgb(255, 255, 255));
    QCOMPARE(bw.pixel(1, 9), qRgb(0, 0, 0));

    for (int index : {1, 2, 4}) {
      const QImage out = ApplyPictureColors(img, index);
      for (int k = 0; k < 17; ++k) QCOMPARE(QColor(out.pixel(4 * k + 1, 3)), TGraphPlot::LineColour(k));
      QCOMPARE(out.pixel(2, 3), qRgb(255, 255, 255));
    }
    const QImage sixteen = ApplyPictureColors(img, 1);
    QCOMPARE(sixteen.pixel(0, 9), qRgb(255, 255, 255));  // nearest standard colour
    QCOMPARE(sixteen.pixel(1, 9), qRgb(128, 128, 128));

    const QImage high = ApplyPictureColors(img, 3);
    for (int k = 0; k < 17; ++k) {
      const QColor want = TGraphPlot::LineColour(k), got(high.pixel(4 * k + 1, 3));
      QVERIFY(std::abs(got.red() - want.red()) <= 8 && std::abs(got.green() - want.green()) <= 4 &&
              std::abs(got.blue() - want.blue()) <= 8);
    }
  }

  void colorsOfManyShadesStayIndexed() {
    QImage img(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) img.setPixel(x, y, qRgb(x * 4, y * 4, 128));
    const QImage out = ApplyPictureColors(img, 2);
    QCOMPARE(out.format(), QImage::Format_Indexed8);
    QVERIFY(out.colorCount() <= 256);
    const QColor corner(out.pixel(63, 63));
    QVERIFY(std::abs(corner.red() - 252) <= 52 && std::abs(corner.green() - 252) <= 52);
  }

  // What the chart window writes: the reduced picture survives the bitmap writer.
  void colorsWrittenAsBitmap_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("depth");
    QTest::newRow("black and white") << 0 << 1;
    QTest::newRow("16") << 1 << 4;  // the writer packs 16 colours in 4 bits
    QTest::newRow("256") << 2 << 8;
    QTest::newRow("true colour") << 4 << 24;
  }
  void colorsWrittenAsBitmap() {
    QFETCH(int, index);
    QFETCH(int, depth);
    QImage img(432, 288, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 10; x < 400; ++x) img.setPixel(x, 100, qRgb(0, 0, 255));
    for (int g = 0; g < 40; ++g) img.setPixel(g, 200, qRgb(g, g, g));  // more than 16 colours
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.bmp"));
    QVERIFY(ApplyPictureColors(img, index).save(path, "BMP"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(30);
    QCOMPARE(int(uchar(head[28])) | (int(uchar(head[29])) << 8), depth);  // biBitCount
    const QImage back(path);
    QCOMPARE(back.size(), QSize(432, 288));
    QCOMPARE(back.pixel(200, 100), index == 0 ? qRgb(0, 0, 0) : qRgb(0, 0, 255));
    QCOMPARE(back.pixel(200, 50), qRgb(255, 255, 255));
  }
};

QTEST_MAIN(ResultDialogsTest)
#include "dialogs_test.moc"
