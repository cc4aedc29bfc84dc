// tarnel-winrun [--interface N] FILE.tn5d — analyses one data file on Windows the way the
// interactive program runs the engine: names.dat (version line and the four full paths,
// Windows separators, CR LF line ends) is written into a private working folder that is
// the current folder during the run and also takes the engine's scratch files; the
// library is loaded by name with LoadLibrary, `_ITARNEL` is resolved and called with the
// interface version (22 unless --interface says otherwise), the library is unloaded and
// the folder removed. The report, plot data and run notes go beside the data file.
//
// The interactive program and tarnel-run do the same through Qt; this loader needs only
// the Win32 API, so that the cross-built engine can be run and checked under Wine.
//
// Exit codes: 0 the engine ran; 1 wrong usage; 2 the data file or the library or its
// entry point is missing, a file could not be written, or the engine refused the call.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr const char* kUsage = "usage: tarnel-winrun [--interface N] FILE.tn5d";
constexpr const char* kEngineLibrary = "Tarnel2015_DLL.dll";
constexpr const char* kEntryPoint = "_ITARNEL";
constexpr std::int32_t kInterfaceVersion = 22;

using EntryPoint = std::int32_t(__cdecl*)(std::int32_t);

int fail(const std::string& message) {
  std::fprintf(stderr, "tarnel-winrun: %s\n", message.c_str());
  return 2;
}

std::string fullPath(const std::string& path) {
  const DWORD n = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return {};
  std::string full(n, '\0');
  const DWORD written = GetFullPathNameA(path.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return {};
  full.resize(written);
  return full;
}

bool isFile(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// FILE.tn5d -> FILE + extension, as the program names a run's outputs.
std::string outputPath(const std::string& dataPath, const char* extension) {
  const std::size_t slash = dataPath.find_last_of("\\/:");
  const std::size_t dot = dataPath.find_last_of('.');
  const bool hasSuffix = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasSuffix ? dataPath.substr(0, dot) : dataPath) + extension;
}

// A working folder of its own under the user's temporary folder, removed with its files
// (names.dat and the engine's scratch files) when the run ends, however it ends.
class WorkFolder {
 public:
  WorkFolder() {
    char temp[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) return;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
      const std::string candidate = std::string(temp) + "tarnel-run-" + std::to_string(GetCurrentProcessId()) +
                                    "-" + std::to_string(GetTickCount() + attempt);
      if (CreateDirectoryA(candidate.c_str(), nullptr)) {
        path_ = candidate;
        return;
      }
      if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
  }
  ~WorkFolder() {
    if (path_.empty()) return;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((path_ + "\\" + entry.cFileName).c_str());
      } while (FindNextFileA(find, &entry));
      FindClose(find);
    }
    RemoveDirectoryA(path_.c_str());
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Makes a folder the current one for the run and restores the previous one after it.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) {
    char previous[MAX_PATH + 1];
    const DWORD n = GetCurrentDirectoryA(sizeof previous, previous);
    if (n > 0 && n <= MAX_PATH) previous_ = previous;
    ok_ = !previous_.empty() && SetCurrentDirectoryA(folder.c_str());
  }
  ~CurrentFolder() {
    if (ok_) SetCurrentDirectoryA(previous_.c_str());
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

class Library {
 public:
  explicit Library(const char* name) : handle_(LoadLibraryA(name)) {}
  ~Library() {
    if (handle_) FreeLibrary(handle_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  HMODULE handle() const { return handle_; }

 private:
  HMODULE handle_;
};

bool writeRunControl(const std::string& path, const std::string (&paths)[4]) {
  std::ofstream f(path, std::ios::out | std::ios::binary | std::ios::trunc);
  f << TARNEL_VERSION_TEXT << "\r\n";
  for (const std::string& p : paths) f << p << "\r\n";
  f.close();
  return !f.fail();
}

bool parseInterface(const char* text, std::int32_t& value) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::int32_t interfaceVersion = kInterfaceVersion;
  std::string dataArg;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::puts(kUsage);
      return 0;
    }
    if (arg == "--interface" && i + 1 < argc && parseInterface(argv[i + 1], interfaceVersion)) {
      ++i;
    } else if (dataArg.empty() && !arg.empty() && arg[0] != '-') {
      dataArg = arg;
    } else {
      dataArg.clear();
      break;
    }
  }
  if (dataArg.empty()) {
    std::fprintf(stderr, "%s\n", kUsage);
    return 1;
  }

  const std::string dataPath = fullPath(dataArg);
  if (dataPath.empty() || !isFile(dataPath)) return fail("the data file " + dataArg + " does not exist.");
  const std::string paths[4] = {dataPath, outputPath(dataPath, ".tn5o"), outputPath(dataPath, ".tn5p"),
                                outputPath(dataPath, ".tn5r")};

  const WorkFolder work;
  if (work.path().empty()) return fail("a working folder for the analysis could not be created.");
  const std::string names = work.path() + "\\names.dat";
  if (!writeRunControl(names, paths)) return fail("the run-control file " + names + " could not be written.");

  // Loaded from the program's own folder (the first place LoadLibrary looks) before the
  // current folder changes, and unloaded before the working folder is removed.
  const Library engine(kEngineLibrary);
  if (!engine.handle()) return fail(std::string("the engine library ") + kEngineLibrary + " could not be loaded.");
  const auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(engine.handle(), kEntryPoint)));
  if (!entry) return fail(std::string("the engine library has no entry point ") + kEntryPoint + ".");

  std::int32_t result = 0;
  {
    const CurrentFolder current(work.path());
    if (!current.ok()) return fail("the working folder " + work.path() + " could not be entered.");
    result = entry(interfaceVersion);
  }
  std::printf("%s(%ld) returned %ld\n", kEntryPoint, static_cast<long>(interfaceVersion), static_cast<long>(result));
  if (result != 0) return fail("the engine refused the call (interface version " + std::to_string(interfaceVersion) + ").");
  std::printf("Report:    %s\nPlot data: %s\nRun notes: %s\n", paths[1].c_str(), paths[2].c_str(), paths[3].c_str());
  return 0;
}
