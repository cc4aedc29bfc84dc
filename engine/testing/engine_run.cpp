#include "engine/testing/engine_run.h"

#include "engine/driver.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace tarnel::engine::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  for (;;) {
    path_ = fs::temp_directory_path() /
            ("tarnel-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

CurrentDir::CurrentDir(const fs::path& dir) : previous_(fs::current_path()) { fs::current_path(dir); }
CurrentDir::~CurrentDir() {
  std::error_code ec;
  fs::current_path(previous_, ec);
}

std::string readFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void writeFile(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) out.push_back(line);
  return out;
}

std::tm fixedTime() {
  std::tm tm{};
  tm.tm_year = 2026 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 5;
  tm.tm_hour = 9;
  tm.tm_min = 4;
  tm.tm_sec = 7;
  return tm;
}

OpenRun::OpenRun() {
  run.out.report.open(dir.path() / "wall.tn5o");
  run.out.plot.open(dir.path() / "wall.tn5p");
  run.out.notes.open(dir.path() / "wall.tn5r");
  run.out.err = &err;
}

std::vector<std::string> OpenRun::report() {
  run.out.report.flush();
  return lines(readFile(dir.path() / "wall.tn5o"));
}

std::vector<std::string> OpenRun::plot() {
  run.out.plot.flush();
  return lines(readFile(dir.path() / "wall.tn5p"));
}

std::vector<std::string> OpenRun::notes() {
  run.out.notes.flush();
  return lines(readFile(dir.path() / "wall.tn5r"));
}

bool OpenRun::reportHas(const std::string& line) {
  const auto r = report();
  return std::find(r.begin(), r.end(), line) != r.end();
}

EngineOutput runEngineOn(const std::string& data) {
  TempDir dir;
  const fs::path base = dir.path() / "wall";
  writeFile(dir.path() / "wall.tn5d", data);
  writeFile(dir.path() / kRunControlFile, "2015.5.22\r\n" + (base.string() + ".tn5d\r\n") + (base.string() + ".tn5o\r\n") +
                                              (base.string() + ".tn5p\r\n") + (base.string() + ".tn5r\r\n"));
  std::ostringstream err;
  {
    CurrentDir cd(dir.path());
    auto run = std::make_unique<RunState>();
    run->clock = fixedTime;
    run->out.err = &err;
    runAnalysis(*run);
  }
  EngineOutput out;
  out.err = err.str();
  out.reportExists = fs::exists(base.string() + ".tn5o");
  out.plotExists = fs::exists(base.string() + ".tn5p");
  out.notesExists = fs::exists(base.string() + ".tn5r");
  out.report = readFile(base.string() + ".tn5o");
  out.plot = readFile(base.string() + ".tn5p");
  out.notes = readFile(base.string() + ".tn5r");
  return out;
}

std::string crlf(const std::vector<std::string>& ls) {
  std::string s;
  for (const std::string& l : ls) s += l + "\r\n";
  return s;
}

}  // namespace tarnel::engine::testing
