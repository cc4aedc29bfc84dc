// Whole-file reads and safe file replacement.
#include "app/model/text_file.h"

#include <atomic>
#include <cstdio>
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

namespace {

// The temporary file beside `target`. Its name stays short enough for the folder even when
// the target's own name is near the length limit of a file name (a suffix added to such a
// name would make every save of it fail).
fs::path TemporaryFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string name = target.filename().string();
  if (name.size() > 64) name.resize(64);
  name += ".tmp" + std::to_string(stamp % 1000000) + "_" + std::to_string(counter++);
  return target.parent_path() / name;
}

std::string Reason(int error) { return error ? std::strerror(error) : "the file could not be written"; }

}  // namespace

FileResult WriteFileSafely(const std::string& path, const std::string& text) {
  fs::path target(path);
  const auto fail = [&path](const std::string& reason) {
    return FileResult::Fail("Unable to write file " + path + ": " + reason);
  };
  std::error_code ec;
  // A link stays a link: the file it points to is the one replaced.
  if (fs::is_symlink(target, ec)) {
    const fs::path real = fs::canonical(target, ec);
    if (!ec) target = real;
  }
  // A file the user made read-only stays as it is: replacing it by a rename would get past
  // its read-only mark (the folder allows the rename), which is not what the mark asks for.
  const fs::file_status st = fs::status(target, ec);
  const bool replaces = !ec && fs::is_regular_file(st);
  constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (replaces && (st.permissions() & writable) == fs::perms::none) return fail("the file is read-only");

  const fs::path temp = TemporaryFor(target);
  const auto discard = [&temp] {
    std::error_code ignore;
    fs::remove(temp, ignore);
  };
  // C streams report the cause of a failed write in errno (a full disk, a file too large);
  // a C++ stream only says that it failed.
  errno = 0;
#ifdef _WIN32
  std::FILE* out = _wfopen(temp.c_str(), L"wb");
#else
  std::FILE* out = std::fopen(temp.c_str(), "wb");
#endif
  if (!out) return fail(Reason(errno));
  errno = 0;
  bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
  int error = errno;
  if (std::fclose(out) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    discard();
    return fail(Reason(error));
  }
  // The new file keeps the access rights of the one it replaces.
  if (replaces) fs::permissions(temp, st.permissions(), ec);
  fs::rename(temp, target, ec);
  if (ec) {
    discard();
    return fail(ec.message());
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
