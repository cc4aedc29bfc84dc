// Entry point of the engine library and the run driver.
//
// One call runs one analysis in the current folder: it reads names.dat (version line and
// the paths of the data file, the report, the plot-data file and the run-notes file),
// analyses every problem block of the data file in turn (one analysis, a short-term and
// a long-term pass, or the stages of a staged excavation) and closes the files. Input
// errors are reported in the report, never through the result; nothing thrown inside
// the engine leaves the entry point.
#pragma once

#include "engine/run_state.h"

#include <cstdint>
#include <string>

#if defined(_WIN32)
#define TARNEL_ENGINE_EXPORT __declspec(dllexport)
#else
#define TARNEL_ENGINE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// Returns 1 at once when `version` is not the interface version 22; otherwise runs and
// returns 0, also when the analysis reported errors.
TARNEL_ENGINE_EXPORT std::int32_t ITARNEL(std::int32_t version);
// The same entry point under the name the interactive program resolves.
TARNEL_ENGINE_EXPORT std::int32_t _ITARNEL(std::int32_t version);
}

namespace tarnel::engine {

inline constexpr std::int32_t kInterfaceVersion = 22;

// One complete run with a fresh run state prepared by the caller (tests set its clock
// and its standard-error stream). Never throws.
void runAnalysis(RunState& run) noexcept;

// Closes the report, plot-data and run-notes files; a file whose writing failed is named
// on the standard error stream and, while it can still take it, in the report.
void closeOutputs(RunState& run) noexcept;

// Names an error that no step of the run expected, on the standard error stream and in
// the report when it is open.
void stoppedUnexpectedly(RunState& run, const std::string& what) noexcept;

}  // namespace tarnel::engine
