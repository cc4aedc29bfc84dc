// The run-control file names.dat: the version line and the paths of the data file, the
// report, the plot-data file and the run notes. The input is names.dat itself; a data file
// wall.tn5d (a small example) lies beside it. Properties as for the engine on a data file.
// Paths are kept inside the scratch folder: an input naming another folder (a "/" or "\")
// is skipped, so the run never writes elsewhere.
#include "engine/driver.h"
#include "engine/run_state.h"
#include "engine/testing/engine_run.h"
#include "fuzz/engine_outputs.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>

using namespace tarnel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view names(reinterpret_cast<const char*>(data), size);
  if (names.find_first_of("/\\") != std::string_view::npos) return 0;
  static fuzz::ScratchDir dir;
  static const std::string example = fuzz::readFile(TARNEL_SOURCE_DIR "/examples/cantilever-sand-water.tn5d");
  dir.clear();
  const engine::testing::CurrentDir cd(dir.path());
  fuzz::writeFile(fuzz::kDataFile, example);
  fuzz::writeFile(engine::kRunControlFile, names);

  std::ostringstream err;
  auto run = std::make_unique<engine::RunState>();
  run->clock = engine::testing::fixedTime;
  run->out.err = &err;
  engine::runAnalysis(*run);
  // The report echoes the paths and pieces of them (name, extension), so a path holding the
  // letters "inf" or "nan" anywhere can show them as a word: no finding then.
  std::string lower(names);
  for (char& c : lower) c = static_cast<char>(c | 0x20);
  const bool spells = lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
  fuzz::checkEngineOutputs(*run, spells ? std::string("inf") : std::string(names) + "\n" + example);
  return 0;
}
