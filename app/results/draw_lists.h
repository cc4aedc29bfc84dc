// The 3D model flattened into what the GL view sends: batches of coloured vertices in drawing
// order, each with the state it is drawn under.
//
// Rotating the view must stay interactive with a software renderer, whose cost is per
// primitive and per blended pixel. So the lists leave out what can never show and keep what
// does, pixel for pixel (the glyphs to within a quarter pixel):
// - closed solids are wound counter-clockwise seen from outside and drawn with back faces
//   culled; planes are drawn from both sides;
// - a face shared by two opaque solids (the joints of the deformed wall, panels side by
//   side, a pile in its panel) lies inside their union and is left out;
// - an edge drawn twice in the same colour (blocks that meet) is sent once, an edge inside
//   the opaque solids (between the panels at a joint of the deformed wall) not at all, and
//   edges that run on in a straight line in one colour as one line;
// - opaque faces and lines are drawn without blending, only see-through faces blend;
// - an arrow glyph a few pixels wide is drawn with fewer segments (within a quarter pixel).
// Every face and line has one colour, so the view shades flat.
#pragma once

#include <vector>

#include "app/results/block_model.h"

namespace tarnel::view3d {

struct DrawVertex {
  float x, y, z;
  float r, g, b, a;
};

struct DrawBatch {
  enum class Mode { Quads, Triangles, Lines };
  Mode mode = Mode::Triangles;
  bool cullBackFaces = false;
  bool blend = false;
  bool writeDepth = true;
  std::vector<DrawVertex> vertices;
};

// In drawing order: opaque solids, opaque planes, the lines, see-through solids (soil, load
// slabs, marks and arrow glyphs), see-through planes (water). Empty batches are left out.
// Arrow glyphs get the segments they need at `pixelsPerUnit` on screen (0: all 40).
std::vector<DrawBatch> BuildDrawLists(const BlockModel& model, double pixelsPerUnit = 0);

// Brightness of a face by its direction under the view's fixed light (0.72 .. 1).
float FaceShade(const QVector3D& a, const QVector3D& b, const QVector3D& c);

}  // namespace tarnel::view3d
