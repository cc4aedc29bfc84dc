// tarnel-convert: rewrites a data file of any layout in the current layout.
//
//   tarnel-convert [--layout N] IN OUT   read IN (layout from its extension, or N = 1..5)
//                                        and write OUT as a current data file
//   tarnel-convert --new OUT             write the new project
//
// A malformed IN prints the reading error and exits with 1 without writing OUT. Staged files
// are converted stage by stage, the way the program converts them on opening.
#include <atomic>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

#include "app/model/program_data.h"
#include "app/model/stage_files.h"
#include "app/model/text_file.h"

namespace {

namespace fs = std::filesystem;
using tarnel::model::FileResult;
using tarnel::model::TProgramData;

int Usage() {
  std::cerr << "usage: tarnel-convert [--layout N] IN OUT\n"
               "       tarnel-convert --new OUT\n"
               "  N: 1 Tarnel 2015 (.tn5d), 2 Tarnel 2013 (.tn4d), 3 Tarnel 3.0 (.tnd),\n"
               "     4 Tarnel 2.0 (.tnd), 5 any file read in the oldest layout\n";
  return 2;
}

// A scratch folder for the stage files of a staged conversion.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> n{0};
    std::error_code ec;
    path_ = fs::temp_directory_path(ec) /
            ("tarnel-convert-" + std::to_string(std::hash<std::string>{}(fs::current_path(ec).string())) + "-" +
             std::to_string(n++) + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(path_, ec);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

FileResult ConvertStaged(TProgramData& project, const std::string& in, const std::string& out, int layout) {
  ScratchDir scratch;
  const std::string source = (scratch.path() / ("source" + fs::path(in).extension().string())).string();
  std::error_code ec;
  fs::copy_file(in, source, fs::copy_options::overwrite_existing, ec);
  if (ec) return FileResult::Fail("Cannot copy " + in + ": " + ec.message());
  const int stages = project.StageCount;
  if (FileResult r = tarnel::model::SplitStagedFile(source, stages); !r) return r;
  if (layout != tarnel::model::kLayoutTn5d) {
    if (FileResult r = tarnel::model::ConvertStageFiles(project, source, stages, layout); !r) return r;
  }
  const std::string joined = (scratch.path() / "joined.tn5d").string();
  if (FileResult r = tarnel::model::JoinStageFiles(joined, stages, source); !r) return r;
  const auto text = tarnel::model::ReadWholeFile(joined);
  if (!text) return FileResult::Fail("Cannot read " + joined);
  return tarnel::model::WriteFileSafely(out, *text);
}

}  // namespace

int main(int argc, char** argv) {
  int layout = 0;
  bool makeNew = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--new") {
      makeNew = true;
    } else if (arg == "--layout") {
      if (++i >= argc) return Usage();
      const std::string_view v = argv[i];
      const auto res = std::from_chars(v.data(), v.data() + v.size(), layout);
      if (res.ec != std::errc() || res.ptr != v.data() + v.size() || layout < 1 || layout > 5) return Usage();
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg.size() > 1) {
      return Usage();
    } else {
      files.emplace_back(arg);
    }
  }

  TProgramData project;
  if (makeNew) {
    if (files.size() != 1 || layout != 0) return Usage();
    if (FileResult r = project.WriteProject(files[0]); !r) {
      std::cerr << r.message << "\n";
      return 3;
    }
    return 0;
  }
  if (files.size() != 2) return Usage();
  const std::string& in = files[0];
  const std::string& out = files[1];
  if (layout == 0) layout = tarnel::model::LayoutCodeFromExtension(in);

  FileResult read = project.CreateFromFile(in, layout);
  if (!read) {
    std::cerr << in << ":\n" << read.message << "\n";
    return 1;
  }
  FileResult written = project.StageCount > 1 ? ConvertStaged(project, in, out, layout) : project.WriteProject(out);
  if (!written) {
    std::cerr << written.message << "\n";
    return 3;
  }
  return 0;
}
