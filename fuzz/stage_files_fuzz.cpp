// Splitting a staged data file into its stage files and joining them again. The first byte
// picks the stage count (1..7, beyond 5 included) and whether the join goes to the same name
// or, as Save As does, to another one; the rest is the data file. Properties: no crash or
// sanitizer report; when the file has a section for every stage, the joined file holds
// exactly those sections (line ends made CR LF) and the stage files follow it to its name;
// otherwise the join fails with a message and the target file is untouched.
#include "app/model/stage_files.h"
#include "app/model/text_file.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

using namespace tarnel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static fuzz::ScratchDir dir;
  dir.clear();
  const std::string source = dir.file("wall.tn5d");
  const bool saveAs = data[0] & 0x8;
  const std::string target = saveAs ? dir.file("renamed.tn5d") : source;
  const int stages = 1 + data[0] % 8 % 7;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::writeFile(source, text);

  const model::FileResult split = model::SplitStagedFile(source, stages);
  fuzz::check(split.ok, "split failed", split.message);

  // What the split must have cut: section 1 from line 1, a new one at every later line
  // holding " Stage No :", at most five stage files.
  const std::vector<std::string> lines = model::SplitLines(text);
  std::vector<std::string> sections(1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && lines[i].find(" Stage No :") != std::string::npos) sections.emplace_back();
    sections.back() += lines[i] + "\r\n";
  }
  const int written = std::min<int>({stages, 5, static_cast<int>(sections.size())});
  for (int k = 1; k <= 5; ++k) {
    const bool exists = std::filesystem::exists(model::StageFileName(source, k));
    fuzz::check(exists == (k <= written), "stage file present or missing unexpectedly", [&] { return std::to_string(k); });
    if (exists)
      fuzz::check(fuzz::readFile(model::StageFileName(source, k)) == sections[static_cast<std::size_t>(k - 1)],
                  "stage file does not hold its section", [&] { return std::to_string(k); });
  }

  const std::string before = saveAs ? std::string() : fuzz::readFile(target);
  const model::FileResult join = model::JoinStageFiles(target, stages, source);
  if (written < stages) {
    fuzz::check(!join.ok && !join.message.empty(), "join without every stage file did not fail");
    if (saveAs)
      fuzz::check(!std::filesystem::exists(target), "failed join created the target");
    else
      fuzz::check(fuzz::readFile(target) == before, "failed join changed the data file");
    return 0;
  }
  fuzz::check(join.ok, "join failed", join.message);
  std::string expected;
  for (int k = 0; k < stages; ++k) expected += sections[static_cast<std::size_t>(k)];
  fuzz::check(fuzz::readFile(target) == expected, "joined file differs from its sections");
  for (int k = 1; k <= 5; ++k) {
    fuzz::check(std::filesystem::exists(model::StageFileName(target, k)) == (k <= stages),
                "stage files did not follow the data file", [&] { return std::to_string(k); });
    if (saveAs)
      fuzz::check(!std::filesystem::exists(model::StageFileName(source, k)), "old name kept a stage file",
                  [&] { return std::to_string(k); });
  }
  return 0;
}
