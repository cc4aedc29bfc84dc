// The bundled examples with generated p-y curves, run end to end through the engine's
// entry as the program runs them: each closes and writes its curves.
#include <gtest/gtest.h>

#include <string>

#include "engine/testing/engine_run.h"

namespace tarnel::engine::py {
namespace {

using engine::testing::EngineOutput;
using engine::testing::readFile;
using engine::testing::runEngineOn;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct ExampleCase {
  const char* file;
  const char* kindLine;
  int curves;
};

class PyExamples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(PyExamples, RunsToClosureWithGeneratedCurves) {
  const ExampleCase& t = GetParam();
  const EngineOutput out = runEngineOn(readFile(std::string(TARNEL_SOURCE_DIR) + "/examples/" + t.file));
  ASSERT_TRUE(out.reportExists);
  const std::string& r = out.report;
  EXPECT_TRUE(contains(r, "*        SOIL LAYERS AND STRENGTH DATA           *"));
  EXPECT_TRUE(contains(r, t.kindLine));
  EXPECT_TRUE(contains(r, "P-Y CURVES DATA"));
  EXPECT_TRUE(contains(r, "END OF ANALYSIS"));
  EXPECT_FALSE(contains(r, "NOT CLOSED"));
  EXPECT_FALSE(contains(r, "MAX ALLOWABLE DEFLECTION EXCEEDED"));
  EXPECT_FALSE(contains(r, "ERROR"));
  EXPECT_EQ(engine::testing::nonFiniteValue(out), "");
  EXPECT_EQ(engine::testing::asteriskFields(out), std::vector<std::string>{});
  // The curve count the iteration echoed from the scratch file.
  EXPECT_TRUE(contains(out.err, " " + std::to_string(t.curves) + "\n")) << out.err;
}

INSTANTIATE_TEST_SUITE_P(
    Bundled, PyExamples,
    ::testing::Values(ExampleCase{"cantilever-sand-water.tn5d", "THE SOIL IS A SAND", 10},
                      ExampleCase{"soldier-pile-stiff-clay-tieback.tn5d",
                                  "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE", 10},
                      ExampleCase{"weak-rock-socket.tn5d", "THE LAYER IS WEAK ROCK", 10}),
    [](const ::testing::TestParamInfo<ExampleCase>& i) {
      std::string n = i.param.file;
      n = n.substr(0, n.find('.'));
      for (char& c : n)
        if (c == '-') c = '_';
      return n;
    });

}  // namespace
}  // namespace tarnel::engine::py
