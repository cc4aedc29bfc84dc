// Files the model's tests read: hand-made data files of the older layouts and the examples
// shipped with the sources.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarnel::model {

inline std::string Testdata(const char* name) { return std::string(TARNEL_MODEL_TESTDATA) + "/" + name; }

// Every example data file (*.tn5d), staged ones included; empty while there are none yet.
inline std::vector<std::filesystem::path> ExampleDataFiles() {
  const std::filesystem::path examples = std::filesystem::path(TARNEL_SOURCE_DIR) / "examples";
  std::vector<std::filesystem::path> files;
  if (std::filesystem::exists(examples))
    for (const auto& e : std::filesystem::directory_iterator(examples))
      if (e.path().extension() == ".tn5d") files.push_back(e.path());
  return files;
}

}  // namespace tarnel::model
