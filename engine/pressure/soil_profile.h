// The soil profile of the retained side: the layer records of the case, split so that
// a layer boundary falls exactly at the excavation level and at the backfill water
// table, and the vertical stress at the top of every layer (effective stress, except
// that a cohesive layer with a user earth-pressure coefficient below the water table
// is finally loaded with total stress, as its coefficient was measured against it).
#pragma once

#include "engine/run_state.h"

#include <vector>

namespace tarnel::engine::pressure {

struct ProfileLayer {
  double t = 0;          // thickness
  double c = 0;          // cohesion / undrained strength
  double phi = 0;        // friction angle, degrees
  double gamma = 0;      // total unit weight
  double kopt = 0;       // user earth-pressure coefficient, 0 = not given
  bool drained = false;  // soil kinds 4 to 7
  double modf = 1;
  double ztop = 0;
  bool belowWater = false;
  double sigvp = 0;      // vertical stress at the layer top
  double ka = 0, sqrtKa = 0, kp = 0;
};

struct SoilProfile {
  std::vector<ProfileLayer> layers;  // n layers after splitting
  double bottom = 0;                 // ztop(n+1)
  int lexc = -1;                     // layer whose top lies at the excavation level, -1 none
  int lwt = -1;                      // layer whose top lies at the backfill water table, -1 none
  bool overflow = false;             // more than kMaxProfileLayers after splitting
  double sigvpExcavation = 0;        // effective stress at the excavation level

  int n() const { return static_cast<int>(layers.size()); }
};

// Copies the layer records and splits them at the free height H and the water table
// dwb. A record of zero or negative thickness ends the profile.
SoilProfile subdivideLayers(const std::vector<SoilLayerRecord>& records, double H, double dwb,
                            double modf);

// Vertical effective stress at every layer top (q = uniform surface pressure) and the
// profile bottom; remembers the stress at the excavation level.
void computeOverburden(SoilProfile& profile, double q, double dwb, double gammaW);

// After the stresses are printed: cohesive layers with a user coefficient below the
// water table take the total vertical stress.
void applyTotalStressRule(SoilProfile& profile, double dwb, double gammaW);

}  // namespace tarnel::engine::pressure
