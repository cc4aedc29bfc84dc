// Stage files beside a staged project's data file.
#include "app/model/stage_files.h"

#include <filesystem>
#include <system_error>

#include "app/model/text_file.h"

namespace tarnel::model {

namespace fs = std::filesystem;

std::string StageFileName(std::string_view dataFile, int stage) {
  fs::path p{std::string(dataFile)};
  p.replace_extension(".st" + std::to_string(stage));
  return p.string();
}

void DeleteStageFiles(std::string_view dataFile, int from) {
  for (int k = from < 1 ? 1 : from; k <= 5; ++k) {
    std::error_code ec;
    fs::remove(StageFileName(dataFile, k), ec);
  }
}

FileResult SplitStagedFile(const std::string& dataFile, int stageCount) {
  const auto text = ReadWholeFile(dataFile);
  if (!text) return FileResult::Fail("Cannot open file " + dataFile);
  const std::vector<std::string> lines = SplitLines(*text);
  std::vector<std::string> sections(1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && lines[i].find(" Stage No :") != std::string::npos) sections.emplace_back();
    sections.back() += lines[i] + "\r\n";
  }
  DeleteStageFiles(dataFile);
  if (stageCount > 5) stageCount = 5;
  for (int k = 1; k <= stageCount && k <= static_cast<int>(sections.size()); ++k) {
    FileResult r = WriteFileSafely(StageFileName(dataFile, k), sections[static_cast<std::size_t>(k - 1)]);
    if (!r) return r;
  }
  return {};
}

FileResult JoinStageFiles(const std::string& dataFile, int stageCount, const std::string& stageSource) {
  std::string joined;
  for (int k = 1; k <= stageCount; ++k) {
    const std::string name = StageFileName(stageSource, k);
    const auto text = ReadWholeFile(name);
    if (!text) return FileResult::Fail("Cannot open file " + name);
    for (const auto& line : SplitLines(*text)) joined += line + "\r\n";
  }
  FileResult r = WriteFileSafely(dataFile, joined);
  if (!r) return r;
  if (StageFileName(stageSource, 1) != StageFileName(dataFile, 1)) {
    // Save As: the stage files follow the data file to its new name.
    for (int k = 1; k <= 5; ++k) {
      std::error_code ec;
      const std::string from = StageFileName(stageSource, k);
      const std::string to = StageFileName(dataFile, k);
      if (k <= stageCount) {
        fs::rename(from, to, ec);
        if (ec) {
          // Across file systems a rename fails; copy and remove instead.
          std::error_code ec2;
          fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec2);
          if (ec2) return FileResult::Fail("Cannot move stage file " + from + " to " + to + ": " + ec2.message());
          fs::remove(from, ec2);
        }
      } else {
        // Neither name keeps a stage file beyond the count: the new name gets no stale ones
        // and the old name none at all.
        fs::remove(to, ec);
        fs::remove(from, ec);
      }
    }
  }
  return {};
}

FileResult ConvertStageFiles(TProgramData& project, const std::string& dataFile, int stageCount,
                             int layoutCode) {
  FileResult first;
  for (int k = 1; k <= stageCount; ++k) {
    const std::string name = StageFileName(dataFile, k);
    std::error_code ec;
    if (!fs::exists(name, ec)) continue;
    FileResult r = project.ReadStage(name, layoutCode);
    if (!r && first) first = r;
    project.CurrentStage = k;
    project.StageCount = stageCount;
    FileResult w = project.WriteStage(name);
    if (!w) return w;
  }
  project.CurrentStage = 1;
  FileResult r = project.ReadStage(StageFileName(dataFile, 1));
  if (!r && first) first = r;
  project.ClearModified();
  return first;
}

}  // namespace tarnel::model
