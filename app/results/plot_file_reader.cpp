// Reading of the plot file into the result charts.
//
// The file is a stream of numbers; only their order matters. Per result section: the earth
// pressure (a count, then rows of depth, total, from soils, from surcharges), the units code
// and the p-y curves (count; per curve its depth or station, a point count and the points),
// then the wall results (section count, station count, units code repeated, rows of depth,
// deflection, moment, shear, net reaction). The first section's count of sections decides
// how many sections are read. English results are shown in feet and kips.
#include <QFile>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/model/program_data.h"
#include "app/model/word_reader.h"
#include "app/results/result_charts.h"

using tarnel::model::ReadError;
using tarnel::model::TProgramData;
using tarnel::model::TWordReader;

namespace {

constexpr double kInchesPerFoot = 12.0;
constexpr double kPerKip = 1000.0;  // lb in a kip
// A point left at (0, 0) by a shorter section: both coordinates below this.
constexpr double kUnfilled = 1e-7;
// Fewest numbers a result section can hold: the earth-pressure count, the units code and
// p-y count, and the three numbers of the results head.
constexpr std::size_t kSectionMinWords = 6;

constexpr std::array<ChartId, 4> kWallCharts = {ChartId::Def, ChartId::Mom, ChartId::Shear,
                                                ChartId::Soil};
constexpr std::array<LineList, 3> kPanels = {LineList::Main, LineList::Panel2, LineList::Panel3};

class PlotFileReader {
 public:
  PlotFileReader(ResultCharts& charts, const TProgramData& project, TWordReader& words)
      : c_(charts), project_(project), r_(words) {}

  void Read() {
    EmptyCharts();
    ReadSection(0);
    for (int k = 1; k < running_; ++k) {
      c_.pltLD().SetLineCount(running_);
      ReadSection(k);
      NameLines();
    }
    EvenOutDepthCharts();
    SetCaptions();
    for (int i = 0; i < kChartCount; ++i) c_.Chart(static_cast<ChartId>(i)).SetUnits(units_);
  }

 private:
  // A count of items of `perItem` numbers each. A count larger than the rest of the file
  // can hold is cut to one item more than it holds: the reading then runs out of numbers
  // in that item, as in any file that ends early, having stored what there was and without
  // making room for items that are not there.
  int ReadCount(std::size_t perItem) {
    const int n = r_.ReadInteger();
    if (n < 0) r_.Fail("A count was expected but the number is negative.");
    return static_cast<int>(std::min<std::size_t>(n, r_.WordsRemaining() / perItem + 1));
  }

  void EmptyCharts() {
    for (int i = 0; i < kChartCount; ++i) c_.Chart(static_cast<ChartId>(i)).ClearPoints();
    c_.pltLD().SetLineCount(1);
    c_.PltCombine().SetLineCount(3);
    // The soil strip is rebuilt from the project with the first section's stations.
    c_.pltDMS().SetLineCount(0, LineList::Layers);
    c_.pltDMS().WallLineCount = 0;
    c_.PltCombine().Line(0).Name = QStringLiteral("Total Earth Pressure");
    c_.PltCombine().Line(1).Name = QStringLiteral("from Soils ");
    c_.PltCombine().Line(2).Name = QStringLiteral("from Surcharge Loads");
  }

  void ReadSection(int k) {
    const bool first = k == 0;
    TGraphPlot& ld = c_.pltLD();
    TGraphPlot& combine = c_.PltCombine();

    // Earth pressure.
    const int nEP = ReadCount(4);
    maxEP_ = std::max(maxEP_, nEP);
    ld.SetPointCount(first ? nEP : std::max(ld.PointCount(), nEP));
    if (first) combine.SetPointCount(nEP);
    const double combineDepth = project_.Units == 1 ? kInchesPerFoot : 1.0;
    for (int j = 0; j < nEP; ++j) {
      const double depth = Real(), total = Real(), soils = Real(), surcharge = Real();
      ld.Point(k, j) = {total, depth};
      if (first) {
        combine.Point(0, j) = {total, depth / combineDepth};
        combine.Point(1, j) = {soils, depth / combineDepth};
        combine.Point(2, j) = {surcharge, depth / combineDepth};
      }
    }
    const int u = r_.ReadInteger();
    units_ = u;
    if (u == 1)
      for (int j = 0; j < nEP; ++j) ld.Point(k, j).Y /= kInchesPerFoot;

    ReadCurves();

    // Wall results.
    const int lines = std::max(1, ReadCount(kSectionMinWords));
    if (first) {
      running_ = lines;
      SetWallLineCount(lines);
    } else if (lines > c_.pltDef().LineCount()) {
      SetWallLineCount(lines);
    }
    const int nPts = ReadCount(5);
    maxPts_ = std::max(maxPts_, nPts);
    SetWallPointCount(first ? nPts : std::max(c_.pltDef().PointCount(), nPts));
    r_.ReadInteger();  // the units code once more
    const bool english = u == 1;
    TGraphPlot& dms = c_.pltDMS();
    for (int j = 0; j < nPts; ++j) {
      double depth = Real(), deflection = Real(), moment = Real(), shear = Real();
      const double reaction = Real();
      if (english) {
        depth /= kInchesPerFoot;
        moment /= kPerKip;
        shear /= kPerKip;
      }
      c_.pltDef().Point(k, j) = {deflection, depth};
      c_.pltMom().Point(k, j) = {moment, depth};
      c_.pltShear().Point(k, j) = {shear, depth};
      c_.pltSoil().Point(k, j) = {reaction, depth};
      dms.Point(k, j, LineList::Main) = {deflection, depth};
      dms.Point(k, j, LineList::Panel2) = {moment, depth};
      dms.Point(k, j, LineList::Panel3) = {shear, depth};
    }
    if (first) {
      dms.ShowThree = true;
      if (nPts > 0) BuildLayerLines();
    }
  }

  // The p-y curves of a section replace those of the section before.
  void ReadCurves() {
    TGraphPlot& py = c_.pltPY();
    const int nPY = ReadCount(2);
    struct Curve {
      double number;
      std::vector<TFloatPoint> points;
    };
    std::vector<Curve> curves;
    curves.reserve(nPY);
    std::size_t largest = 0;
    for (int i = 0; i < nPY; ++i) {
      Curve curve{Real(), {}};
      const int np = ReadCount(2);
      curve.points.reserve(np);
      for (int j = 0; j < np; ++j) {
        const double y = Real(), p = Real();
        curve.points.push_back({y, p});
      }
      largest = std::max(largest, curve.points.size());
      curves.push_back(std::move(curve));
    }
    py.SetLineCount(nPY);
    py.SetPointCount(static_cast<int>(largest));
    for (int i = 0; i < nPY; ++i) {
      TLine& line = py.Line(i);
      line.Number = curves[i].number;
      const auto& pts = curves[i].points;
      for (std::size_t j = 0; j < largest; ++j)
        line.Points[j] = pts.empty() ? TFloatPoint{} : pts[std::min(j, pts.size() - 1)];
    }
  }

  void SetWallLineCount(int n) {
    for (ChartId id : kWallCharts) c_.Chart(id).SetLineCount(n);
    for (LineList list : kPanels) c_.pltDMS().SetLineCount(n, list);
  }

  void SetWallPointCount(int n) {
    for (ChartId id : kWallCharts) c_.Chart(id).SetPointCount(n);
    for (LineList list : kPanels) c_.pltDMS().SetPointCount(n, list);
  }

  // One line a soil layer (its soil code and the depth of its bottom), then the wall's tip
  // and the excavation level: the soil strip of the three-panel chart.
  void BuildLayerLines() {
    TGraphPlot& dms = c_.pltDMS();
    const auto& soils = project_.Table("NewSoil");
    const int layers = soils.RowCount();
    dms.SetLineCount(0, LineList::Layers);
    dms.SetLineCount(layers + 2, LineList::Layers);
    dms.SetPointCount(1, LineList::Layers);
    for (int j = 0; j < layers; ++j) {
      TLine& line = dms.Line(j, LineList::Layers);
      int code = 0;
      switch (soils.Integer(0, j)) {
        case 1: case 2: case 3: line.Name = QStringLiteral(" CLAY "); code = 1; break;
        case 4: line.Name = QStringLiteral(" SAND "); code = 7; break;
        case 5: line.Name = QStringLiteral(" SILT "); code = 8; break;
        case 6: line.Name = QStringLiteral("STRONG ROCK"); code = 9; break;
        case 7: line.Name = QStringLiteral("WEAK ROCK"); code = 10; break;
        default: line.Name = QStringLiteral("LAYER ") + QString::number(j + 1); break;
      }
      line.Points[0] = {static_cast<double>(code), soils.Real(1, j)};
    }
    dms.WallLineCount = layers;
    const double scale = project_.Units == 1 ? kInchesPerFoot : 1.0;
    const double tip = project_.Increments * project_.IncrementLength / scale;
    const double excavation = project_.FreeHeight / scale;
    for (int w = 0; w < 2; ++w) {
      TLine& line = dms.Line(layers + w, LineList::Layers);
      line.Name = QStringLiteral("PILE");
      line.Points[0] = {0.0, w == 0 ? tip : excavation};
    }
  }

  void NameLines() {
    const bool longTerm = project_.LongTerm;
    for (ChartId id : {ChartId::Def, ChartId::Mom, ChartId::Shear, ChartId::Soil, ChartId::DMS}) {
      TGraphPlot& plot = c_.Chart(id);
      for (int i = 0; i < plot.LineCount(); ++i) {
        if (longTerm && i < 2)
          plot.Line(i).Name = i == 0 ? QStringLiteral("Short-Term") : QStringLiteral("Long-Term");
        else
          plot.Line(i).Name = QStringLiteral("Stage: ") + QString::number(i + 1);
      }
    }
  }

  // Shorter sections end by repeating their last point down to the longest one.
  void EvenOutDepthCharts() {
    TGraphPlot& ld = c_.pltLD();
    ld.SetLineCount(std::max(ld.LineCount(), running_));
    ld.SetPointCount(std::max(ld.PointCount(), maxEP_));
    SetWallLineCount(std::max(c_.pltDef().LineCount(), running_));
    SetWallPointCount(std::max(c_.pltDef().PointCount(), maxPts_));
    auto evenOut = [](TGraphPlot& plot, LineList list) {
      for (TLine& line : plot.Lines(list))
        for (std::size_t j = 1; j < line.Points.size(); ++j) {
          TFloatPoint& p = line.Points[j];
          if (std::fabs(p.X) < kUnfilled && std::fabs(p.Y) < kUnfilled) p = line.Points[j - 1];
        }
    };
    evenOut(ld, LineList::Main);
    for (ChartId id : kWallCharts) evenOut(c_.Chart(id), LineList::Main);
    for (LineList list : kPanels) evenOut(c_.pltDMS(), list);
  }

  void SetCaptions() {
    const bool english = units_ == 1;
    const QString depth = english ? QStringLiteral("Depth (ft)") : QStringLiteral("Depth (m)");
    c_.pltDef().YCaption = depth;
    c_.pltSoil().YCaption = depth;
    c_.pltLD().YCaption = depth;
    c_.pltMom().XCaption = english ? QStringLiteral("Bending Moment (in-kips)")
                                   : QStringLiteral("Bending Moment (m-kN)");
    c_.pltMom().YCaption = depth;
    c_.pltShear().XCaption = english ? QStringLiteral("Shear (kips)") : QStringLiteral("Shear (kN)");
    c_.pltShear().YCaption = depth;
    TGraphPlot& dms = c_.pltDMS();
    dms.XCaption = c_.pltDef().XCaption;
    dms.YCaption = c_.pltDef().YCaption;
    dms.XUnits = c_.pltDef().XUnits;
    dms.XCaption2 = c_.pltMom().XCaption;
    dms.YCaption2 = c_.pltMom().YCaption;
    dms.XUnits2 = c_.pltMom().XUnits;
    dms.XCaption3 = c_.pltShear().XCaption;
    dms.YCaption3 = c_.pltShear().YCaption;
    dms.XUnits3 = c_.pltShear().XUnits;
  }

  double Real() { return static_cast<double>(r_.ReadReal()); }

  ResultCharts& c_;
  const TProgramData& project_;
  TWordReader& r_;
  int running_ = 1;  // sections to read: the first section's count, at least 1
  int maxEP_ = 0;
  int maxPts_ = 0;
  int units_ = 1;
};

}  // namespace

bool ResultCharts::LoadPlotText(std::string_view text, const TProgramData& project,
                                QString* error) {
  TWordReader words = TWordReader::FromText(text);
  PlotsLoaded = false;
  try {
    PlotFileReader(*this, project, words).Read();
    PlotsLoaded = true;
  } catch (const ReadError& e) {
    QString message = QString::fromStdString(e.what());
    // The end of the text has no item to name: say where the file ends instead.
    if (message == QLatin1String(tarnel::model::kIncompleteFileMessage))
      message += QStringLiteral(" The plot file ends at line %1.")
                     .arg(std::count(text.begin(), text.end(), '\n') + (text.empty() || text.back() == '\n' ? 0 : 1));
    if (error) *error = message;
  } catch (const std::bad_alloc&) {
    if (error) *error = QStringLiteral("The plot file is too large to be shown.");
  }
  return PlotsLoaded;
}

bool ResultCharts::LoadPlotFile(const QString& path, const TProgramData& project, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    PlotsLoaded = false;
    if (error) *error = QStringLiteral("The plot file %1 can not be read: %2").arg(path, file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  return LoadPlotText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                      project, error);
}
