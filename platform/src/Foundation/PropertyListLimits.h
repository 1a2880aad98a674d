// Bounds checked before property-list bytes reach libplist.
//
// libplist 2.2.0 builds, copies and frees nested containers recursively, so a file of a million
// nested arrays would overflow the stack of the host app, at every launch. Settings files nest one
// or two levels deep; anything beyond these bounds counts as unreadable.
#pragma once

#include <cstddef>
#include <string_view>

namespace foundation_detail {

inline constexpr size_t kMaxPropertyListBytes = size_t{1} << 20;
inline constexpr unsigned kMaxPropertyListDepth = 128;
// A binary list may reference one object from many places, and libplist copies it for each;
// this bounds the values of the tree it builds (and the time the check takes).
inline constexpr size_t kMaxPropertyListValues = size_t{1} << 18;

// An upper bound of the container nesting that any reading of these XML bytes can build.
size_t xmlNestingBound(std::string_view xml);

// Walks a binary list's trailer, offset table and object references without recursion, with
// every read bounds-checked. False for anything out of bounds, a reference cycle, a depth above
// `maxDepth` or more than `maxValues` values in the tree it describes.
bool binaryPropertyListWithinLimits(std::string_view bytes, unsigned maxDepth, size_t maxValues);

}  // namespace foundation_detail
