#include "app/results/profile_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/model/program_data.h"
#include "app/model/real_format.h"

using tarnel::model::TGridTable;
using tarnel::model::TProgramData;

namespace {

bool Finite(double v) { return std::isfinite(v); }

// A cell that may be missing (a sub-table of another template, a damaged table) reads as
// nothing instead of throwing out of a paint event.
std::optional<double> RealAt(const TGridTable& t, int col, int row) {
  if (row < 0 || row >= t.RowCount() || col < 0 || col >= static_cast<int>(t.ColumnCount()))
    return std::nullopt;
  try {
    const double v = t.Real(col, row);
    return Finite(v) ? std::optional<double>(v) : std::nullopt;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<int> IntegerAt(const TGridTable& t, int col, int row) {
  if (row < 0 || row >= t.RowCount() || col < 0 || col >= static_cast<int>(t.ColumnCount()))
    return std::nullopt;
  try {
    return t.Integer(col, row);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Parameter values of a label: six significant digits, so that a unit weight stored as
// 0.069444444 lb/in^3 in the file reads 120 (lb/ft^3) rather than 119.99999.
QString Number(std::optional<double> v) {
  return QString::fromStdString(tarnel::model::FormatReal(v.value_or(0.0), 6));
}

double WallLength(const TProgramData& p) { return p.Increments * p.IncrementLength; }

bool SoilLayersShown(const TProgramData& p) {
  // Layers matter to the analysis only when something is generated from them.
  return p.GeneratePY || p.EarthPressureChoice > 1;
}

// Builds the item list of one frame.
class Builder {
 public:
  Builder(const ProfileModel& m, const TProgramData& p, const QRectF& frame,
          const ProfileMetrics& metrics, const ProfileColors& colors)
      : m_(m), p_(p), frame_(frame), k_(metrics), c_(colors), W_(frame.width()),
        top_(0.1 * WallLength(p)), excavation_(top_ + p.FreeHeight) {}

  void Build(std::vector<ProfileItem>& out) {
    out_ = &out;
    pen_ = k_.scale;
    if (SoilLayersShown(p_)) SoilLayers();
    Wall();
    pen_ = 2 * k_.scale;
    Line(ProfilePart::GroundLine, X(0), Y(top_), X(0.5), Y(top_));
    Line(ProfilePart::GroundLine, X(0.5), Y(excavation_), X(1), Y(excavation_));
    if (p_.ApplyRestraints) RestraintMarks();
    if (p_.ApplyExtPY) ExternalSprings();
    if (p_.ApplySprings) LateralSprings();
    if (p_.WidthActive > 0 && p_.WidthPY > 0 && Finite(p_.WidthActive) && Finite(p_.WidthPY))
      TopView();
  }

 private:
  // Horizontal position at a fraction of the frame's width; vertical position of a world Y.
  double X(double fraction) const { return frame_.left() + std::round(fraction * W_); }
  double Y(double worldY) const {
    return m_.ToFrame(QPointF(0, worldY), frame_).value_or(QPointF()).y();
  }
  double NodeY(int node) const { return node * p_.IncrementLength + top_; }
  double Px(double screenPixels) const { return screenPixels * k_.scale; }

  void Line(ProfilePart part, double x1, double y1, double x2, double y2) {
    ProfileItem it;
    it.kind = ProfileItem::Kind::Line;
    it.part = part;
    it.color = c_.text;
    it.penWidth = pen_;
    it.a = QPointF(x1, y1);
    it.b = QPointF(x2, y2);
    out_->push_back(it);
  }
  void Text(ProfilePart part, QPointF at, const QString& text, bool centred = false) {
    ProfileItem it;
    it.kind = ProfileItem::Kind::Text;
    it.part = part;
    it.color = c_.text;
    it.a = at;
    it.centred = centred;
    it.text = text;
    out_->push_back(it);
  }

  void SoilLayers() {
    const TGridTable& soil = p_.Table("NewSoil");
    // Layer depths are entered in feet in English projects, the profile is drawn in inches.
    const double toStored = p_.Units == 1 ? 12.0 : 1.0;
    const double slope = p_.BackfillSlope;
    double previousBottom = 0;
    double textBottom = frame_.top();
    for (int i = 0; i < soil.RowCount(); ++i) {
      const double bottomDepth = RealAt(soil, 1, i).value_or(previousBottom);
      const double topY = previousBottom * toStored + top_;
      const double bottomY = bottomDepth * toStored + top_;
      previousBottom = bottomDepth;
      double textGap = Px(2);
      if (i == 0) {
        const double yg = Y(top_);
        Line(ProfilePart::GroundLine, X(0), yg, X(0.5), yg);
        if (slope > 0 && slope < 90) {
          const double rise = (W_ / 4) * std::tan(slope * std::numbers::pi / 180);
          Line(ProfilePart::BackfillSlope, X(0.5), yg, X(0.25), yg - rise);
        } else if (slope == 0) {
          for (int k = 1; k <= 5; ++k)
            Line(ProfilePart::HatchTick, frame_.left() + Px(20 * k + 100), yg,
                 frame_.left() + Px(20 * k + 115), yg + Px(5));
          // The first layer's texts start under the ticks, not across them.
          textGap = Px(8);
        }
      }
      const bool reachesExcavation = bottomY >= excavation_;
      Line(ProfilePart::LayerBoundary, X(0), Y(bottomY), X(reachesExcavation ? 1 : 0.5), Y(bottomY));

      const int type = IntegerAt(soil, 0, i).value_or(0);
      const QString name = SoilNameLine(type);
      if (name.isEmpty()) continue;
      const TGridTable* params = nullptr;
      try {
        params = &soil.SubTable(2, i);
      } catch (const std::exception&) {
      }
      // A layer thinner than its two text lines would write over the labels above it:
      // its labels then start under them.
      const QPointF at(frame_.left() + Px(4), std::max(Y(topY) + textGap, textBottom));
      textBottom = at.y() + 2 * k_.lineHeight;
      Text(ProfilePart::SoilName, at, name);
      Text(ProfilePart::SoilParameters, at + QPointF(0, k_.lineHeight), SoilParameterLine(type, params));
    }
  }

  void Wall() {
    const QPolygonF& w = m_.WallOutline();
    if (w.isEmpty()) return;
    ProfileItem it;
    it.kind = ProfileItem::Kind::Polygon;
    it.part = ProfilePart::Wall;
    it.color = c_.text;
    it.fill = c_.text;
    for (const QPointF& corner : w) it.polygon << m_.ToFrame(corner, frame_).value_or(QPointF());
    out_->push_back(it);
  }

  // The node numbers a table's rows hold in one column.
  std::vector<int> Nodes(const char* table, int col) const {
    const TGridTable& t = p_.Table(table);
    std::vector<int> nodes;
    for (int r = 0; r < t.RowCount(); ++r)
      if (const auto node = IntegerAt(t, col, r)) nodes.push_back(*node);
    return nodes;
  }

  void RestraintMarks() {
    const double barb = std::round(0.01 * W_);
    for (int node : Nodes("SoilLayer", 1)) {
      const double y = Y(NodeY(node));
      for (double dy : {0.0, -barb, barb})
        Line(ProfilePart::RestraintMark, X(0.5), y, X(0.52), y + dy);
    }
  }

  void ExternalSprings() {
    const double barb = std::round(0.01 * W_);
    for (int node : Nodes("PYCurves2", 0)) {
      const double y = Y(NodeY(node));
      Line(ProfilePart::ExternalSpring, X(0.5), y, X(0.45), y);
      // The coil between the two straight pieces, so the mark reads as a spring.
      const double x0 = X(0.45), x1 = X(0.43);
      const int turns = 4;
      double px = x0, py = y;
      for (int k = 1; k <= turns; ++k) {
        const double nx = x0 + (x1 - x0) * k / turns;
        const double ny = k == turns ? y : y + (k % 2 ? -barb : barb);
        Line(ProfilePart::ExternalSpring, px, py, nx, ny);
        px = nx;
        py = ny;
      }
      Line(ProfilePart::ExternalSpring, X(0.43), y, X(0.38), y);
      Line(ProfilePart::ExternalSpring, X(0.38), y, X(0.40), y - barb);
      Line(ProfilePart::ExternalSpring, X(0.38), y, X(0.40), y + barb);
    }
  }

  void LateralSprings() {
    const double saved = pen_;
    pen_ = 5 * k_.scale;
    for (int node : Nodes("SoilStrength", 1)) {
      if (NodeY(node) >= excavation_) continue;
      const double y = Y(NodeY(node));
      Line(ProfilePart::LateralSpring, X(0.5), y, X(0.6), y);
    }
    pen_ = saved;
  }

  // Five soldier piles seen from above, in a column right of the wall above the excavation
  // (the part of the frame nothing else uses), in true proportion: diameter Wp at centre
  // spacing Wa, at twice the scale of the elevation or smaller where the column would not
  // fit.
  void TopView() {
    const double wa = p_.WidthActive, wp = p_.WidthPY;
    const ProfileBox shown = m_.DisplayedBox(frame_.size());
    const double elevation = frame_.height() / (shown.ymax - shown.ymin);
    const double captionTop = frame_.top() + Px(5);
    double top = captionTop + k_.lineHeight + Px(4);
    double bottom = Y(excavation_) - Px(6);
    if (bottom - top < Px(60)) bottom = frame_.bottom() - Px(6);
    if (bottom - top < Px(10)) return;
    const double columnWorld = 8 * wa + 2 * wp;  // centres 2 Wa apart, radius Wp
    const double s = std::min({2 * elevation, (bottom - top) / columnWorld, 0.15 * W_ / wp});
    const double r = wp * s, d = 2 * wa * s;
    const double cx = X(0.8);
    for (int k = 0; k < 5; ++k) {
      ProfileItem it;
      it.kind = ProfileItem::Kind::Circle;
      it.part = ProfilePart::TopViewPile;
      it.color = c_.text;
      it.fill = c_.pileFill;
      it.penWidth = pen_;
      it.a = QPointF(cx, top + r + k * d);
      it.radius = r;
      out_->push_back(it);
    }
    Text(ProfilePart::Caption, QPointF(cx, captionTop), QStringLiteral("top view"), true);
    Text(ProfilePart::Caption, QPointF(X(0.5), captionTop), QStringLiteral("side view"), true);
  }

  const ProfileModel& m_;
  const TProgramData& p_;
  QRectF frame_;
  ProfileMetrics k_;
  ProfileColors c_;
  double W_;
  double top_, excavation_;
  double pen_ = 1;
  std::vector<ProfileItem>* out_ = nullptr;
};

}  // namespace

bool ProfileBox::Drawable() const {
  const double w = xmax - xmin, h = ymax - ymin;
  return Finite(w) && Finite(h) && w != 0 && h != 0;
}

std::vector<const ProfileItem*> ProfileDrawing::Items(ProfilePart part) const {
  std::vector<const ProfileItem*> found;
  for (const ProfileItem& it : items)
    if (it.part == part) found.push_back(&it);
  return found;
}

void ProfileModel::Rebuild(const TProgramData& p) {
  const double L = WallLength(p);
  topOffset_ = Finite(L) ? 0.1 * L : 0;
  const TGridTable& stiffness = p.Table("PileSect");
  // Half of a wall drawn 1/20 of the free height wide; a wall without free height (a
  // laterally loaded pile) takes its width from its length, so that it still shows.
  const double a = (p.FreeHeight > 0 ? p.FreeHeight : L) / 40;
  if (stiffness.RowCount() < 1 || !Finite(L) || !Finite(a)) {
    wall_.clear();
    return;
  }
  const double y0 = 0.1 * L, y1 = 1.1 * L;
  wall_ = QPolygonF({QPointF(-a, y0), QPointF(a, y0), QPointF(a, y1), QPointF(-a, y1)});
  ProfileBox b{0, 0, 0, 0};
  for (const QPointF& c : wall_) {
    b.xmin = std::min(b.xmin, c.x());
    b.xmax = std::max(b.xmax, c.x());
    b.ymin = std::min(b.ymin, c.y());
    b.ymax = std::max(b.ymax, c.y());
  }
  box_ = {b.xmin * 1.05, b.xmax * 1.05, b.ymin * 1.05, b.ymax * 1.05};
}

ProfileBox ProfileModel::DisplayedBox(const QSizeF& frame) const {
  ProfileBox d = box_;
  if (!box_.Drawable() || frame.width() <= 0 || frame.height() <= 0) return d;
  const double r = (frame.width() / frame.height()) / ((box_.xmax - box_.xmin) / (box_.ymax - box_.ymin));
  if (r >= 1) {
    d.xmin = box_.xmin * r;
    d.xmax = box_.xmax * r;
  } else {
    d.ymin = box_.ymin / r;
    d.ymax = box_.ymax / r;
  }
  return d;
}

std::optional<QPointF> ProfileModel::ToFrame(const QPointF& world, const QRectF& frame) const {
  if (!box_.Drawable() || frame.width() <= 0 || frame.height() <= 0) return std::nullopt;
  const ProfileBox d = DisplayedBox(frame.size());
  return QPointF(frame.left() + std::round(frame.width() * (world.x() - d.xmin) / (d.xmax - d.xmin)),
                 frame.top() + std::round(frame.height() * (world.y() - d.ymin) / (d.ymax - d.ymin)));
}

std::optional<QPointF> ProfileModel::ToWorld(const QPointF& pixel, const QRectF& frame) const {
  if (!box_.Drawable() || frame.width() <= 0 || frame.height() <= 0) return std::nullopt;
  const ProfileBox d = DisplayedBox(frame.size());
  return QPointF(d.xmin + (pixel.x() - frame.left()) / frame.width() * (d.xmax - d.xmin),
                 d.ymin + (pixel.y() - frame.top()) / frame.height() * (d.ymax - d.ymin));
}

std::optional<double> ProfileModel::DepthAt(const QPointF& pixel, const QRectF& frame) const {
  const auto w = ToWorld(pixel, frame);
  if (!w) return std::nullopt;
  return w->y() - topOffset_;
}

ProfileDrawing ProfileModel::Layout(const TProgramData& p, const QRectF& frame,
                                    const ProfileMetrics& metrics, const ProfileColors& colors) const {
  ProfileDrawing d;
  d.frame = frame;
  d.background = colors.background;
  if (!box_.Drawable() || frame.width() <= 0 || frame.height() <= 0) return d;
  Builder(*this, p, frame, metrics, colors).Build(d.items);
  return d;
}

QString DepthCaption(double depth) {
  return QStringLiteral("  Depth: ") + QString::number(depth, 'f', 1);
}

QString SoilNameLine(int soilType) {
  switch (soilType) {
    case 1: return QStringLiteral("Soft clay");
    case 2: return QStringLiteral("Stiff clay w/free water");
    case 3: return QStringLiteral("Stiff clay w/o free water");
    case 4: return QStringLiteral("Sand");
    case 5: return QStringLiteral("Silt");
    case 6: return QStringLiteral("Rock");
    case 7: return QStringLiteral("Weak Rock");
    default: return QString();
  }
}

QString SoilParameterLine(int soilType, const TGridTable* parameters) {
  // The layer's values at its bottom (the second row of the parameter table); unit weight in
  // column 0, the strength in column 1 (silt: friction angle, then cohesion in column 2).
  auto v = [parameters](int col) -> std::optional<double> {
    if (!parameters) return std::nullopt;
    return RealAt(*parameters, col, std::min(1, parameters->RowCount() - 1));
  };
  const QString phi = QStringLiteral("\u00F8= ");
  switch (soilType) {
    case 1:
    case 2:
    case 3: return QStringLiteral("c= ") + Number(v(1)) + QStringLiteral("; gamma= ") + Number(v(0));
    case 4: return phi + Number(v(1)) + QStringLiteral("; gamma= ") + Number(v(0));
    case 5:
      return phi + Number(v(1)) + QStringLiteral("; c= ") + Number(v(2)) + QStringLiteral("; gamma= ") +
             Number(v(0));
    case 6:
    case 7:
      return QStringLiteral("compressive strength= ") + Number(v(1)) + QStringLiteral("; gamma= ") +
             Number(v(0));
    default: return QString();
  }
}
