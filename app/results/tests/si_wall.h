// The small SI wall the 3D view tests build their models from.
#pragma once

#include "app/model/program_data.h"

namespace tarnel::view3d::testing {

// 40 increments of 0.25 m (L = 10 m), free height 4 m, water at 2 m behind the wall and 5 m in
// front, one sand layer to 6 m and one to 12 m.
inline tarnel::model::TProgramData SIWall(double wa = 1, double wp = 1) {
  tarnel::model::TProgramData p;
  p.SetUnits(2);
  p.Increments = 40;
  p.IncrementLength = 0.25;
  p.FreeHeight = 4;
  p.WidthActive = wa;
  p.WidthPY = wp;
  p.WaterDepthBack = 2;
  p.WaterDepthExc = 5;
  auto& soil = p.NewSoil();
  soil.SetRowCount(2);
  soil.SetInteger(0, 0, 4);
  soil.SetReal(1, 0, 6);
  soil.SetInteger(0, 1, 4);
  soil.SetReal(1, 1, 12);
  return p;
}

}  // namespace tarnel::view3d::testing
