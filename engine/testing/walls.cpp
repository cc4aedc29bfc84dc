#include "engine/testing/walls.h"

namespace tarnel::engine::testing {

Stations uniformWall(int ninc, double h, double ei) {
  Stations st;
  st.reset();
  st.ninc = ninc;
  st.h = h;
  st.h2 = h * h;
  st.h3 = h * h * h;
  st.length = ninc * h;
  for (int j = 0; j <= ninc; ++j) st.EI[Stations::slot(j)] = (j == 0 || j == ninc) ? ei / 2 : ei;
  return st;
}

void fixBase(Stations& st) {
  const int n = st.ninc;
  st.code[Stations::slot(n - 1)] = 3;
  st.code[Stations::slot(n)] = 4;
  st.code[Stations::slot(n + 1)] = 5;
  st.specDeflection = {0.0};
  st.specSlope = {0.0};
}

}  // namespace tarnel::engine::testing
