// XML property lists come as UTF-8, with or without a byte-order mark, or as UTF-16 with its mark,
// as other tools write them; libplist reads UTF-8 without a mark only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation_detail {

// The bytes as libplist can read them: a UTF-8 mark dropped, UTF-16 (either byte order, after its
// mark) converted to UTF-8 in `storage`, anything else as it is. Nothing for UTF-16 that is cut
// short or holds a lone surrogate.
std::optional<std::string_view> unmarkedUtf8(std::string_view bytes, std::string& storage);

}  // namespace foundation_detail
