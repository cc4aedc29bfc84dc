// The program's data-file reader. The first byte picks the layout code (1..5) the file is
// read as, the rest is the file. Properties: no crash or sanitizer report; the project read
// (also after a reading error, whose values read so far stay) is written in the current
// layout, read back and must equal what was read, and writing it again gives the same text.
#include "app/model/program_data.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/project_diff.h"

#include <cstddef>
#include <cstdint>

using namespace tarnel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static fuzz::ScratchDir dir;
  static const std::string input = dir.file("input.tn5d");
  static const std::string saved = dir.file("saved.tn5d");
  const int layout = 1 + data[0] % 5;
  fuzz::writeFile(input, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

  model::TProgramData first;
  (void)first.CreateFromFile(input, layout);
  const std::string text = first.ProjectText();
  fuzz::writeFile(saved, text);

  model::TProgramData second;
  const model::FileResult again = second.CreateFromFile(saved, model::kLayoutTn5d);
  fuzz::check(again.ok, "a written project does not read back", [&] { return again.message + "\n" + text; });
  const std::string rewritten = second.ProjectText();
  fuzz::check(rewritten == text, "writing the project read back gives another text",
              [&] { return text + "\n----\n" + rewritten; });
  // What the reader said it could not keep is not compared.
  if (!first.DroppedData.empty()) return 0;
  fuzz::check(second.SameContent(first), "the project read back differs from the one written",
              [&] { return fuzz::projectDifference(first, second) + "written:\n" + text; });
  return 0;
}
