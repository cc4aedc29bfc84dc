// What the engine targets check after a run in the current folder.
#pragma once

#include "engine/run_state.h"

#include <string_view>

namespace tarnel::fuzz {

// names.dat of the engine targets: the outputs beside the data file in the current folder.
inline constexpr const char* kDataFile = "wall.tn5d";
inline constexpr std::string_view kNamesDat =
    "2015.5.22\r\nwall.tn5d\r\nwall.tn5o\r\nwall.tn5p\r\nwall.tn5r\r\n";

// Aborts (a finding) when the run holds a non-finite result without having reported a
// stop, or when one of the output files shows a non-finite number as text.
void checkEngineOutputs(const engine::RunState& run, std::string_view input);

}  // namespace tarnel::fuzz
