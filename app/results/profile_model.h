// The wall and soil profile as values: what the Side View window, its print-out and its
// saved pictures draw, computed from the project alone (no analysis results), so that tests
// check every stroke, text and colour without a window.
//
// World frame: X across with the wall's axis at X = 0, Y = depth below the wall top + 0.1 L
// (L = wall length), growing downwards, in the project's stored length unit (inches in
// English projects). A frame rectangle (the window's client area, or the inner 80 % of a
// printed page) shows the world box widened to the frame's aspect; the symbols beside the
// wall sit at fixed fractions of the frame's width.
//
//   ProfileModel model;                        // world box -10..10 across, 0..10 down
//   model.Rebuild(project);                    // on activation: wall outline and world box
//   ProfileDrawing d = model.Layout(project, frame, metrics);
//   PaintProfile(painter, d);                  // profile_painter.h
//   std::optional<double> depth = model.DepthAt(mouse, frame);
#pragma once

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace tarnel::model {
class TProgramData;
class TGridTable;
}  // namespace tarnel::model

struct ProfileBox {
  double xmin = -10, xmax = 10, ymin = 0, ymax = 10;
  // Either extent zero (or not a number): nothing is drawn and the mouse is ignored.
  bool Drawable() const;
  bool operator==(const ProfileBox&) const = default;
};

// What a drawn item stands for (tests pick items by it).
enum class ProfilePart {
  GroundLine,       // backfill surface at the wall top, excavation level
  BackfillSlope,    // sloping continuation of the backfill surface
  HatchTick,        // the five ticks under a level backfill
  LayerBoundary,    // bottom of a soil layer
  SoilName,
  SoilParameters,
  Wall,
  RestraintMark,    // arrowhead of a specified deflection or slope
  ExternalSpring,   // external p-y curve at a node
  LateralSpring,
  TopViewPile,      // soldier pile seen from above
  Caption           // "top view", "side view"
};

// Sizes that depend on the device: `scale` is device pixels per screen pixel (dpi / 96),
// `lineHeight` the height of one text line of the profile's font in device pixels.
struct ProfileMetrics {
  double scale = 1.0;
  double lineHeight = 14.0;
};

struct ProfileItem {
  enum class Kind { Line, Text, Polygon, Circle };
  Kind kind = Kind::Line;
  ProfilePart part = ProfilePart::GroundLine;
  QColor color;            // pen (lines, texts, circle outlines)
  QColor fill;             // polygons and circles
  double penWidth = 1;     // device pixels
  QPointF a, b;            // line ends; a = circle centre, or the text's anchor
  bool centred = false;    // text: a is its top centre, else its top-left corner
  double radius = 0;       // circles
  QPolygonF polygon;
  QString text;
};

// Everything drawn in one frame, in painting order.
struct ProfileDrawing {
  QRectF frame;
  QColor background;
  std::vector<ProfileItem> items;  // empty when the world box cannot be drawn

  std::vector<const ProfileItem*> Items(ProfilePart part) const;
};

// Colours of the profile: the window colours of a light desktop, as a printed page has them.
struct ProfileColors {
  QColor background = Qt::white;
  QColor text = Qt::black;   // lines, texts and the wall
  QColor pileFill = Qt::white;
};

class ProfileModel {
 public:
  // The wall outline from the project, and the world box around it and the origin, each
  // value x 1.05. A project without wall-stiffness rows has no wall and keeps the box.
  void Rebuild(const tarnel::model::TProgramData& p);

  const ProfileBox& WorldBox() const { return box_; }
  // Corners (-a, 0.1 L), (a, 0.1 L), (a, 1.1 L), (-a, 1.1 L); empty when there is no wall.
  const QPolygonF& WallOutline() const { return wall_; }
  double TopOffset() const { return topOffset_; }  // 0.1 L of the last rebuild

  // The world box widened to the frame's aspect (wider frames widen X, taller ones Y).
  ProfileBox DisplayedBox(const QSizeF& frame) const;
  // World point to the frame's pixel (nearest whole pixel) and back; nullopt when the box
  // or the frame cannot be drawn.
  std::optional<QPointF> ToFrame(const QPointF& world, const QRectF& frame) const;
  std::optional<QPointF> ToWorld(const QPointF& pixel, const QRectF& frame) const;
  // Depth below the wall top under a pixel of the frame.
  std::optional<double> DepthAt(const QPointF& pixel, const QRectF& frame) const;

  // Everything to draw for the project in the frame.
  ProfileDrawing Layout(const tarnel::model::TProgramData& p, const QRectF& frame,
                        const ProfileMetrics& metrics,
                        const ProfileColors& colors = ProfileColors()) const;

 private:
  ProfileBox box_;
  QPolygonF wall_;
  double topOffset_ = 0;
};

// The caption of the window while the mouse is over the profile: "  Depth: 120.0".
QString DepthCaption(double depth);

// The name and parameter line of a soil layer as the profile writes them, from the soil
// type (1..7) and the layer's parameter sub-table; the friction-angle letter is ø.
QString SoilNameLine(int soilType);
QString SoilParameterLine(int soilType, const tarnel::model::TGridTable* parameters);
