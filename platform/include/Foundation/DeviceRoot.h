// The device's file system, inside a folder of this machine. Foundation's file reads and writes
// take absolute device paths ("/var/mobile/Library/Preferences/…") and resolve them inside the
// device root that the host process sets, so that nothing outside that folder is ever touched.
//
// No file function follows a symbolic link below the root, at a folder of the path or at the file
// itself: a link there could lead out of the root, so the path is refused (a read finds nothing, a
// write fails). The way to the root itself is the host's choice and is followed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Sets the folder that stands for the device's "/". Until it is set, every device path is refused.
void NSSetDeviceRoot_(std::string root);

// The path inside the device root for an absolute device path, or "" when the path is refused:
// no root set, a relative path, a ".." component or a NUL byte. Empty and "." components are
// dropped. This maps names only; the file functions below check what lies along the way.
std::string NSDeviceResolvePath_(std::string_view absolutePath);

// For the host process only, which also plays the processes that write the device's files (the
// settings pane). The writer and remover answer "" on success or what went wrong, naming the
// machine path (a link they refuse, a folder in the way).

// The bytes of a regular file, or nothing when it is missing, refused, or larger than `limit`.
std::optional<std::string> NSDeviceReadFile_(std::string_view devicePath, size_t limit);
// Replaces the file with `bytes` atomically: a new file beside it, renamed over it, so a reader
// sees the old bytes or the new ones and never a link's target changed. Makes missing folders.
std::string NSDeviceWriteFile_(std::string_view devicePath, std::string_view bytes);
// Removes the file (a link there is removed, never its target); a missing file is no error.
std::string NSDeviceRemoveFile_(std::string_view devicePath);

// For the host process only: `observer` is called with the device path of every file Foundation
// reads, after the read, and whether the read gave its bytes (false: absent, not a regular file or
// too large); nullptr stops it. The host process sees
// through it when the system reads its settings, which nothing else on the device tells it.
using NSDeviceReadObserver_ = void (*)(std::string_view devicePath, bool read, void* context);
void NSSetDeviceReadObserver_(NSDeviceReadObserver_ observer, void* context);
// Calls the observer set above, if any; for Foundation's file reads only.
void NSDeviceNoteRead_(std::string_view devicePath, bool read);
