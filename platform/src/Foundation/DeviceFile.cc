#include "DeviceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "Foundation/DeviceRoot.h"

namespace foundation_detail {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  ~FileDescriptor() { reset(); }
  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// A device path's folder, opened one component at a time from the root without following a
// link, and the name of its last component. Opening each folder relative to the one before
// closes the gap in which a folder checked by name could be swapped for a link.
struct Place {
  FileDescriptor folder;
  std::string name;
  std::string path;     // the machine path, for messages
  std::string problem;  // "" when the folder is open
  int error = 0;        // the errno behind the problem, when there is one
};

std::string why(const std::string& path, int error) { return path + ": " + std::strerror(error); }

std::string linkRefused(const std::string& path) {
  return path + " is a symbolic link, and the device root is never left or written through one";
}

// Why `name` in `folder` cannot be opened as it was asked, after an open failed with `error`.
std::string openProblem(int folder, const std::string& name, const std::string& path, int error) {
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(status.st_mode)) {
    return linkRefused(path);
  }
  return why(path, error);
}

Place place(std::string_view devicePath, bool makeFolders) {
  Place p;
  p.path = NSDeviceResolvePath_(devicePath);
  std::string root = NSDeviceResolvePath_("/");
  if (p.path.empty() || root.empty() || p.path == root) {
    p.problem = "the device path '" + std::string(devicePath) + "' is refused";
    return p;
  }
  // The root is the host's own folder: a link on the way to it is the host's choice.
  p.folder.reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (p.folder.get() < 0) {
    p.problem = why(root, errno);
    return p;
  }
  std::string reached = root == "/" ? "" : root;
  size_t at = reached.size() + 1;
  while (true) {
    size_t end = p.path.find('/', at);
    std::string name = p.path.substr(at, end == std::string::npos ? end : end - at);
    reached += "/" + name;
    if (end == std::string::npos) {
      p.name = std::move(name);
      return p;
    }
    at = end + 1;
    int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int next = ::openat(p.folder.get(), name.c_str(), flags);
    if (next < 0 && errno == ENOENT && makeFolders &&
        (::mkdirat(p.folder.get(), name.c_str(), 0755) == 0 || errno == EEXIST)) {
      next = ::openat(p.folder.get(), name.c_str(), flags);
    }
    if (next < 0) {
      p.error = errno;
      p.problem = openProblem(p.folder.get(), name, reached, p.error);
      p.folder.reset();
      return p;
    }
    p.folder.reset(next);
  }
}

// A name for a temporary file beside the target, unlikely to be taken; the caller creates it
// exclusively and tries again when it is.
std::string temporaryName(const std::string& name) {
  static std::atomic<unsigned> counter = 0;
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  unsigned long mixed = static_cast<unsigned long>(now.tv_nsec) ^
                        (static_cast<unsigned long>(::getpid()) << 20) ^ counter.fetch_add(1);
  return "." + name + "." + std::to_string(mixed % 1000000000UL);
}

std::string replaceAtomically(const Place& p, std::string_view bytes) {
  struct stat status {};
  if (::fstatat(p.folder.get(), p.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISLNK(status.st_mode)) return linkRefused(p.path);
    if (S_ISDIR(status.st_mode)) return p.path + " is a folder";
  }
  std::string temporary;
  FileDescriptor file;
  for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
    temporary = temporaryName(p.name);
    file.reset(::openat(p.folder.get(), temporary.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file.get() < 0 && errno != EEXIST) return why(p.path, errno);
  }
  if (file.get() < 0) return why(p.path, EEXIST);
  bool written = ::fchmod(file.get(), 0644) == 0 && writeAll(file.get(), bytes) && file.close() &&
                 ::renameat(p.folder.get(), temporary.c_str(), p.folder.get(), p.name.c_str()) == 0;
  if (written) return "";
  int error = errno;
  ::unlinkat(p.folder.get(), temporary.c_str(), 0);
  return why(p.path, error);
}

std::optional<std::string> readFile(std::string_view devicePath, size_t limit) {
  Place p = place(devicePath, false);
  if (!p.problem.empty()) return std::nullopt;
  // Non-blocking, so that a FIFO put where the file should be cannot stall the host's launch.
  FileDescriptor file(
      ::openat(p.folder.get(), p.name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
  if (file.get() < 0) return std::nullopt;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  if (static_cast<uintmax_t>(status.st_size) > limit) return std::nullopt;
  // Read up to one byte past the limit, in case the file grew since fstat.
  std::string bytes(std::min(static_cast<size_t>(status.st_size), limit) + 1, '\0');
  size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) {
      if (bytes.size() > limit) return std::nullopt;
      bytes.resize(std::min(bytes.size() * 2, limit + 1));
    }
    ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace

std::optional<std::string> readDeviceFile(std::string_view devicePath, size_t limit) {
  auto bytes = readFile(devicePath, limit);
  NSDeviceNoteRead_(devicePath, bytes.has_value());
  return bytes;
}

bool writeDeviceFile(std::string_view devicePath, std::string_view bytes, bool atomically) {
  Place p = place(devicePath, false);
  if (!p.problem.empty()) return false;
  if (atomically) return replaceAtomically(p, bytes).empty();
  FileDescriptor file(::openat(p.folder.get(), p.name.c_str(),
                               O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
  return file.get() >= 0 && writeAll(file.get(), bytes) && file.close();
}

}  // namespace foundation_detail

std::optional<std::string> NSDeviceReadFile_(std::string_view devicePath, size_t limit) {
  return foundation_detail::readDeviceFile(devicePath, limit);
}

std::string NSDeviceWriteFile_(std::string_view devicePath, std::string_view bytes) {
  foundation_detail::Place p = foundation_detail::place(devicePath, true);
  return p.problem.empty() ? foundation_detail::replaceAtomically(p, bytes) : p.problem;
}

std::string NSDeviceRemoveFile_(std::string_view devicePath) {
  foundation_detail::Place p = foundation_detail::place(devicePath, false);
  if (p.error == ENOENT) return "";  // no folder, so no file
  if (!p.problem.empty()) return p.problem;
  if (::unlinkat(p.folder.get(), p.name.c_str(), 0) == 0 || errno == ENOENT) return "";
  return foundation_detail::why(p.path, errno);
}
