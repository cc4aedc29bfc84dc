// The engine on an arbitrary data file, in process, with a fresh run state per input.
// Properties: no crash, hang or sanitizer report; no non-finite number in what the run
// computed unless the report says the run stopped; no "nan" or "inf" text in any output.
#include "engine/driver.h"
#include "engine/run_state.h"
#include "engine/testing/engine_run.h"
#include "fuzz/engine_outputs.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>

using namespace tarnel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchDir dir;
  static const bool ready = [] {
    fuzz::writeFile(dir.file(engine::kRunControlFile), fuzz::kNamesDat);
    return true;
  }();
  (void)ready;
  const engine::testing::CurrentDir cd(dir.path());

  fuzz::writeFile(fuzz::kDataFile, std::string_view(reinterpret_cast<const char*>(data), size));
  std::ostringstream err;
  auto run = std::make_unique<engine::RunState>();
  run->clock = engine::testing::fixedTime;
  run->out.err = &err;
  engine::runAnalysis(*run);
  fuzz::checkEngineOutputs(*run, std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
