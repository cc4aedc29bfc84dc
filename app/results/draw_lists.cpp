#include "app/results/draw_lists.h"

#include <QQuaternion>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace tarnel::view3d {

namespace {

using Mode = DrawBatch::Mode;

// A point by its exact bits (with -0 made +0), for finding corners that are the same point.
using PointKey = std::array<std::uint32_t, 3>;
PointKey KeyOf(const QVector3D& v) {
  return {std::bit_cast<std::uint32_t>(v.x() + 0.0f), std::bit_cast<std::uint32_t>(v.y() + 0.0f),
          std::bit_cast<std::uint32_t>(v.z() + 0.0f)};
}

// FNV-1a over the words of a key made of 32-bit words.
struct WordsHash {
  template <typename Key>
  std::size_t operator()(const Key& key) const {
    static_assert(sizeof(Key) % sizeof(std::uint32_t) == 0);
    std::uint32_t words[sizeof(Key) / sizeof(std::uint32_t)];
    std::memcpy(words, &key, sizeof(Key));
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t w : words) h = (h ^ w) * 1099511628211ull;
    return static_cast<std::size_t>(h);
  }
};

// Glyph vertex placed at an arrow: glyph tip (0,0,1) on the arrow's tip, +Z along its
// direction, scaled by its size.
struct Placement {
  QQuaternion turn;
  QVector3D tip;
  float size;
  QVector3D operator()(const QVector3D& g) const { return tip + turn.rotatedVector(g - QVector3D(0, 0, 1)) * size; }
};
Placement Place(const Arrow& a) {
  const QVector3D z(0, 0, 1);
  QQuaternion q = QQuaternion::rotationTo(z, a.direction.normalized());
  if (QVector3D::dotProduct(a.direction.normalized(), z) < -0.9999f) q = QQuaternion::fromAxisAndAngle(1, 0, 0, 180);
  return Placement{q, a.tip, a.size};
}

class Batch {
 public:
  explicit Batch(Mode mode, bool cull, bool blend, bool writeDepth) {
    b_.mode = mode;
    b_.cullBackFaces = cull;
    b_.blend = blend;
    b_.writeDepth = writeDepth;
  }
  void Add(const QVector3D& v, Rgb c, float alpha, float shade = 1) {
    b_.vertices.push_back({v.x(), v.y(), v.z(), c.r * shade, c.g * shade, c.b * shade, alpha});
  }
  // A triangle of a convex solid, wound counter-clockwise seen from outside (`centre` inside).
  void Outward(const QVector3D& a, const QVector3D& b, const QVector3D& c, const QVector3D& centre, Rgb colour,
               float alpha, float shade) {
    const bool turned = QVector3D::dotProduct(QVector3D::crossProduct(b - a, c - a), (a + b + c) / 3 - centre) < 0;
    Add(a, colour, alpha, shade);
    Add(turned ? c : b, colour, alpha, shade);
    Add(turned ? b : c, colour, alpha, shade);
  }
  void Reserve(std::size_t vertices) { b_.vertices.reserve(vertices); }
  void MoveTo(std::vector<DrawBatch>& out) {
    if (!b_.vertices.empty()) out.push_back(std::move(b_));
  }

 private:
  DrawBatch b_;
};

// The faces of the opaque solids that another opaque solid touches from the other side.
using FaceSet = std::unordered_set<std::uint64_t>;  // block index x 6 + face
std::uint64_t FaceId(std::size_t block, int face) { return block * 6 + face; }

FaceSet InsideFaces(const std::vector<const Block*>& solids) {
  struct Seen {
    std::uint64_t face;
    QVector3D normal;
  };
  std::unordered_map<std::array<PointKey, 4>, std::vector<Seen>, WordsHash> byCorners;
  byCorners.reserve(solids.size() * 6);
  for (std::size_t i = 0; i < solids.size(); ++i) {
    const Block* b = solids[i];
    const FaceCorners faces = OutwardFaces(*b);
    for (int f = 0; f < 6; ++f) {
      std::array<PointKey, 4> key;
      for (int k = 0; k < 4; ++k) key[k] = KeyOf(b->corners[faces[f][k]]);
      std::sort(key.begin(), key.end());
      const auto& c = b->corners;
      const QVector3D n =
          QVector3D::crossProduct(c[faces[f][2]] - c[faces[f][0]], c[faces[f][3]] - c[faces[f][1]]);
      byCorners[key].push_back({FaceId(i, f), n});
    }
  }
  FaceSet inside;
  for (const auto& [key, seen] : byCorners) {
    if (seen.size() < 2) continue;
    for (const Seen& s : seen) {
      for (const Seen& t : seen) {
        if (QVector3D::dotProduct(s.normal, t.normal) < 0) inside.insert(s.face);
      }
    }
  }
  return inside;
}

void SolidQuads(Batch& quads, const std::vector<const Block*>& solids, const FaceSet& inside) {
  for (std::size_t i = 0; i < solids.size(); ++i) {
    const Block* b = solids[i];
    const FaceCorners faces = OutwardFaces(*b);
    for (int f = 0; f < 6; ++f) {
      if (inside.count(FaceId(i, f))) continue;
      const auto& q = faces[f];
      const float shade = FaceShade(b->corners[q[0]], b->corners[q[1]], b->corners[q[2]]);
      for (int k : q) quads.Add(b->corners[k], b->faceColour, b->faceAlpha, shade);
    }
  }
}

void PlaneQuads(Batch& quads, const std::vector<const Block*>& planes) {
  static constexpr std::array<int, 4> kHigh{4, 7, 6, 5};
  for (const Block* b : planes) {
    const float shade = FaceShade(b->corners[kHigh[0]], b->corners[kHigh[1]], b->corners[kHigh[2]]);
    for (int k : kHigh) quads.Add(b->corners[k], b->faceColour, b->faceAlpha, shade);
  }
}

void PyramidTriangles(Batch& tris, const std::vector<const Pyramid*>& pyramids) {
  for (const Pyramid* p : pyramids) {
    QVector3D centre = p->apex;
    for (const QVector3D& v : p->base) centre += v;
    centre /= 5;
    for (int k = 0; k < 4; ++k) {
      const QVector3D& a = p->base[k];
      const QVector3D& b = p->base[(k + 1) % 4];
      tris.Outward(p->apex, a, b, centre, p->colour, p->faceAlpha, FaceShade(p->apex, a, b));
    }
    tris.Outward(p->base[0], p->base[1], p->base[2], centre, p->colour, p->faceAlpha, 1);
    tris.Outward(p->base[0], p->base[2], p->base[3], centre, p->colour, p->faceAlpha, 1);
  }
}

bool Opaque(float alpha) { return alpha >= 0.999f; }
bool OpaqueSolid(const Block& b) { return b.filled && !b.flat && Opaque(b.faceAlpha); }

// The glyph an arrow is drawn with at `pixelsPerUnit` (0: unknown, the full glyph).
const GlyphMesh& GlyphOf(const Arrow& a, double pixelsPerUnit) {
  return ArrowGlyph(GlyphSegmentsOnScreen(a.size * kGlyphShaftRadius * pixelsPerUnit),
                    GlyphSegmentsOnScreen(a.size * kGlyphConeRadius * pixelsPerUnit));
}

void GlyphTriangles(Batch& tris, const std::vector<Arrow>& arrows, double pixelsPerUnit) {
  for (const Arrow& a : arrows) {
    const GlyphMesh& glyph = GlyphOf(a, pixelsPerUnit);
    const Placement at = Place(a);
    for (const auto& t : glyph.triangles) {
      const QVector3D v0 = at(t[0]), v1 = at(t[1]), v2 = at(t[2]);
      const float shade = FaceShade(v0, v1, v2);
      for (const QVector3D& v : {v0, v1, v2}) tris.Add(v, GlyphColour(a.colourIndex), kGlyphFillAlpha, shade);
    }
  }
}

using EdgeKey = std::array<PointKey, 2>;  // its two ends, in order
EdgeKey EdgeOf(const QVector3D& p, const QVector3D& q) {
  EdgeKey e{KeyOf(p), KeyOf(q)};
  std::sort(e.begin(), e.end());
  return e;
}

// The twelve edges of a block by corner index, and the two faces (as in OutwardFaces) that
// meet along each.
constexpr std::array<std::array<int, 2>, 12> kEdges{
    {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}};
constexpr std::array<std::array<int, 2>, 12> kEdgeFaces{
    {{0, 2}, {0, 3}, {0, 4}, {0, 5}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 5}, {2, 3}, {3, 4}, {4, 5}}};

// Edges that lie inside the union of the opaque solids: every solid that has the edge has
// both its faces along it inside (the joints between the increments of the deformed wall,
// away from its sides). Solids closing round the edge that way fill all of its
// neighbourhood, so the edge can never show.
using EdgeSet = std::unordered_set<EdgeKey, WordsHash>;
EdgeSet HiddenEdges(const std::vector<const Block*>& solids, const FaceSet& inside) {
  std::unordered_map<EdgeKey, bool, WordsHash> allInside;
  allInside.reserve(solids.size() * 12);
  for (std::size_t i = 0; i < solids.size(); ++i) {
    for (int e = 0; e < 12; ++e) {
      const bool in = inside.count(FaceId(i, kEdgeFaces[e][0])) && inside.count(FaceId(i, kEdgeFaces[e][1]));
      const auto [it, added] =
          allInside.try_emplace(EdgeOf(solids[i]->corners[kEdges[e][0]], solids[i]->corners[kEdges[e][1]]), in);
      if (!added) it->second = it->second && in;
    }
  }
  EdgeSet hidden;
  for (const auto& [edge, in] : allInside)
    if (in) hidden.insert(edge);
  return hidden;
}

// Every line of the model as segments, each segment once per colour, and segments of one
// colour, given one after another, that continue each other in a straight line joined into
// one (the edges across the 20 wall panels), whatever else meets where they join: the same
// pixels for fewer lines to set up.
class Segments {
 public:
  explicit Segments(std::size_t most) {
    segments_.reserve(most);
    seen_.reserve(most);
  }
  void Add(const QVector3D& p, const QVector3D& q, Rgb c, float alpha) {
    if (p == q) return;
    const Colour colour{std::bit_cast<std::uint32_t>(c.r), std::bit_cast<std::uint32_t>(c.g),
                        std::bit_cast<std::uint32_t>(c.b), std::bit_cast<std::uint32_t>(alpha)};
    if (!seen_.insert(Key{EdgeOf(p, q), colour}).second) return;
    segments_.push_back({{p, q}, c, alpha, colour});
  }
  void MoveTo(Batch& lines) {
    const std::size_t n = segments_.size();
    // Each end point in each colour numbered once, with the segments that end there.
    std::unordered_map<NodeKey, std::uint32_t, WordsHash> nodeOf;
    nodeOf.reserve(2 * n);
    std::vector<std::array<std::uint32_t, 2>> nodes(n);
    for (std::size_t i = 0; i < n; ++i)
      for (int e = 0; e < 2; ++e)
        nodes[i][e] = nodeOf.try_emplace(NodeKey{KeyOf(segments_[i].ends[e]), segments_[i].colour},
                                         static_cast<std::uint32_t>(nodeOf.size()))
                          .first->second;
    std::vector<std::uint32_t> start(nodeOf.size() + 1, 0), ending(2 * n);
    for (const auto& e : nodes) ++start[e[0] + 1], ++start[e[1] + 1];
    for (std::size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
    {
      std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
      for (std::size_t i = 0; i < n; ++i)
        for (std::uint32_t node : nodes[i]) ending[fill[node]++] = static_cast<std::uint32_t>(i);
    }
    // Runs of segments of one colour in a row. Where lines of two colours overlap the later
    // one shows, so segments are joined only within a run: the joined line keeps its place
    // among the other colours.
    std::vector<std::uint32_t> run(n, 0);
    for (std::size_t i = 1; i < n; ++i) run[i] = run[i - 1] + (segments_[i].colour != segments_[i - 1].colour);
    // The one segment of the run that continues segment `i` through its end `side` in the
    // direction `out` (others may meet there too), or -1. `out` is the direction of the
    // line's first piece, so a long line cannot bend away from it piece by piece.
    auto next = [&](std::size_t i, int side, const QVector3D& out) -> std::ptrdiff_t {
      const QVector3D& v = segments_[i].ends[side];
      const std::uint32_t node = nodes[i][side];
      std::ptrdiff_t found = -1;
      for (std::uint32_t k = start[node]; k < start[node + 1]; ++k) {
        const std::size_t j = ending[k];
        if (j == i || run[j] != run[i]) continue;
        const QVector3D w = segments_[j].ends[nodes[j][0] == node ? 1 : 0] - v;
        if (QVector3D::dotProduct(out, w) > 0 &&
            QVector3D::crossProduct(out, w).length() <= 1e-6f * out.length() * w.length()) {
          if (found >= 0) return -1;
          found = static_cast<std::ptrdiff_t>(j);
        }
      }
      return found;
    };
    // Each joined line is drawn where the last of its pieces was.
    struct Joined {
      std::size_t last;
      std::array<QVector3D, 2> ends;
      std::size_t first;
    };
    std::vector<Joined> joined;
    joined.reserve(segments_.size());
    std::vector<bool> done(n, false);
    for (std::size_t i = 0; i < n; ++i) {
      if (done[i]) continue;
      done[i] = true;
      Joined line{i, segments_[i].ends, i};
      for (int side = 0; side < 2; ++side) {
        // Walk on from segment k through its end `at`, the end away from the line so far.
        const QVector3D out = segments_[i].ends[side] - segments_[i].ends[1 - side];
        std::size_t k = i;
        int at = side;
        for (std::ptrdiff_t j; (j = next(k, at, out)) >= 0 && !done[static_cast<std::size_t>(j)];) {
          const std::uint32_t node = nodes[k][at];
          k = static_cast<std::size_t>(j);
          at = nodes[k][0] == node ? 1 : 0;
          done[k] = true;
          line.last = std::max(line.last, k);
          line.ends[side] = segments_[k].ends[at];
        }
      }
      joined.push_back(line);
    }
    std::sort(joined.begin(), joined.end(), [](const Joined& a, const Joined& b) { return a.last < b.last; });
    lines.Reserve(2 * joined.size());
    for (const Joined& l : joined) {
      lines.Add(l.ends[0], segments_[l.first].rgb, segments_[l.first].alpha);
      lines.Add(l.ends[1], segments_[l.first].rgb, segments_[l.first].alpha);
    }
  }

 private:
  using Colour = std::array<std::uint32_t, 4>;
  struct Key {
    EdgeKey ends;
    Colour colour;
    bool operator==(const Key&) const = default;
  };
  struct Segment {
    std::array<QVector3D, 2> ends;
    Rgb rgb;
    float alpha;
    Colour colour;
  };
  struct NodeKey {  // an end point in a colour
    PointKey point;
    Colour colour;
    bool operator==(const NodeKey&) const = default;
  };
  std::vector<Segment> segments_;
  std::unordered_set<Key, WordsHash> seen_;
};

void AllLines(Segments& s, const BlockModel& m, double pixelsPerUnit, const EdgeSet& hidden) {
  for (const Block& b : m.blocks) {
    const bool mayHide = !hidden.empty() && OpaqueSolid(b);
    for (const auto& e : kEdges) {
      if (b.flat && e[0] < 4) continue;
      if (mayHide && hidden.count(EdgeOf(b.corners[e[0]], b.corners[e[1]]))) continue;
      s.Add(b.corners[e[0]], b.corners[e[1]], b.edgeColour, b.edgeAlpha);
    }
  }
  for (const Pyramid& p : m.pyramids) {
    for (int k = 0; k < 4; ++k) {
      s.Add(p.apex, p.base[k], p.colour, 1);
      s.Add(p.base[k], p.base[(k + 1) % 4], p.colour, 1);
    }
  }
  for (const Arrow& a : m.arrows) {
    const Placement at = Place(a);
    for (const auto& seg : GlyphOf(a, pixelsPerUnit).outline) s.Add(at(seg[0]), at(seg[1]), GlyphColour(a.colourIndex), 1);
  }
  for (const Polyline& l : m.lines) {
    for (std::size_t k = 1; k < l.points.size(); ++k) s.Add(l.points[k - 1], l.points[k], l.colour, 1);
    if (l.closed && l.points.size() > 2) s.Add(l.points.back(), l.points.front(), l.colour, 1);
  }
}

}  // namespace

float FaceShade(const QVector3D& a, const QVector3D& b, const QVector3D& c) {
  // Without lighting every face of a block would have one flat colour; a fixed light shades
  // the faces by their direction so the blocks read as solids.
  static const QVector3D light = QVector3D(0.35f, -0.55f, 0.75f).normalized();
  const QVector3D n = QVector3D::crossProduct(b - a, c - a);
  if (n.isNull()) return 1;
  return 0.72f + 0.28f * std::abs(QVector3D::dotProduct(n.normalized(), light));
}

std::vector<DrawBatch> BuildDrawLists(const BlockModel& m, double pixelsPerUnit) {
  std::vector<const Block*> opaqueSolids, opaquePlanes, clearSolids, clearPlanes;
  for (const Block& b : m.blocks) {
    if (!b.filled) continue;
    (Opaque(b.faceAlpha) ? (b.flat ? opaquePlanes : opaqueSolids) : (b.flat ? clearPlanes : clearSolids))
        .push_back(&b);
  }
  std::vector<const Pyramid*> opaquePyramids, clearPyramids;
  for (const Pyramid& p : m.pyramids) (Opaque(p.faceAlpha) ? opaquePyramids : clearPyramids).push_back(&p);
  const bool clearEdges = std::any_of(m.blocks.begin(), m.blocks.end(), [&](const Block& b) {
    return !Opaque(b.edgeAlpha);
  });

  const FaceSet inside = InsideFaces(opaqueSolids);
  std::vector<DrawBatch> out;
  {
    Batch quads(Mode::Quads, true, false, true);
    quads.Reserve(24 * opaqueSolids.size());
    SolidQuads(quads, opaqueSolids, inside);
    quads.MoveTo(out);
    Batch tris(Mode::Triangles, true, false, true);
    PyramidTriangles(tris, opaquePyramids);
    tris.MoveTo(out);
    Batch planes(Mode::Quads, false, false, true);
    PlaneQuads(planes, opaquePlanes);
    planes.MoveTo(out);
  }
  {
    Batch lines(Mode::Lines, false, clearEdges, true);
    std::size_t most = 12 * m.blocks.size() + 8 * m.pyramids.size() + ArrowGlyph().outline.size() * m.arrows.size();
    for (const Polyline& l : m.lines) most += l.points.size();
    Segments segments(most);
    AllLines(segments, m, pixelsPerUnit, HiddenEdges(opaqueSolids, inside));
    segments.MoveTo(lines);
    lines.MoveTo(out);
  }
  {
    // See-through faces don't write depth, so the wall shows through the soil and the water
    // whatever order they come in.
    Batch quads(Mode::Quads, true, true, false);
    SolidQuads(quads, clearSolids, {});
    quads.MoveTo(out);
    Batch tris(Mode::Triangles, true, true, false);
    tris.Reserve(18 * clearPyramids.size() + 3 * ArrowGlyph().triangles.size() * m.arrows.size());
    PyramidTriangles(tris, clearPyramids);
    GlyphTriangles(tris, m.arrows, pixelsPerUnit);
    tris.MoveTo(out);
    Batch planes(Mode::Quads, false, true, false);
    PlaneQuads(planes, clearPlanes);
    planes.MoveTo(out);
  }
  return out;
}

}  // namespace tarnel::view3d
