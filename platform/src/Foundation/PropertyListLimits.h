// Bounds checked before property-list bytes reach libplist.
//
// libplist 2.2.0 builds, copies and frees nested containers recursively, so a file of a million
// nested arrays would overflow the stack of the host app, at every launch. Some of its work also
// grows faster than the file: a binary object is copied for every reference to it, a dictionary
// key is compared with every earlier key of its dictionary, and each XML entity moves the rest of
// its text. Settings files nest one or two levels deep and hold a few dozen values; a file past
// any of these bounds counts as unreadable, so any file within them loads in a few milliseconds.
#pragma once

#include <cstddef>
#include <string_view>

namespace foundation_detail {

inline constexpr size_t kMaxPropertyListBytes = size_t{1} << 20;
inline constexpr unsigned kMaxPropertyListDepth = 128;
// Values of the tree libplist builds, dictionary keys and each use of a shared binary object
// counted.
inline constexpr size_t kMaxPropertyListValues = size_t{1} << 16;
// Bytes of strings and data that libplist copies out of a binary list, each use counted.
inline constexpr size_t kMaxPropertyListCopiedBytes = kMaxPropertyListBytes;
// libplist checks each binary object against every container above it, for cycles: the sum of
// the values' depths.
inline constexpr size_t kMaxPropertyListDepthSum = size_t{1} << 20;
// Key comparisons that adding values to XML dictionaries can take, and the bytes they compare
// (libplist's key hash has 4096 buckets and a hash anyone can collide, so a dictionary of n keys
// is counted as n²/2 comparisons, each of a whole key).
inline constexpr size_t kMaxPropertyListKeyComparisons = size_t{1} << 20;
inline constexpr size_t kMaxPropertyListKeyBytesCompared = size_t{1} << 24;
// Bytes that XML entity replacement can move: each entity moves the rest of its run of text.
inline constexpr size_t kMaxPropertyListEntityMoves = size_t{1} << 24;

// Reads the XML as libplist's parser does (the same markup, ended and skipped the same way) and
// counts what it would build up to where it stops: false when that passes a bound.
bool xmlPropertyListWithinLimits(std::string_view xml);

// Walks a binary list's trailer, offset table and object references without recursion, with
// every read bounds-checked. False for anything out of bounds, a reference cycle, or a tree past
// a bound.
bool binaryPropertyListWithinLimits(std::string_view bytes);

}  // namespace foundation_detail
