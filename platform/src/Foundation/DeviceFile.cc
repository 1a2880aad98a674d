#include "DeviceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "Foundation/DeviceRoot.h"

namespace foundation_detail {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
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

std::optional<std::string> readResolvedFile(std::string_view devicePath, size_t limit) {
  std::string path = NSDeviceResolvePath_(devicePath);
  if (path.empty()) return std::nullopt;
  // Non-blocking, so that a FIFO put where the file should be cannot stall the host's launch.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
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
  auto bytes = readResolvedFile(devicePath, limit);
  NSDeviceNoteRead_(devicePath, bytes.has_value());
  return bytes;
}

bool writeDeviceFile(std::string_view devicePath, std::string_view bytes, bool atomically) {
  std::string path = NSDeviceResolvePath_(devicePath);
  if (path.empty()) return false;
  if (!atomically) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    return file.get() >= 0 && writeAll(file.get(), bytes) && file.close();
  }
  std::string temporary = path + ".XXXXXX";
  FileDescriptor file(::mkstemp(temporary.data()));
  if (file.get() < 0) return false;
  bool written = ::fchmod(file.get(), 0644) == 0 && writeAll(file.get(), bytes) && file.close() &&
                 ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!written) ::unlink(temporary.c_str());
  return written;
}

}  // namespace foundation_detail
