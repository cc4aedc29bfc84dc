#include "app/results/block_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/model/program_data.h"
#include "app/results/graph_plot.h"

using tarnel::model::TGridTable;
using tarnel::model::TProgramData;

namespace tarnel::view3d {

namespace {

constexpr Rgb kLightGray{0.75f, 0.75f, 0.75f};
constexpr Rgb kDarkGray{0.25f, 0.25f, 0.25f};
constexpr Rgb kWallEdge{0.9f, 0.9f, 0.0f};
constexpr Rgb kOlive{0.75f, 0.75f, 0.0f};
constexpr Rgb kSpringFace{0.5f, 0.5f, 0.5f};
constexpr Rgb kOrange{1.0f, 0.5f, 0.0f};
constexpr Rgb kTiebackFace{0.5f, 0.75f, 0.75f};
constexpr Rgb kWaterBlue{0.0f, 0.3f, 1.0f};
constexpr Rgb kRed{1, 0, 0};
constexpr Rgb kGreen{0, 0.7f, 0};
constexpr Rgb kBlue{0, 0, 1};

constexpr int kPanels = 20;          // wall panels, half of them on each side of the centre line
constexpr int kMaxRodsPerSide = 200; // a tiny spacing would otherwise make millions of rods
constexpr int kInterpolate = 2;      // "Linear Interpolate to End Node of Next Line"

// Length factors to the model unit: scalars are kept in engine units (inches in English),
// "L1" table columns in inches or millimetres.
double EngineLengthFactor(int units) { return units == 1 ? 1.0 / 12.0 : 1.0; }
double SmallLengthFactor(int units) { return units == 1 ? 1.0 / 12.0 : units == 2 ? 1.0 / 1000.0 : 1.0; }

QVector3D V(double x, double y, double z) {
  return QVector3D(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

Block Box(Element e, double x0, double x1, double y0, double y1, double z0, double z1, Rgb face, Rgb edge,
          float faceAlpha, float edgeAlpha = 1) {
  Block b{e, {V(x0, y0, z0), V(x1, y0, z0), V(x1, y1, z0), V(x0, y1, z0), V(x0, y0, z1), V(x1, y0, z1),
              V(x1, y1, z1), V(x0, y1, z1)},
          face, edge, faceAlpha, edgeAlpha, true};
  return b;
}

// A block of square section `side` whose axis runs from `start` along `axis` (unit, in the
// XZ plane) for `length`.
Block AxisBlock(Element e, QVector3D start, QVector3D axis, double length, double side, Rgb face, Rgb edge) {
  const QVector3D u(0, 1, 0);
  const QVector3D v = QVector3D::crossProduct(axis, u).normalized();
  const float h = static_cast<float>(side / 2);
  const QVector3D end = start + axis * static_cast<float>(length);
  Block b{e, {}, face, edge, 1, 1, true};
  const std::array<QVector3D, 4> ring{-u * h - v * h, u * h - v * h, u * h + v * h, -u * h + v * h};
  for (int k = 0; k < 4; ++k) {
    b.corners[k] = start + ring[k];
    b.corners[k + 4] = end + ring[k];
  }
  return b;
}

struct Builder {
  const TProgramData& p;
  const ModelExtent& x;
  BlockModel& m;

  double HalfT() const { return x.wallThickness / 2; }
  double GlyphSize() const { return x.wallWidth * 2.0 / 3.0; }
  double Slope() const { return p.BackfillSlope > 0 ? std::tan(p.BackfillSlope * std::numbers::pi / 180) : 0.0; }
  // Height of the backfill surface at a point x <= 0 (0 at the wall, rising with the slope).
  double Surface(double xAt) const { return xAt < 0 ? -xAt * Slope() : 0.0; }
  double PanelStart(int k) const { return (k - kPanels / 2) * x.wallWidth; }
  double PanelCentre(int k) const { return PanelStart(k) + x.wallWidth / 2; }
  double NodeZ(int node) const { return -node * x.increment; }

  void Soil() {
    const TGridTable& soil = p.Table("NewSoil");
    double top = 0;
    const double t = HalfT(), d = x.halfWidth, a = x.halfAlong;
    for (int r = 0; r < soil.RowCount(); ++r) {
      const double bottom = soil.Real(1, r);
      if (bottom <= top) continue;
      const Rgb c = LayerColour(r);
      Block back = Box(Element::Soil, -d, -t, -a, a, -bottom, -top, c, c, 0.5f);
      if (r == 0 && top == 0 && Slope() > 0) {
        for (int k = 4; k < 8; ++k) back.corners[k].setZ(static_cast<float>(Surface(back.corners[k].x())));
      }
      m.blocks.push_back(back);
      const double excTop = std::max(top, x.excavation);
      if (bottom > excTop) m.blocks.push_back(Box(Element::Soil, t, d, -a, a, -bottom, -excTop, c, c, 0.5f));
      top = bottom;
    }
  }

  void WaterPlane(double depth, double x0, double x1, float markAlpha) {
    if (depth < 0 || depth > x.depthExtent) return;
    const double a = x.halfAlong;
    Block plane = Box(Element::Water, x0, x1, -a, a, -depth, -depth, kWaterBlue, kWaterBlue, 0.75f);
    plane.flat = true;
    m.blocks.push_back(plane);
    // Water-table marks: small pyramids standing on their apex on the plane.
    const double mark = std::min(std::abs(x1 - x0), 2 * a) / 16;
    for (int i = 0; i < 5; ++i) {
      for (int j = 0; j < 5; ++j) {
        const double cx = x0 + (x1 - x0) * (i + 0.5) / 5;
        const double cy = -a + 2 * a * (j + 0.5) / 5;
        const double z = -depth;
        const double h = mark / 2;
        Pyramid py{Element::Water, V(cx, cy, z),
                   {V(cx - h, cy - h, z + mark), V(cx + h, cy - h, z + mark), V(cx + h, cy + h, z + mark),
                    V(cx - h, cy + h, z + mark)},
                   kWaterBlue, markAlpha};
        m.pyramids.push_back(py);
      }
    }
  }

  void Water() {
    const double u = x.unitsPerEngineLength;
    WaterPlane(p.WaterDepthBack * u, -x.halfWidth, -HalfT(), 0.5f);
    WaterPlane(p.WaterDepthExc * u, HalfT(), x.halfWidth, 0.75f);
  }

  // The across-the-wall pieces of panel k: slab, pile, slab (pieces of no width left out),
  // as (y0, y1, is-pile).
  struct Piece {
    double y0, y1;
    bool pile;
  };
  std::vector<Piece> Pieces(int k) const {
    const double y0 = PanelStart(k), y1 = y0 + x.wallWidth, yc = PanelCentre(k);
    const double p0 = std::max(y0, yc - x.pileWidth / 2), p1 = std::min(y1, yc + x.pileWidth / 2);
    std::vector<Piece> out;
    const double tiny = x.wallWidth * 1e-6;
    if (p0 - y0 > tiny) out.push_back({y0, p0, false});
    out.push_back({p0, p1, true});
    if (y1 - p1 > tiny) out.push_back({p1, y1, false});
    return out;
  }

  void StraightWall(Element e, bool filled, bool pilesOnly, Rgb edge) {
    if (x.wallLength <= 0) return;
    const double t = HalfT();
    for (int k = 0; k < kPanels; ++k) {
      for (const Piece& piece : Pieces(k)) {
        if (pilesOnly && !piece.pile) continue;
        Block b = Box(e, -t, t, piece.y0, piece.y1, -x.wallLength, 0, piece.pile ? kDarkGray : kLightGray, edge, 1);
        b.filled = filled;
        m.blocks.push_back(b);
      }
    }
  }

  void DeformedWall(const std::vector<QVector3D>& line) {
    // Mitred joints: at each station the joint lies across the bisector of the two
    // neighbouring increments; its half-width grows by 1/cos of the half-angle so the wall
    // keeps its thickness in both increments.
    const int n = static_cast<int>(line.size());
    std::vector<QVector3D> offset(n);
    for (int j = 0; j < n; ++j) {
      const QVector3D before = j > 0 ? (line[j] - line[j - 1]).normalized() : QVector3D();
      const QVector3D after = j + 1 < n ? (line[j + 1] - line[j]).normalized() : QVector3D();
      QVector3D tangent = (before + after).normalized();
      if (tangent.isNull()) tangent = QVector3D(0, 0, -1);
      const QVector3D normal(tangent.z(), 0, -tangent.x());  // toward the backfill for a wall going down
      const QVector3D seg = after.isNull() ? before : after;
      const QVector3D segNormal(seg.z(), 0, -seg.x());
      const float c = std::max(0.25f, std::abs(QVector3D::dotProduct(normal, segNormal)));
      offset[j] = normal * static_cast<float>(HalfT() / c);
    }
    for (int k = 0; k < kPanels; ++k) {
      for (const Piece& piece : Pieces(k)) {
        for (int j = 0; j + 1 < n; ++j) {
          Block b{Element::Wall, {}, piece.pile ? kDarkGray : kLightGray, kWallEdge, 1, 1, true};
          const std::array<int, 2> at{j, j + 1};
          for (int e = 0; e < 2; ++e) {
            const QVector3D c = line[at[e]];
            const QVector3D back = c + offset[at[e]], front = c - offset[at[e]];
            const float ya = static_cast<float>(piece.y0), yb = static_cast<float>(piece.y1);
            b.corners[e * 4 + 0] = QVector3D(back.x(), ya, back.z());
            b.corners[e * 4 + 1] = QVector3D(front.x(), ya, front.z());
            b.corners[e * 4 + 2] = QVector3D(front.x(), yb, front.z());
            b.corners[e * 4 + 3] = QVector3D(back.x(), yb, back.z());
          }
          m.blocks.push_back(b);
        }
      }
    }
  }

  // Nodes of a node-range table row (to the next row's end node for interpolated rows) with
  // the fraction along the interpolation.
  template <typename F>
  void ForNodes(const TGridTable& t, int chooser, int fromCol, int toCol, F&& f) const {
    for (int r = 0; r < t.RowCount(); ++r) {
      const int from = t.Integer(fromCol, r);
      int to = t.Integer(toCol, r);
      const bool interp = t.Integer(chooser, r) == kInterpolate && r + 1 < t.RowCount();
      if (interp) to = t.Integer(toCol, r + 1);
      const int lo = std::max(0, std::min(from, to)), hi = std::min(p.Increments, std::max(from, to));
      for (int node = lo; node <= hi; ++node) {
        const double frac = interp && to != from ? double(node - from) / (to - from) : 0.0;
        f(r, node, interp, frac);
      }
    }
  }

  void Springs() {
    const double t = HalfT();
    const double side = std::min(x.pileWidth, x.increment) * 0.4;
    ForNodes(p.Table("SoilStrength"), 0, 1, 2, [&](int, int node, bool, double) {
      const double z = NodeZ(node);
      for (int k = 0; k < kPanels; ++k) {
        const double yc = PanelCentre(k);
        m.blocks.push_back(Box(Element::LateralSpring, t, t + x.increment / 2, yc - side / 2, yc + side / 2,
                               z - side / 2, z + side / 2, kSpringFace, kOrange, 1));
      }
    });
  }

  void MomentSymbol(Element e, QVector3D centre, double radius, double sign, Rgb colour) {
    Polyline arc{e, {}, colour, false};
    const double a0 = 30 * std::numbers::pi / 180, a1 = 300 * std::numbers::pi / 180;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
      const double a = sign > 0 ? a0 + (a1 - a0) * i / steps : a1 - (a1 - a0) * i / steps;
      arc.points.push_back(centre + V(radius * std::cos(a), 0, radius * std::sin(a)));
    }
    // Arrow head at the end of the arc, along its tangent.
    const QVector3D end = arc.points.back(), prev = arc.points[arc.points.size() - 2];
    const QVector3D dir = (end - prev).normalized();
    const QVector3D side(dir.z(), 0, -dir.x());
    const float h = static_cast<float>(radius * 0.35);
    m.lines.push_back(arc);
    m.lines.push_back(Polyline{e, {end - dir * h + side * (h * 0.6f), end, end - dir * h - side * (h * 0.6f)},
                               colour, false});
  }

  void ConcentratedLoads() {
    const TGridTable& t = p.Table("BoundCond");
    const float g = static_cast<float>(GlyphSize());
    const float ht = static_cast<float>(HalfT());
    ForNodes(t, 0, 1, 2, [&](int r, int node, bool interp, double frac) {
      auto value = [&](int col) {
        const double v = t.Real(col, r);
        return interp ? v + (t.Real(col, r + 1) - v) * frac : v;
      };
      const float z = static_cast<float>(NodeZ(node));
      const double lateral = value(3), moment = value(4), axial = value(5);
      if (lateral != 0) {
        const float s = lateral > 0 ? 1.0f : -1.0f;
        m.arrows.push_back(Arrow{Element::ConcentratedLoad, QVector3D(-s * ht, 0, z), QVector3D(s, 0, 0), g, 3});
      }
      if (moment != 0) MomentSymbol(Element::ConcentratedLoad, QVector3D(0, 0, z), g / 2, moment, kGreen);
      if (axial != 0) {
        const float s = axial > 0 ? -1.0f : 1.0f;  // a positive axial load presses down the wall
        // Along the backfill-side face, the one the opening view shows: on the centre line
        // the opaque wall would hide it.
        const float face = -(ht + kGlyphConeRadius * g);
        m.arrows.push_back(Arrow{Element::ConcentratedLoad, QVector3D(face, 0, z), QVector3D(0, 0, s), g, 1});
      }
    });
  }

  void BoundaryConditions() {
    const TGridTable& t = p.Table("SoilLayer");
    const double g = GlyphSize(), ht = HalfT();
    for (int r = 0; r < t.RowCount(); ++r) {
      const int node = std::clamp(t.Integer(1, r), 0, std::max(0, p.Increments));
      const double z = NodeZ(node);
      if (t.Integer(0, r) == 1) {
        // A wedge pressing on the excavation face at the node, with the deflection value.
        const double x0 = ht + g, h = g / 2;
        m.pyramids.push_back(Pyramid{Element::BoundaryCondition, V(ht, 0, z),
                                     {V(x0, -h, z - h), V(x0, h, z - h), V(x0, h, z + h), V(x0, -h, z + h)},
                                     kRed, 0.8f});
        m.labels.push_back(
            Label{Element::BoundaryCondition, V(x0 + g * 0.2, 0, z), QString::fromStdString(t.Text(2, r)), kRed});
      } else {
        // A clamp: a square round the node with its diagonals.
        const double h = g / 2;
        const QVector3D a = V(-h, 0, z - h), b = V(h, 0, z - h), c = V(h, 0, z + h), d = V(-h, 0, z + h);
        m.lines.push_back(Polyline{Element::BoundaryCondition, {a, b, c, d}, kGreen, true});
        m.lines.push_back(Polyline{Element::BoundaryCondition, {a, c}, kGreen, false});
        m.lines.push_back(Polyline{Element::BoundaryCondition, {b, d}, kGreen, false});
      }
    }
  }

  void Tiebacks() {
    const TGridTable& t = p.Table("TiebackTable1");
    const double small = SmallLengthFactor(p.Units);
    for (int r = 0; r < t.RowCount(); ++r) {
      const double depth = t.Real(0, r), area = t.Real(1, r), length = t.Real(3, r);
      const double angle = t.Real(4, r) * std::numbers::pi / 180, spacing = t.Real(5, r);
      if (length <= 0) continue;
      const double side = std::sqrt(std::max(0.0, area)) * small;
      const QVector3D axis = V(-std::cos(angle), 0, -std::sin(angle));
      std::vector<double> ys;
      if (spacing > 0) {
        const int n = std::clamp(static_cast<int>(std::lround(10 * x.wallWidth / spacing)), 1, kMaxRodsPerSide);
        for (int k = 0; k < n; ++k) {
          ys.push_back(spacing / 2 + k * spacing);
          ys.push_back(-(spacing / 2 + k * spacing));
        }
      } else {
        ys.push_back(0);
      }
      for (double y : ys) {
        const QVector3D start = V(-HalfT(), y, -depth);
        m.blocks.push_back(AxisBlock(Element::Tieback, start, axis, length, side, kTiebackFace, kOrange));
        m.blocks.push_back(AxisBlock(Element::Tieback, start + axis * static_cast<float>(length), axis, length / 8,
                                     4 * side, kTiebackFace, kOrange));
      }
    }
  }

  // A thin slab lying on the backfill surface between x0 and x1 (x0 < x1 <= 0).
  Block SurfaceSlab(Element e, double x0, double x1, double y0, double y1, double thickness, Rgb c) {
    Block b = Box(e, x0, x1, y0, y1, 0, thickness, c, c, 0.25f);
    for (auto& corner : b.corners) corner.setZ(corner.z() + static_cast<float>(Surface(corner.x())));
    return b;
  }

  void DownArrow(Element e, double xAt, double y, double lift, double magnitude, int colour) {
    const float g = static_cast<float>(GlyphSize());
    const float surface = static_cast<float>(Surface(xAt) + lift);
    if (magnitude > 0)
      m.arrows.push_back(Arrow{e, V(xAt, y, surface), QVector3D(0, 0, -1), g, colour});
    else if (magnitude < 0)
      m.arrows.push_back(Arrow{e, V(xAt, y, surface + g), QVector3D(0, 0, 1), g, colour});
  }

  void UniformLoad() {
    const double d = x.halfWidth, thick = GlyphSize() / 6;
    for (int k = 0; k < kPanels; ++k) {
      const double y0 = PanelStart(k);
      m.blocks.push_back(SurfaceSlab(Element::UniformLoad, -d, -HalfT(), y0, y0 + x.wallWidth, thick, kGreen));
      for (double f : {0.25, 0.5, 0.75}) DownArrow(Element::UniformLoad, -d * f, PanelCentre(k), thick, 1, 2);
    }
  }

  void Surcharges() {
    const TGridTable& t = p.Table("SurchargeTable");
    const double small = SmallLengthFactor(p.Units);
    for (int r = 0; r < t.RowCount(); ++r) {
      const int type = t.Integer(0, r);
      const double q = t.Real(1, r), dist = t.Real(2, r) * small, width = t.Real(3, r) * small;
      if (q == 0) continue;
      if (type == 1) {
        DownArrow(Element::Surcharge, -dist, 0, 0, q, 3);
      } else if (type == 2) {
        for (int k = 0; k < kPanels; ++k) DownArrow(Element::Surcharge, -dist, PanelCentre(k), 0, q, 2);
      } else if (type == 3) {
        const double x0 = -dist - width / 2, x1 = std::min(-dist + width / 2, 0.0);
        const double thick = GlyphSize() / 6;
        m.blocks.push_back(SurfaceSlab(Element::Surcharge, x0, x1, -x.halfAlong, x.halfAlong, thick, kBlue));
        for (int k = 0; k < kPanels; ++k)
          for (double xa : {x0, (x0 + x1) / 2, x1}) DownArrow(Element::Surcharge, xa, PanelCentre(k), thick, q, 1);
      }
    }
  }
};

}  // namespace

QVector3D Block::Centre() const {
  QVector3D c;
  for (const auto& k : corners) c += k;
  return c / 8;
}

FaceCorners OutwardFaces(const Block& b) {
  FaceCorners faces{{{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}}};
  const QVector3D centre = b.Centre();
  for (auto& f : faces) {
    // Newell's normal: sound for a face whose first three corners happen to be in line.
    QVector3D n, mid;
    for (int k = 0; k < 4; ++k) {
      const QVector3D& p = b.corners[f[k]];
      const QVector3D& q = b.corners[f[(k + 1) % 4]];
      n += QVector3D((p.y() - q.y()) * (p.z() + q.z()), (p.z() - q.z()) * (p.x() + q.x()),
                     (p.x() - q.x()) * (p.y() + q.y()));
      mid += p;
    }
    if (QVector3D::dotProduct(n, mid / 4 - centre) < 0) std::swap(f[1], f[3]);
  }
  return faces;
}

const std::array<SwitchInfo, kSwitchCount>& SwitchTable() {
  static const std::array<SwitchInfo, kSwitchCount> t{{
      {Switch::Wall, "Wall1", "Wall"},
      {Switch::SoilLayers, "SoilLayers1", "Soil Layers"},
      {Switch::WaterLevel, "WaterLevel1", "Water Level"},
      {Switch::UniformLoad, "UniformLoad1", "Uniform Load at Backfill"},
      {Switch::Surcharge, "Surcharge1", "Additional Surcharge"},
      {Switch::ConcentratedLoads, "ConcentratedLoads1", "Concentrated Loads"},
      {Switch::Tiebacks, "TieBacks1", "Tie Backs"},
      {Switch::BoundaryConditions, "BoundaryConditions1", "Boundary Conditions"},
      {Switch::LateralSprings, "LateralSprings1", "Lateral Springs"},
  }};
  return t;
}

Rgb LayerColour(int row) {
  static const std::array<Rgb, 10> colours{{{0.8f, 0.55f, 0.0f},
                                            {0.55f, 0.4f, 0.2f},
                                            {0.4f, 0.4f, 0.2f},
                                            {0.4f, 0.4f, 0.55f},
                                            {0.0f, 0.5f, 0.5f},
                                            {0.2f, 0.2f, 0.55f},
                                            {0.8f, 0.0f, 0.8f},
                                            {0.4f, 0.4f, 0.55f},
                                            {0.15f, 0.15f, 0.45f},
                                            {0.65f, 0.4f, 0.2f}}};
  return colours[((row % 10) + 10) % 10];
}

Rgb GlyphColour(int index) {
  switch (index) {
    case 1: return kBlue;
    case 2: return kGreen;
    case 3: return kRed;
    case 4: return {1, 0, 1};
    case 5: return {0, 0.8f, 0.8f};
    case 6: return {0.9f, 0.9f, 0};
    default: return {0, 0, 0};
  }
}

ModelExtent ComputeExtent(const TProgramData& p) {
  ModelExtent x;
  x.unitsPerEngineLength = EngineLengthFactor(p.Units);
  const double u = x.unitsPerEngineLength;
  x.increment = std::max(0.0, p.IncrementLength * u);
  x.wallLength = std::max(0, p.Increments) * x.increment;
  // A project without a wall yet still gets a view of some size (the widths follow L).
  const double l = x.wallLength > 0 ? x.wallLength : 10.0;
  x.wallWidth = p.WidthActive > 0 ? p.WidthActive * u : 0.1 * l;
  x.pileWidth = p.WidthPY > 0 ? p.WidthPY * u : 0.1 * l;
  x.wallThickness = p.WidthPY != p.WidthActive ? x.pileWidth / 4 : x.wallWidth / 10;
  x.excavation = p.FreeHeight * u;

  double reach = 0;
  if (p.ApplySurcharge) {
    const TGridTable& s = p.Table("SurchargeTable");
    const double small = SmallLengthFactor(p.Units);
    for (int r = 0; r < s.RowCount(); ++r) {
      const double w = s.Integer(0, r) == 3 ? s.Real(3, r) / 2 : 0.0;
      reach = std::max(reach, (s.Real(2, r) + w) * small);
    }
  }
  x.halfWidth = std::max(12.5 * x.wallWidth, 0.9 * reach);
  x.halfAlong = 10 * x.wallWidth;

  double deepest = 0;
  if (p.GeneratePY) {
    const TGridTable& soil = p.Table("NewSoil");
    for (int r = 0; r < soil.RowCount(); ++r) deepest = std::max(deepest, soil.Real(1, r));
  }
  x.depthExtent = std::max(l, deepest);
  return x;
}

double InitialScale(const ModelExtent& x, int width, int height) {
  const double across = (width - 50) / (2 * x.halfWidth);
  const double down = (height - 50) / x.depthExtent;
  const double s = std::min(across, down);
  return std::isfinite(s) && s > 0 ? s : 1.0;
}

bool HasDeflection(const TGraphPlot* deflection) { return deflection && deflection->HasData(); }

std::vector<QVector3D> DeflectedCentreLine(const TProgramData& p, const TGraphPlot& chart, double factor) {
  std::vector<QVector3D> line;
  if (!chart.HasData()) return line;
  const double u = EngineLengthFactor(p.Units);  // deflections are in inches in English files
  const int n = chart.PointCount();
  for (int j = 0; j < n; ++j) {
    const TFloatPoint& pt = chart.Point(0, j);
    // Evening out repeats a shorter line's last station; those add nothing to the wall.
    if (!line.empty() && -pt.Y >= line.back().z()) continue;
    line.push_back(V(pt.X * u * factor, 0, -pt.Y));
  }
  if (line.size() < 2) line.clear();
  return line;
}

BlockModel BuildBlockModel(const TProgramData& p, const DisplaySwitches& sw, const DeformedSettings& deformed,
                           const TGraphPlot* deflection) {
  BlockModel m;
  m.extent = ComputeExtent(p);
  Builder b{p, m.extent, m};
  if (sw[Switch::SoilLayers] && p.GeneratePY) b.Soil();
  if (sw[Switch::WaterLevel] && p.GeneratePY) b.Water();
  if (sw[Switch::Wall]) {
    const std::vector<QVector3D> line = deformed.showDeformed && deflection
                                            ? DeflectedCentreLine(p, *deflection, deformed.factor)
                                            : std::vector<QVector3D>{};
    if (!line.empty()) {
      b.DeformedWall(line);
      if (deformed.showUndeformed) b.StraightWall(Element::UndeformedWall, false, true, kOlive);
    } else {
      b.StraightWall(Element::Wall, true, false, kWallEdge);
    }
  }
  if (sw[Switch::LateralSprings] && p.ApplySprings) b.Springs();
  if (sw[Switch::ConcentratedLoads] && p.ApplyConcLoads) b.ConcentratedLoads();
  if (sw[Switch::BoundaryConditions] && p.ApplyRestraints) b.BoundaryConditions();
  if (sw[Switch::Tiebacks] && p.ApplyTiebacks) b.Tiebacks();
  if (sw[Switch::UniformLoad] && p.UniformSurcharge > 0) b.UniformLoad();
  if (sw[Switch::Surcharge] && p.ApplySurcharge) b.Surcharges();
  m.axes = {Axis{QVector3D(1, 0, 0), kBlue, QStringLiteral("X")}, Axis{QVector3D(0, 1, 0), kGreen, QStringLiteral("Y")},
            Axis{QVector3D(0, 0, -1), kRed, QStringLiteral("D")}};
  return m;
}

namespace {

// The shaft and the cone are circles of different radii, so each gets its own number of
// segments: the thin shaft needs fewer to look as round.
GlyphMesh MakeGlyph(int shaft, int cone) {
  GlyphMesh g;
  const float rc = kGlyphShaftRadius, rk = kGlyphConeRadius, zc = 3.0f / 4;
  auto ring = [&](int n, float r, float z, int i) {
    const double a = 2 * std::numbers::pi * (i % n) / n;
    return V(r * std::cos(a), r * std::sin(a), z);
  };
  const QVector3D tip(0, 0, 1);
  // The two end discs face -Z. Each is cut into n - 2 triangles zigzagging across it rather
  // than n fanned from its centre: the same pixels, and no corner of the disc is shared by
  // every triangle, so a software rasterizer visits each part of it about once.
  auto disc = [&](int n, float r, float z) {
    std::vector<int> order{0};
    for (int lo = 1, hi = n - 1; lo <= hi; ++lo, --hi) {
      order.push_back(lo);
      if (lo != hi) order.push_back(hi);
    }
    for (std::size_t k = 2; k < order.size(); ++k) {
      const QVector3D a = ring(n, r, z, order[k - 2]), b = ring(n, r, z, order[k - 1]), c = ring(n, r, z, order[k]);
      if (QVector3D::crossProduct(b - a, c - a).z() < 0) g.triangles.push_back({a, b, c});
      else g.triangles.push_back({a, c, b});
    }
  };
  disc(shaft, rc, 0);
  disc(cone, rk, zc);
  for (int i = 0; i < shaft; ++i) {
    const QVector3D b0 = ring(shaft, rc, 0, i), b1 = ring(shaft, rc, 0, i + 1);
    const QVector3D t0 = ring(shaft, rc, zc, i), t1 = ring(shaft, rc, zc, i + 1);
    g.triangles.push_back({b0, b1, t1});
    g.triangles.push_back({b0, t1, t0});
    g.outline.push_back({b0, b1});
    // Four lines along the shaft, a quarter turn apart.
    if (i % (shaft / 4) == 0) g.outline.push_back({b0, t0});
  }
  for (int i = 0; i < cone; ++i) {
    const QVector3D k0 = ring(cone, rk, zc, i), k1 = ring(cone, rk, zc, i + 1);
    g.triangles.push_back({k0, k1, tip});
    g.outline.push_back({k0, k1});
    if (i % (cone / 4) == 0) g.outline.push_back({k0, tip});
  }
  return g;
}

constexpr int kFewestGlyphSegments = 8;
constexpr int kGlyphDetails = (kGlyphSegments - kFewestGlyphSegments) / 4 + 1;

int DetailIndex(int segments) {
  if (segments < kFewestGlyphSegments || segments > kGlyphSegments || segments % 4 != 0) segments = kGlyphSegments;
  return (segments - kFewestGlyphSegments) / 4;
}

}  // namespace

const GlyphMesh& ArrowGlyph(int shaftSegments, int coneSegments) {
  static const std::vector<GlyphMesh> meshes = [] {
    std::vector<GlyphMesh> all;
    all.reserve(kGlyphDetails * kGlyphDetails);
    for (int s = 0; s < kGlyphDetails; ++s)
      for (int c = 0; c < kGlyphDetails; ++c)
        all.push_back(MakeGlyph(kFewestGlyphSegments + 4 * s, kFewestGlyphSegments + 4 * c));
    return all;
  }();
  return meshes[static_cast<std::size_t>(DetailIndex(shaftSegments) * kGlyphDetails + DetailIndex(coneSegments))];
}

int GlyphSegmentsOnScreen(double radiusPixels) {
  if (!(radiusPixels > 0)) return kGlyphSegments;
  // A regular polygon of n sides inscribed in a circle of radius r lies within
  // r (1 - cos(pi/n)) of it; the 40-segment one lies between it and the circle.
  for (int n = kFewestGlyphSegments; n < kGlyphSegments; n += 4)
    if (radiusPixels * (1 - std::cos(std::numbers::pi / n)) <= 0.25) return n;
  return kGlyphSegments;
}

}  // namespace tarnel::view3d
