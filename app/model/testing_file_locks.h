// Test helpers that take a file or folder away from the program while it runs, the way a
// full disk, a read-only mark or another user would, and give it back when they go.
//
// WriteLock: a folder or file that cannot be changed. As a user the write permission is
// taken away; root ignores permission bits, so for root the file system's immutable mark is
// set instead (where the system allows it). `locked()` says whether either worked, and
// `how()` which one, so a test never passes without the lock in place.
//
// FileSizeLimit: every file this process writes may grow only to `bytes` (writes beyond it
// fail with "File too large", as on a full disk); the signal the system would send instead
// is ignored while the limit holds.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#if defined(__linux__)
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>
#define TARNEL_FILE_LOCKS 1
#endif

namespace tarnel::model {

#if defined(TARNEL_FILE_LOCKS)

class WriteLock {
 public:
  explicit WriteLock(std::filesystem::path path) : path_(std::move(path)) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (::geteuid() != 0) {
      const fs::perms old = fs::status(path_, ec).permissions();
      if (ec) return;
      oldPerms_ = old;
      fs::permissions(path_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove, ec);
      if (!ec) how_ = "write permission taken away";
      return;
    }
    if (SetImmutable(true)) how_ = "immutable mark";
  }
  ~WriteLock() {
    if (how_.empty()) return;
    std::error_code ec;
    if (oldPerms_) std::filesystem::permissions(path_, *oldPerms_, ec);
    else SetImmutable(false);
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

  bool locked() const { return !how_.empty(); }
  const std::string& how() const { return how_; }

 private:
  bool SetImmutable(bool on) {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
  }

  std::filesystem::path path_;
  std::optional<std::filesystem::perms> oldPerms_;
  std::string how_;
};

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ok_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool ok() const { return ok_; }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = SIG_DFL;
  bool ok_ = false;
};

#endif

}  // namespace tarnel::model
