#include "fuzz/engine_outputs.h"

#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tarnel::fuzz {

namespace {

// "nan" or "inf" as a word of its own (as printf and iostreams write them), in any case.
bool showsNonFinite(std::string_view text) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
    const char a = static_cast<char>(text[i] | 0x20);
    if (a != 'n' && a != 'i') continue;
    const char b = static_cast<char>(text[i + 1] | 0x20), c = static_cast<char>(text[i + 2] | 0x20);
    const bool word = (a == 'n' && b == 'a' && c == 'n') || (a == 'i' && b == 'n' && c == 'f');
    if (!word || (i > 0 && letter(text[i - 1]))) continue;
    if (i + 3 == text.size() || !letter(text[i + 3])) return true;
    std::string rest(text.substr(i, 8));
    for (char& ch : rest) ch = static_cast<char>(ch | 0x20);
    if (rest == "infinity") return true;
  }
  return false;
}

// As showsNonFinite, but a line that is an echo of the input (the report prints the title
// cut to its width, which can end a longer word such as "infer" after its "inf") is no
// number the run wrote.
bool writesNonFinite(std::string_view text, std::string_view input) {
  if (!showsNonFinite(text)) return false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!showsNonFinite(line)) continue;
    const std::size_t first = line.find_first_not_of(" \t\r");
    const std::size_t last = line.find_last_not_of(" \t\r");
    if (input.find(line.substr(first, last - first + 1)) == std::string_view::npos) return true;
  }
  return false;
}

bool finite(double v) { return std::isfinite(v); }

}  // namespace

void checkEngineOutputs(const engine::RunState& run, std::string_view input) {
  static std::string report, text;
  readFile(run.reportPath, report);
  // A run that stopped says so in its report; what it computed until then is not written as
  // results.
  const bool stopped = report.find("ERROR STOP") != std::string::npos ||
                       report.find("TOO MUCH DATA FOR AVAILABLE STORAGE") != std::string::npos ||
                       report.find("END OF ANALYSIS") == std::string::npos;
  if (!stopped) {
    for (const engine::StationResult& r : run.results) {
      check(finite(r.depth) && finite(r.deflection) && finite(r.slope) && finite(r.moment) && finite(r.shear) &&
                finite(r.reaction) && finite(r.ei),
            "non-finite station result without an error stop", [&] { return "station " + std::to_string(r.station); });
    }
    for (const engine::PressurePoint& p : run.pressureTable) {
      check(finite(p.depth) && finite(p.total) && finite(p.soil) && finite(p.surcharge),
            "non-finite earth-pressure table without an error stop");
    }
    for (const engine::PyCurve& c : run.curves) {
      check(std::all_of(c.y.begin(), c.y.end(), finite) && std::all_of(c.p.begin(), c.p.end(), finite),
            "non-finite p-y curve without an error stop", [&] { return "station " + std::to_string(c.station); });
    }
  }
  // A word "nan" or "inf" the input itself holds (a title) may be echoed in the report.
  if (showsNonFinite(input)) return;
  check(!writesNonFinite(report, input), "non-finite number written as text", run.reportPath);
  for (const std::string* path : {&run.plotPath, &run.notesPath}) {
    if (path->empty()) continue;
    readFile(*path, text);
    check(!writesNonFinite(text, input), "non-finite number written as text", *path);
  }
}

}  // namespace tarnel::fuzz
