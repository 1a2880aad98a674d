// The device's file system, inside a folder of this machine. Foundation's file reads and writes
// take absolute device paths ("/var/mobile/Library/Preferences/…") and resolve them inside the
// device root that the host process sets, so that nothing outside that folder is ever touched.
#pragma once

#include <string>
#include <string_view>

// Sets the folder that stands for the device's "/". Until it is set, every device path is refused.
void NSSetDeviceRoot_(std::string root);

// The path inside the device root for an absolute device path, or "" when the path is refused:
// no root set, a relative path, a ".." component or a NUL byte. Empty and "." components are
// dropped. The root itself is the host's folder and is trusted to hold no links leading out.
std::string NSDeviceResolvePath_(std::string_view absolutePath);

// For the host process only: `observer` is called with the device path of every file Foundation
// reads, after the read, and whether the read gave its bytes (false: absent, not a regular file or
// too large); nullptr stops it. The host process sees
// through it when the system reads its settings, which nothing else on the device tells it.
using NSDeviceReadObserver_ = void (*)(std::string_view devicePath, bool read, void* context);
void NSSetDeviceReadObserver_(NSDeviceReadObserver_ observer, void* context);
// Calls the observer set above, if any; for Foundation's file reads only.
void NSDeviceNoteRead_(std::string_view devicePath, bool read);
