// Whole-file reads and writes of device paths (resolved inside the device root).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace foundation_detail {

// The file's bytes; nothing when the path is refused, the file is missing, not a regular file,
// unreadable or larger than `limit` bytes (a larger file counts as unreadable).
std::optional<std::string> readDeviceFile(std::string_view devicePath, size_t limit);

// Writes the bytes; atomically means into a temporary file beside it, renamed over the target.
bool writeDeviceFile(std::string_view devicePath, std::string_view bytes, bool atomically);

}  // namespace foundation_detail
