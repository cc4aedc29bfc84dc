#include "engine/pressure/layer_forces.h"

#include "engine/pressure/surcharge.h"

#include <cmath>

namespace tarnel::engine::pressure {

ActiveForces computeLayerForces(const SoilProfile& profile, const PressureCase& pc,
                                const SurchargeSlots& slots) {
  ActiveForces f;
  f.layers.resize(profile.layers.size());
  f.waterFlag = pc.distSwitch;
  const auto& L = profile.layers;

  for (int i = 0; i < profile.lexc; ++i) {
    const ProfileLayer& l = L[i];
    LayerForces& r = f.layers[i];
    const double t = l.t;
    const double gammaE = (l.drained && l.belowWater) ? l.gamma - pc.gammaW : l.gamma;

    // The surcharge force: ten slices, each carrying the pressure at its bottom.
    double surcharge = 0.0;
    const double dz = t / 10.0;
    for (int k = 1; k <= 10; ++k) surcharge += slotSurchargePressure(slots, l.ztop + k * dz, pc.H) * dz;

    r.pa1 = l.sigvp * l.ka * t * l.modf + surcharge;
    r.pa2 = 0.5 * gammaE * t * t * l.ka * l.modf;
    r.pa3 = -(2.0 * l.c * l.sqrtKa * t * l.modf);
    r.z1 = l.ztop + t / 2.0;
    r.z2 = l.ztop + 2.0 * t / 3.0;

    if (r.pa1 + r.pa3 < 0.0) {
      r.pa1 = r.pa2 = r.pa3 = 0.0;
      const double a = 2.0 * l.c * l.sqrtKa - l.sigvp * l.ka;
      const double b = L[i + 1].sigvp * l.ka - 2.0 * l.c * l.sqrtKa;
      if (std::fabs(a + b) <= 1.0e-12 * (std::fabs(a) + std::fabs(b))) {
        f.undefinedTensionLayer = i;
        return f;
      }
      const double z0 = b * t / (a + b);
      r.positiveLength = z0;
      r.pa4 = b <= 0.0 ? 0.0 : l.modf * z0 * b / 2.0;
      r.z3 = L[i + 1].ztop - z0 / 3.0;
    }
  }

  // Water on the retained side, when the water table lies above the excavation level.
  if (profile.lwt >= 0 && profile.lwt <= profile.lexc - 1) {
    f.waterTable = true;
    for (int i = profile.lwt; i < profile.lexc; ++i) {
      f.waterFlag = 1;
      const ProfileLayer& l = L[i];
      LayerForces& r = f.layers[i];
      if (!l.drained) continue;  // undrained layers carry no separate water force
      r.pw1 = -((l.ztop - pc.dwb) * pc.gammaW * l.t * l.modf);
      r.pw2 = -(0.5 * pc.gammaW * l.t * l.t * l.modf);
      r.waterRow = true;
    }
  }

  for (int i = 0; i < profile.lexc; ++i) {
    const LayerForces& r = f.layers[i];
    f.net += r.pa1 + r.pa2 + r.pa3 + r.pa4 - r.pw1 - r.pw2;
  }
  return f;
}

}  // namespace tarnel::engine::pressure
