#include "fuzz/fuzz_support.h"

#include <fstream>
#include <system_error>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace tarnel::fuzz {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::error_code ec;
  fs::path base = "/dev/shm";
  if (!fs::is_directory(base, ec) || access(base.c_str(), W_OK) != 0) base = fs::temp_directory_path();
  for (unsigned k = 0;; ++k) {
    path_ = base / ("tarnel-fuzz-" + std::to_string(getpid()) + "-" + std::to_string(k));
    if (fs::create_directory(path_, ec)) break;
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void ScratchDir::clear() const {
  // Plain unlink per entry: the directory iterator and remove_all ask for the status of
  // every file, which cost more than the split and join the stage-file target checks.
  DIR* d = opendir(path_.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (const dirent* e = readdir(d)) {
    const std::string_view n = e->d_name;
    if (n != "." && n != "..") names.emplace_back(n);
  }
  closedir(d);
  for (const std::string& n : names) {
    const fs::path p = path_ / n;
    if (unlink(p.c_str()) != 0) {
      std::error_code ec;
      fs::remove_all(p, ec);  // a folder
    }
  }
}

void writeFile(const std::string& path, std::string_view text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string readFile(const std::string& path) {
  std::string text;
  readFile(path, text);
  return text;
}

void readFile(const std::string& path, std::string& text) {
  // Plain reads into a buffer the caller keeps: a stream per file would allocate and fill
  // a fresh buffer per input, which under AddressSanitizer costs more than the read.
  text.clear();
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  char chunk[16384];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n <= 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
}

}  // namespace tarnel::fuzz
