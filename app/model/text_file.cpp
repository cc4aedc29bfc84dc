// Whole-file reads and safe file replacement.
#include "app/model/text_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "app/model/program_data.h"

namespace tarnel::model {

namespace fs = std::filesystem;

FileResult WriteFileSafely(const std::string& path, const std::string& text) {
  const fs::path target(path);
  // A file the user made read-only stays as it is: replacing it by a rename would get past
  // its read-only mark (the folder allows the rename), which is not what the mark asks for.
  {
    std::error_code ec;
    const fs::file_status st = fs::status(target, ec);
    constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (!ec && fs::is_regular_file(st) && (st.permissions() & writable) == fs::perms::none)
      return FileResult::Fail("Unable to write file " + path + ": the file is read-only");
  }
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path temp = target;
  temp += ".tmp" + std::to_string(stamp % 1000000) + "_" + std::to_string(counter++);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      return FileResult::Fail("Unable to write file " + path + ": " + std::strerror(errno));
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();  // flushes; a failed write or flush leaves the stream failed
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      return FileResult::Fail("Unable to write file " + path + ": the disk may be full");
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignore;
    fs::remove(temp, ignore);
    return FileResult::Fail("Unable to write file " + path + ": " + ec.message());
  }
  return {};
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // A folder opens like a file here but throws on the first read (a folder dropped on the
  // window, a recent-file entry that became a folder): it is a file that cannot be read.
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::nullopt;
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const bool last = end == std::string::npos;
    if (last) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = last ? text.size() : end + 1;
  }
  return lines;
}

}  // namespace tarnel::model
