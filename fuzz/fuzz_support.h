// Shared pieces of the fuzz targets: a private scratch folder for the readers that work on
// files, whole-file helpers and the check that turns a broken property into a finding.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <concepts>
#include <string>
#include <string_view>

namespace tarnel::fuzz {

// A folder private to this fuzzing process, in memory when the system has a RAM file
// system (every input writes a few small files; a disk would make them the bottleneck).
// Removed when the process ends normally.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }
  // Empties the folder.
  void clear() const;

 private:
  std::filesystem::path path_;
};

void writeFile(const std::string& path, std::string_view text);
std::string readFile(const std::string& path);
// The same into `text` (emptied first; empty when the file cannot be read).
void readFile(const std::string& path, std::string& text);

// A property every input must keep; a broken one aborts so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "FUZZ FINDING: %s\n%s\n", what, detail.c_str());
  std::abort();
}

inline void check(bool ok, const char* what, const std::string& detail = {}) {
  if (!ok) fail(what, detail);
}

// A detail that costs something to build (a number as text, the difference of two projects,
// a copy of the input) is passed as a function and built only for a finding: built for every
// input, such details cost more than the code under test.
template <std::invocable Detail>
void check(bool ok, const char* what, Detail&& detail) {
  if (!ok) fail(what, std::string(detail()));
}

}  // namespace tarnel::fuzz
