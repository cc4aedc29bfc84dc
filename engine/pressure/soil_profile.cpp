#include "engine/pressure/soil_profile.h"

#include "engine/pressure/constants.h"

#include <algorithm>
#include <cmath>

namespace tarnel::engine::pressure {
namespace {

ProfileLayer fromRecord(const SoilLayerRecord& r, double thickness, double modf) {
  ProfileLayer l;
  l.t = thickness;
  l.gamma = r.top[0];
  l.c = r.top[1];
  l.phi = r.top[2];
  // The sixth position of a rock layer carries its RQD, never a coefficient.
  l.kopt = (r.kind == 6 || r.kind == 7) ? 0.0 : r.top[5];
  l.drained = r.kind >= 4;
  l.modf = modf;
  return l;
}

// Cut depths ascending, one per distinct depth, none at or above the surface.
std::vector<double> cutDepths(double H, double dwb) {
  std::vector<double> cuts{std::min(H, dwb), std::max(H, dwb)};
  if (std::fabs(cuts[1] - cuts[0]) < kDepthTol) cuts.pop_back();
  std::erase_if(cuts, [](double x) { return x < kDepthTol; });
  return cuts;
}

int lastLayerWithTopAt(const SoilProfile& p, double z) {
  int found = -1;
  for (int i = 0; i < p.n(); ++i)
    if (std::fabs(p.layers[i].ztop - z) < kDepthTol) found = i;
  return found;
}

}  // namespace

SoilProfile subdivideLayers(const std::vector<SoilLayerRecord>& records, double H, double dwb,
                            double modf) {
  SoilProfile p;
  std::vector<double> cuts = cutDepths(H, dwb);
  std::size_t ic = 0;
  double ztop = 0.0;
  double previousBottom = 0.0;

  auto push = [&](ProfileLayer l) {
    if (p.n() >= kMaxProfileLayers) {
      p.overflow = true;
      return false;
    }
    p.layers.push_back(l);
    return true;
  };

  for (const auto& rec : records) {
    const double t = rec.bottom - previousBottom;
    previousBottom = rec.bottom;
    if (!(t > 0.0)) break;  // end of the profile

    ProfileLayer layer = fromRecord(rec, t, modf);
    layer.ztop = ztop;
    if (!push(layer)) break;
    const double zbot = ztop + t;

    while (ic < cuts.size()) {
      const double x = cuts[ic];
      if (std::fabs(zbot - x) < kDepthTol) {
        cuts[ic] = zbot;  // the cut moves onto the layer bottom
        ++ic;
      } else if (zbot <= x) {
        break;
      } else {
        ProfileLayer& upper = p.layers.back();
        ProfileLayer lower = upper;
        upper.t = x - upper.ztop;
        lower.t = zbot - x;
        lower.ztop = x;
        ++ic;
        if (!push(lower)) break;
      }
    }
    if (p.overflow) break;
    ztop = zbot;
  }

  if (!p.layers.empty()) p.bottom = p.layers.back().ztop + p.layers.back().t;
  p.lexc = lastLayerWithTopAt(p, H);
  p.lwt = lastLayerWithTopAt(p, dwb);
  return p;
}

void computeOverburden(SoilProfile& p, double q, double dwb, double gammaW) {
  auto& L = p.layers;
  for (auto& l : L) l.belowWater = std::fabs(l.ztop - dwb) < kDepthTol || l.ztop > dwb;
  for (std::size_t i = 0; i < L.size(); ++i)
    L[i].sigvp = i == 0 ? q : L[i - 1].sigvp + L[i - 1].t * L[i - 1].gamma;
  for (auto& l : L)
    if (l.belowWater) l.sigvp -= (l.ztop - dwb) * gammaW;
  if (!L.empty()) p.bottom = L.back().ztop + L.back().t;
  if (p.lexc >= 0) p.sigvpExcavation = L[p.lexc].sigvp;
}

void applyTotalStressRule(SoilProfile& p, double dwb, double gammaW) {
  for (auto& l : p.layers)
    if (l.kopt > 1.0e-7 && !l.drained && l.belowWater) l.sigvp += (l.ztop - dwb) * gammaW;
}

}  // namespace tarnel::engine::pressure
