// The 3D model of the wall and its surroundings, as plain values apart from any drawing.
//
// BuildBlockModel turns a project (and, for the deformed wall, the deflection chart) into
// the pieces the 3-D View draws: hexahedral blocks (soil layers, water planes, wall panels
// and piles, springs, tieback rods and anchors, load slabs), pyramids (water-table marks and
// deflection symbols), arrow glyphs (forces and loads), line strips (moment and slope
// symbols, the undeformed outline) and text labels, each with its colour and alphas. The GL
// view and the command-line picture replay the same model, and the tests read positions
// and colours from it without a GL context.
//
// Model axes: X across the wall (backfill at negative X, excavation at positive X, so that a
// positive deflection moves the wall toward the excavation), Y along the wall face, Z up with
// the wall top at Z = 0. Model unit: feet in English projects (stored inches / 12), metres in
// SI projects, the project's own length in "other" units.
#pragma once

#include <QString>
#include <QVector3D>
#include <array>
#include <vector>

class TGraphPlot;
namespace tarnel::model {
class TProgramData;
}

namespace tarnel::view3d {

struct Rgb {
  float r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What a piece of the model belongs to: one display switch each, plus the axes.
enum class Element {
  Soil,
  Water,
  Wall,
  UndeformedWall,
  LateralSpring,
  ConcentratedLoad,
  BoundaryCondition,
  Tieback,
  UniformLoad,
  Surcharge,
  Axes
};

// Eight corners: 0..3 the "low" face and 4..7 the "high" face, corner k+4 opposite corner
// k, both faces wound the same way. Faces are drawn with faceAlpha (none when !filled),
// the twelve edges with edgeAlpha in edgeColour.
struct Block {
  Element element;
  std::array<QVector3D, 8> corners;
  Rgb faceColour;
  Rgb edgeColour;
  float faceAlpha = 1;
  float edgeAlpha = 1;
  bool filled = true;
  bool flat = false;  // a plane: only the high face and its four edges are drawn
  QVector3D Centre() const;
};

// The corner indices of a block's six faces, each wound counter-clockwise seen from outside
// the block, whatever way its corners were numbered: the view culls the faces turned away
// from it, which halves the blending work of the see-through soil without changing what a
// closed block shows. The first face is the low face, the second the high face.
using FaceCorners = std::array<std::array<int, 4>, 6>;
FaceCorners OutwardFaces(const Block& block);

// Apex and four base corners.
struct Pyramid {
  Element element;
  QVector3D apex;
  std::array<QVector3D, 4> base;
  Rgb colour;
  float faceAlpha = 1;
};

// The arrow glyph placed in the model: its tip, the direction it points (unit length) and
// its overall size; the glyph's shape is ArrowGlyph below.
struct Arrow {
  Element element;
  QVector3D tip;
  QVector3D direction;
  float size = 1;
  int colourIndex = 1;  // 1 blue, 2 green, 3 red, 4 magenta, 5 cyan, 6 yellow
};

struct Polyline {
  Element element;
  std::vector<QVector3D> points;
  Rgb colour;
  bool closed = false;
};

struct Label {
  Element element;
  QVector3D at;
  QString text;
  Rgb colour;
};

// Dimensions the model is placed from (model units).
struct ModelExtent {
  double unitsPerEngineLength = 1;  // 1/12 for English, 1 otherwise
  double wallLength = 0;            // L
  double increment = 0;
  double wallWidth = 0;      // panel width
  double pileWidth = 0;
  double wallThickness = 0;
  double halfWidth = 0;      // d: reach across the wall on each side
  double halfAlong = 0;      // reach along the wall on each side of the centre line
  double depthExtent = 0;    // depth the view spans
  double excavation = 0;     // free height H
};

// The deformed-shape settings that the 3D view keeps.
struct DeformedSettings {
  bool showDeformed = false;
  bool showUndeformed = false;
  double factor = 1;
};

// The nine display switches, in the order of the "Show 3DView" menu.
enum class Switch {
  Wall = 0,
  SoilLayers,
  WaterLevel,
  UniformLoad,
  Surcharge,
  ConcentratedLoads,
  Tiebacks,
  BoundaryConditions,
  LateralSprings
};
inline constexpr int kSwitchCount = 9;
struct SwitchInfo {
  Switch id;
  const char* objectName;
  const char* caption;
};
const std::array<SwitchInfo, kSwitchCount>& SwitchTable();

struct DisplaySwitches {
  std::array<bool, kSwitchCount> on{true, true, true, true, true, true, true, true, true};
  bool operator[](Switch s) const { return on[static_cast<int>(s)]; }
  bool& operator[](Switch s) { return on[static_cast<int>(s)]; }
};

// An axis from the origin; the view draws it 80 pixels long whatever the zoom.
struct Axis {
  QVector3D direction;
  Rgb colour;
  QString letter;
};
inline constexpr double kAxisPixels = 80;

struct BlockModel {
  ModelExtent extent;
  std::vector<Axis> axes;  // X blue, Y green, D (depth, down) red
  std::vector<Block> blocks;
  std::vector<Pyramid> pyramids;
  std::vector<Arrow> arrows;
  std::vector<Polyline> lines;
  std::vector<Label> labels;
};

// The wall dimensions and the model extent of a project.
ModelExtent ComputeExtent(const tarnel::model::TProgramData& project);

// Initial scale in pixels per model unit for a window of the given size.
double InitialScale(const ModelExtent& extent, int width, int height);

// Everything the switches ask for. `deflection` is the deflection chart (its first line
// gives the deformed wall); it may be null or empty, and the straight wall is drawn then.
BlockModel BuildBlockModel(const tarnel::model::TProgramData& project, const DisplaySwitches& switches,
                           const DeformedSettings& deformed, const TGraphPlot* deflection);

// The deflected centre line of the wall: one (X, Z) point per station of the first
// deflection line, X = deflection x factor (model units), Z = -depth. Empty when the chart
// has no line of more than one point.
std::vector<QVector3D> DeflectedCentreLine(const tarnel::model::TProgramData& project,
                                           const TGraphPlot& deflection, double factor);

// True when the deflection chart can give a deformed shape (a line of more than one point).
bool HasDeflection(const TGraphPlot* deflection);

// Colour of a soil layer by its row (counted from 0).
Rgb LayerColour(int row);
// Colour of an arrow glyph by index 1..6.
Rgb GlyphColour(int index);

// The arrow glyph of size 1 pointing along +Z with its tip at the origin: a cylinder 3/4
// long of radius 1/8 and a cone 1/4 long of base radius 3/8, 40 segments round. Its
// triangles are wound counter-clockwise seen from outside, so back faces can be culled.
struct GlyphMesh {
  std::vector<std::array<QVector3D, 3>> triangles;  // filled with alpha 0.6
  std::vector<std::array<QVector3D, 2>> outline;    // opaque
};
inline constexpr int kGlyphSegments = 40;
inline constexpr float kGlyphShaftRadius = 1.0f / 8;  // of the glyph size
inline constexpr float kGlyphConeRadius = 3.0f / 8;
// The glyph with its shaft and its cone made of the given segments (each a multiple of 4
// from 8 to 40; others are taken as 40).
const GlyphMesh& ArrowGlyph(int shaftSegments = kGlyphSegments, int coneSegments = kGlyphSegments);

// The segments a circle of the glyph needs on screen. A glyph drawn a few pixels wide costs
// as much as a large one (a software renderer pays per primitive), yet its 40 sides are far
// below a pixel: a circle of `radiusPixels` (the shaft's or the cone base's) is drawn with
// the fewest segments whose outline stays within a quarter of a pixel of the circle (and so
// of the 40-segment outline). 40 for a radius of 0 or less (size on screen unknown).
int GlyphSegmentsOnScreen(double radiusPixels);
inline constexpr float kGlyphFillAlpha = 0.6f;

}  // namespace tarnel::view3d
