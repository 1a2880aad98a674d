// Property lists through libplist, converted to and from Foundation objects.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "objc/NSObject.h"

namespace foundation_detail {

// The root object of an XML or binary property list (dictionaries, arrays, strings, numbers,
// data and dates); nil for bytes that are not one, or that pass the bounds of PropertyListLimits.h.
id propertyListFromBytes(std::string_view bytes);

// A binary property list of `root`; nothing when the tree holds an object of another kind or
// nests deeper than the bound.
std::optional<std::string> binaryPropertyList(const NSObject& root);

}  // namespace foundation_detail
