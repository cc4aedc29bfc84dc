// A bundled example set up for whole engine runs through the entry point, as the program
// calls it: names.dat, the data file and its outputs in a temporary folder that is the
// current one for the object's lifetime.
#pragma once

#include "engine/testing/engine_run.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace tarnel::bench {

class ExampleRun {
 public:
  explicit ExampleRun(const std::string& example) : cd_(dir_.path()) {
    namespace fs = std::filesystem;
    const fs::path data = dir_.path() / example;
    fs::copy_file(fs::path(TARNEL_SOURCE_DIR) / "examples" / example, data, fs::copy_options::overwrite_existing);
    base_ = (dir_.path() / data.stem()).string();
    std::ofstream names(dir_.path() / "names.dat", std::ios::binary);
    names << "2015.5.22\r\n" << data.string() << "\r\n" << base_ << ".tn5o\r\n" << base_ << ".tn5p\r\n" << base_
          << ".tn5r\r\n";
  }
  // Removes the outputs of the previous run, so the next one creates them afresh.
  void removeOutputs() const {
    std::error_code ec;
    for (const char* ext : {".tn5o", ".tn5p", ".tn5r"}) std::filesystem::remove(base_ + ext, ec);
  }

 private:
  engine::testing::TempDir dir_;    // removed after the previous folder is current again
  engine::testing::CurrentDir cd_;
  std::string base_;
};

}  // namespace tarnel::bench
