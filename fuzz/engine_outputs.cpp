#include "fuzz/engine_outputs.h"

#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tarnel::fuzz {

namespace {

// Where "nan" or "inf" starts as a word of its own (as printf and iostreams write them), in
// any case, at or after `from`; npos when nowhere.
std::size_t findNonFinite(std::string_view text, std::size_t from = 0) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  for (std::size_t i = from; i + 3 <= text.size(); ++i) {
    const char a = static_cast<char>(text[i] | 0x20);
    if (a != 'n' && a != 'i') continue;
    const char b = static_cast<char>(text[i + 1] | 0x20), c = static_cast<char>(text[i + 2] | 0x20);
    const bool word = (a == 'n' && b == 'a' && c == 'n') || (a == 'i' && b == 'n' && c == 'f');
    if (!word || (i > 0 && letter(text[i - 1]))) continue;
    if (i + 3 == text.size() || !letter(text[i + 3])) return i;
    std::string rest(text.substr(i, 8));
    for (char& ch : rest) ch = static_cast<char>(ch | 0x20);
    if (rest == "infinity") return i;
  }
  return std::string_view::npos;
}

bool showsNonFinite(std::string_view text) { return findNonFinite(text) != std::string_view::npos; }

// As showsNonFinite, but a word that is an echo of the input is no number the run wrote: the
// report prints the title cut to its width (so a longer word such as "infer" can end after
// its "inf"), also behind captions such as "Stage No : 1". A word counts as an echo when the
// input holds it with the text before it on its line (up to 12 characters), or with the text
// after it when it starts its line.
bool writesNonFinite(std::string_view text, std::string_view input) {
  for (std::size_t at = findNonFinite(text); at != std::string_view::npos; at = findNonFinite(text, at + 1)) {
    const std::size_t newline = text.rfind('\n', at);
    const std::size_t lineStart = newline == std::string_view::npos ? 0 : newline + 1;
    const std::size_t from = std::max(lineStart, at >= 12 ? at - 12 : 0);
    std::string_view context = text.substr(from, at + 3 - from);
    if (at - from < 4) {
      const std::size_t lineEnd = std::min(text.find_first_of("\r\n", at), text.size());
      context = text.substr(at, std::min<std::size_t>(15, lineEnd - at));
    }
    if (input.find(context) == std::string_view::npos) return true;
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
