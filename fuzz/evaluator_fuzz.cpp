// The expression evaluator of numeric fields and cells. The first byte picks the field
// limits (integer mode, a range or none), the rest is the text typed. Properties: no crash,
// hang or sanitizer report; a value is finite and within the range of a double; a refused
// entry has a message; the checked value lies within the limits.
#include "app/model/evaluator.h"
#include "fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace tarnel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const auto shown = [&] { return std::string(text); };
  std::string message;
  const auto value = model::TryEvaluate(text, &message);
  if (value) {
    fuzz::check(std::isfinite(*value) && std::fabs(*value) <= DBL_MAX, "non-finite or out-of-range value",
                shown);
    (void)model::FormatHex(*value);
  } else {
    fuzz::check(!message.empty(), "evaluation failed without a message", shown);
  }

  model::EntryLimits limits;
  if (data[0] & 1) limits.SetIntegerOnly(true);
  if (data[0] & 2) limits.SetMin(-100);
  if (data[0] & 4) limits.SetMax(1000);
  const model::EntryCheck entry = model::CheckEntry(text, limits);
  if (entry.valid) {
    fuzz::check(entry.value >= limits.minVal && entry.value <= limits.maxVal, "checked value outside its limits",
                shown);
    fuzz::check(std::isfinite(entry.value), "checked value not finite", shown);
  } else {
    fuzz::check(!entry.message.empty(), "refused entry without a message", shown);
  }
  return 0;
}
