#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "platform/DeviceFiles.h"
#include "support/BinaryPlist.h"

namespace {

using support::bigEndian;
using support::BinaryList;

constexpr const char* kPath = "/var/mobile/Library/Preferences/test.plist";
constexpr size_t kMiB = size_t{1} << 20;

struct Case {
  const char* name;
  std::string bytes;
};

id readBack() { return alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kPath)); }
Ref<NSDictionary> readDictionary() { return objc_cast<NSDictionary>(readBack()); }

template <class T>
Ref<T> entry(const Ref<NSDictionary>& dictionary, const char* key) {
  return dictionary ? objc_cast<T>(dictionary->objectForKey(NSStr(key))) : nullptr;
}

// Reads the file, failing the test if that took two seconds or more.
id readQuickly() {
  auto started = std::chrono::steady_clock::now();
  id read = readBack();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  return read;
}

std::string repeated(std::string_view text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

// An XML settings file whose root dictionary holds `depth - 1` nested arrays.
std::string nestedXml(size_t depth, bool closed = true) {
  std::string xml = "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>k</key>";
  xml += repeated("<array>", depth - 1);
  if (closed) xml += repeated("</array>", depth - 1) + "</dict></plist>";
  return xml;
}

// A root dictionary {"k": array} over `depth - 1` arrays each holding the next.
std::string nestedBinary(size_t depth) {
  BinaryList list;
  uint64_t key = list.add("\x51k");
  uint64_t root = list.add("\xD1" + bigEndian(key, 4) + bigEndian(2, 4));
  for (size_t level = 2; level <= depth; ++level) {
    list.add(level == depth ? BinaryList::arrayOf({}) : BinaryList::arrayOf({root + level}));
  }
  return list.finish(root);
}

// {key: value}, both given as binary objects, after the objects already in `list`.
std::string binaryWith(std::string_view value, BinaryList list = {},
                       std::string_view key = "\x51k") {
  uint64_t k = list.add(key);
  uint64_t v = list.add(value);
  return list.finish(list.add("\xD1" + bigEndian(k, 4) + bigEndian(v, 4)));
}

}  // namespace

// Each form written by libplist reads; what was read is written back (a binary list, atomically
// or in place) and reads the same.
TEST(PropertyList, ReadsEveryValueKindAndWritesItBack) {
  test::TempDeviceRoot root;
  const char data[] = {'\0', '\x01', '\xff'};
  auto check = [&](const Ref<NSDictionary>& read, test::PlistFormat format) {
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->count(), 8u);
    ASSERT_NE(entry<NSNumber>(read, "yes"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "yes")->kind_(), NSNumber::Kind::Boolean);
    // libplist hands a negative integer back as its 64-bit two's complement.
    ASSERT_NE(entry<NSNumber>(read, "negative"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "negative")->longLongValue(), -5);
    EXPECT_EQ(entry<NSNumber>(read, "negative")->intValue(), -5);
    EXPECT_EQ(entry<NSNumber>(read, "max")->longLongValue(), INT64_MAX);
    EXPECT_EQ(entry<NSNumber>(read, "real")->kind_(), NSNumber::Kind::Real);
    EXPECT_EQ(entry<NSNumber>(read, "real")->doubleValue(), -2.75);
    auto readData = entry<NSData>(read, "data");
    ASSERT_NE(readData, nullptr);
    ASSERT_EQ(readData->length(), sizeof data);
    EXPECT_EQ(std::memcmp(readData->bytes(), data, sizeof data), 0);
    // XML dates keep whole seconds.
    EXPECT_NEAR(entry<NSDate>(read, "date")->timeIntervalSinceReferenceDate(),
                format == test::PlistFormat::Xml ? 100 : 100.5, 1e-6);
    auto array = entry<NSArray>(read, "array");
    ASSERT_EQ(array->count(), 1u);
    EXPECT_EQ(objc_cast<NSString>(array->objectAtIndex(0))->string(), "h\xc3\xa9llo");
    auto inner = entry<NSDictionary>(read, "dict");
    ASSERT_NE(inner, nullptr);
    EXPECT_FALSE(entry<NSNumber>(inner, "no")->boolValue());
    // The receiver's class decides the root's; nested containers are immutable.
    EXPECT_TRUE(read->isKindOfClass(NSMutableDictionary::objcClass()));
    EXPECT_FALSE(inner->isKindOfClass(NSMutableDictionary::objcClass()));
  };
  for (auto format : test::kBothFormats) {
    SCOPED_TRACE(test::nameOf(format));
    test::Plist list(plist_new_dict());
    plist_dict_set_item(list.get(), "yes", plist_new_bool(1));
    plist_dict_set_item(list.get(), "negative", plist_new_uint(static_cast<uint64_t>(-5)));
    plist_dict_set_item(list.get(), "max", plist_new_uint(INT64_MAX));
    plist_dict_set_item(list.get(), "real", plist_new_real(-2.75));
    plist_dict_set_item(list.get(), "data", plist_new_data(data, sizeof data));
    plist_dict_set_item(list.get(), "date", plist_new_date(100, 500000));
    plist_t array = plist_new_array();
    plist_array_append_item(array, plist_new_string("h\xc3\xa9llo"));
    plist_dict_set_item(list.get(), "array", array);
    plist_t inner = plist_new_dict();
    plist_dict_set_item(inner, "no", plist_new_bool(0));
    plist_dict_set_item(list.get(), "dict", inner);
    root.write(kPath, test::serialized(list, format));
    auto read = readDictionary();
    check(read, format);

    bool atomically = format == test::PlistFormat::Xml;
    ASSERT_TRUE(
        objc_msgSend<bool>(read, selector<"writeToFile:atomically:">(), NSStr(kPath), atomically));
    std::ifstream file(root.hostPath(kPath), std::ios::binary);
    std::string header(8, '\0');
    file.read(header.data(), 8);
    EXPECT_EQ(header, "bplist00");
    check(readDictionary(), format);
  }
  // The atomic write left no temporary file behind.
  auto folder = std::filesystem::path(root.hostPath(kPath)).parent_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

  // An object a property list cannot hold makes the write fail, and leaves the old file.
  auto unwritable = alloc_init<NSMutableDictionary>();
  unwritable->setObject(alloc_init<NSObject>(), NSStr("object"));
  EXPECT_FALSE(unwritable->writeToFile(NSStr(kPath), YES));
  EXPECT_NE(readDictionary(), nullptr);
  // So does a missing folder: as in Foundation, none is made.
  EXPECT_FALSE(readDictionary()->writeToFile(NSStr("/no/such/folder/x.plist"), YES));
}

TEST(PropertyList, AnythingButADictionaryFileGivesNil) {
  test::TempDeviceRoot root;
  EXPECT_EQ(readBack(), nullptr) << "missing";
  test::Plist valid = test::dictionaryWith("k", plist_new_uint(1));
  std::string xml = test::serialized(valid, test::PlistFormat::Xml);
  std::string binary = test::serialized(valid, test::PlistFormat::Binary);
  test::Plist array(plist_new_array());
  test::Plist string(plist_new_string("dict"));
  const Case cases[] = {
      {"empty", ""},
      {"seven bytes", "bplist0"},
      {"XML cut short", xml.substr(0, xml.size() / 2)},
      {"binary without its trailer", binary.substr(0, binary.size() - 32)},
      {"garbage", "\x13\x37 not a property list at all \xff\xfe"},
      {"a binary header over zeros", "bplist00" + std::string(64, '\0')},
      {"XML array root", test::serialized(array, test::PlistFormat::Xml)},
      {"binary string root", test::serialized(string, test::PlistFormat::Binary)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    root.write(kPath, c.bytes);
    EXPECT_EQ(readBack(), nullptr);
  }
  root.write(kPath, binary);
  EXPECT_NE(readBack(), nullptr) << "the control case reads";

  // A folder or a pipe where the file should be: nil, at once.
  root.remove(kPath);
  std::filesystem::create_directory(root.hostPath(kPath));
  EXPECT_EQ(readBack(), nullptr);
  std::filesystem::remove(root.hostPath(kPath));
  ASSERT_EQ(::mkfifo(root.hostPath(kPath).c_str(), 0600), 0);
  EXPECT_EQ(readQuickly(), nullptr);
}

TEST(PropertyList, FilesOverOneMebibyteAreRefusedUnread) {
  test::TempDeviceRoot root;
  // Exactly 1 MiB, padded inside a string, reads; one byte more does not.
  std::string head = "<plist><dict><key>k</key><string>";
  std::string tail = "</string></dict></plist>";
  const size_t pad = kMiB - head.size() - tail.size();
  root.write(kPath, head + std::string(pad, 'a') + tail);
  EXPECT_EQ(entry<NSString>(readDictionary(), "k")->length(), pad);
  root.write(kPath, head + std::string(pad + 1, 'a') + tail);
  EXPECT_EQ(readBack(), nullptr);
  // 64 MiB, mostly a hole: refused without being read.
  root.write(kPath, head);
  std::filesystem::resize_file(root.hostPath(kPath), 64 * kMiB);
  EXPECT_EQ(readQuickly(), nullptr);
}

TEST(PropertyList, XmlNestingIsBoundedBeforeParsing) {
  test::TempDeviceRoot root;
  root.write(kPath, nestedXml(128));
  EXPECT_NE(readBack(), nullptr) << "128 levels, the root included";
  root.write(kPath, nestedXml(129));
  EXPECT_EQ(readBack(), nullptr);
  // Deep enough to overflow libplist's stack within 1 MiB, closed and left open.
  for (auto [depth, closed] : {std::pair{size_t{69000}, true}, std::pair{size_t{149000}, false}}) {
    SCOPED_TRACE(depth);
    root.write(kPath, nestedXml(depth, closed));
    EXPECT_EQ(readQuickly(), nullptr);
  }
  // Markup that hides 200 levels of nesting from a scan ending each construct at the first ">".
  for (const char* trick : {
           "<array><!-- > </array> -->",  // ">" inside a comment
           "<array a=\"></array>\">",     // ">" inside a quoted attribute
           "<array><string><![CDATA[</string></array>]]></string>",  // markup inside CDATA
       }) {
    SCOPED_TRACE(trick);
    root.write(kPath, "<plist><dict><key>k</key>" + repeated(trick, 200) +
                          repeated("</array>", 200) + "</dict></plist>");
    EXPECT_EQ(readBack(), nullptr);
  }
  // Such markup in a shallow file hides no nesting: a comment, a processing instruction and
  // CDATA holding ">" and tags, beside 300 sibling arrays, read.
  root.write(kPath,
             "<?xml version=\"1.0\"?><?x \"?>\" <array>?><plist><!-- a > b <array> -->"
             "<dict><key>k</key><array>" +
                 repeated("<array></array>", 300) +
                 "<string><![CDATA[<array>]]></string></array></dict></plist>");
  EXPECT_EQ(entry<NSArray>(readDictionary(), "k")->count(), 301u);
}

TEST(PropertyList, BinaryNestingReferencesAndBoundsAreCheckedBeforeParsing) {
  test::TempDeviceRoot root;
  root.write(kPath, nestedBinary(128));
  EXPECT_NE(readBack(), nullptr) << "128 levels, the root included";
  root.write(kPath, nestedBinary(129));
  EXPECT_EQ(readBack(), nullptr);
  root.write(kPath, nestedBinary(100000));
  EXPECT_EQ(readQuickly(), nullptr);

  // A dictionary whose value is an array holding itself.
  root.write(kPath, binaryWith(BinaryList::arrayOf({2})));
  EXPECT_EQ(readBack(), nullptr);

  // Shared objects: libplist copies an object for every reference to it. Three levels of two
  // references read (as eight copies); thirty levels would be a billion copies.
  for (size_t levels : {size_t{3}, size_t{30}}) {
    SCOPED_TRACE(levels);
    BinaryList shared;
    shared.add("\x51k");
    shared.add("\xD1" + bigEndian(0, 4) + bigEndian(2, 4));
    for (size_t level = 0; level < levels; ++level) {
      shared.add(BinaryList::arrayOf({3 + level, 3 + level}));
    }
    shared.add("\x09");  // true
    root.write(kPath, shared.finish(1));
    auto read = objc_cast<NSDictionary>(readQuickly());
    EXPECT_EQ(read != nullptr, levels == 3);
  }

  // Every field of the trailer and every reference is checked against the file.
  BinaryList good;
  good.add("\x51k");
  good.add("\xD1" + bigEndian(0, 4) + bigEndian(2, 4));
  good.add(BinaryList::arrayOf(std::vector<uint64_t>(20, 3)));  // a count after the marker
  good.add("\x10\x05");
  const std::string valid = good.finish(1);
  root.write(kPath, valid);
  ASSERT_EQ(entry<NSArray>(readDictionary(), "k")->count(), 20u);
  const size_t end = valid.size();
  auto patched = [&](size_t at, std::string_view bytes) {
    return std::string(valid).replace(at, bytes.size(), bytes);
  };
  const size_t arrayAt = 8 + 2 + 9;
  const Case cases[] = {
      {"offset size 0", patched(end - 26, std::string(1, '\0'))},
      {"offset size 9", patched(end - 26, "\x09")},
      {"reference size 0", patched(end - 25, std::string(1, '\0'))},
      {"no objects", patched(end - 24, bigEndian(0, 8))},
      {"more objects than the table holds", patched(end - 24, bigEndian(5, 8))},
      {"a huge object count", patched(end - 24, bigEndian(UINT64_MAX / 2, 8))},
      {"top object out of range", patched(end - 16, bigEndian(4, 8))},
      {"table inside the header", patched(end - 8, bigEndian(3, 8))},
      {"table past the trailer", patched(end - 8, bigEndian(end, 8))},
      {"table offset overflowing", patched(end - 8, bigEndian(UINT64_MAX, 8))},
      {"object offset past the objects", patched(end - 32 - 16 + 8, bigEndian(end, 4))},
      {"object offset inside the header", patched(end - 32 - 16 + 8, bigEndian(2, 4))},
      {"reference out of range", patched(arrayAt + 6 + 4 * 19, bigEndian(4, 4))},
      {"a count past the end", patched(arrayAt + 2, bigEndian(0x7FFFFFFF, 4))},
      {"a count of a bad size", patched(arrayAt + 1, "\x14")},
      {"a count that is no integer", patched(arrayAt + 1, "\x22")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    root.write(kPath, c.bytes);
    EXPECT_EQ(readBack(), nullptr);
  }
}

TEST(PropertyList, AUtf16KeyHoldingUPlus0000IsRefusedBeforeLibplistAbortsOnIt) {
  test::TempDeviceRoot root;
  // {key: true} with a UTF-16 key of the given units (libplist asserts on reading such a key
  // with a zero unit, taking the process down).
  auto withKey = [](const std::vector<uint16_t>& units) {
    std::string key(1, static_cast<char>(0x60 | units.size()));
    for (uint16_t unit : units) key += bigEndian(unit, 2);
    return binaryWith("\x09", {}, key);
  };
  root.write(kPath, withKey({'s', 0xE9, 0}));
  EXPECT_EQ(readBack(), nullptr);
  root.write(kPath, withKey({0, 'a'}));
  EXPECT_EQ(readBack(), nullptr);
  // Without a zero unit the key reads, as UTF-8; in a value a zero unit is kept.
  root.write(kPath, withKey({'s', 0xE9}));
  EXPECT_TRUE(entry<NSNumber>(readDictionary(), "s\xC3\xA9")->boolValue());
  root.write(kPath, binaryWith("\x62" + bigEndian('a', 2) + bigEndian(0, 2)));
  EXPECT_EQ(entry<NSString>(readDictionary(), "k")->string(), std::string("a\0", 2));
}

// Each bound on what libplist's work can grow to: a file at the bound reads, one step past it
// does not. Shapes where that work grows fastest: many uses of one binary object, values deep
// down, keys compared with every earlier key, entities in a long text.
TEST(PropertyList, EveryCostBoundReadsAtItAndRefusesOneStepPast) {
  test::TempDeviceRoot root;
  // {"k": [item × count]}: the dictionary, its key and the array are three values.
  auto sharedBinary = [](std::string_view item, size_t count) {
    BinaryList list;
    uint64_t shared = list.add(item);
    return binaryWith(BinaryList::arrayOf(std::vector<uint64_t>(count, shared)), list);
  };
  // The same, with the array 127 levels down: the sum of depths is 8129 + 128 × count.
  auto deepBinary = [](size_t count) {
    BinaryList list;
    uint64_t shared = list.add("\x09");
    uint64_t inner = list.add(BinaryList::arrayOf(std::vector<uint64_t>(count, shared)));
    for (int level = 3; level < 128; ++level) inner = list.add(BinaryList::arrayOf({inner}));
    return binaryWith(BinaryList::arrayOf({inner}), list);
  };
  // A dictionary of `count` distinct keys `width` bytes long; each new key is compared with
  // every earlier one, at key length + 1 bytes each.
  auto keysXml = [](size_t count, size_t width) {
    std::string xml = "<plist><dict>";
    for (size_t i = 0; i < count; ++i) {
      std::string digits = std::to_string(10000 + i);
      xml += "<key>" + std::string(width - digits.size(), 'k') + digits + "</key><true/>";
    }
    return xml + "</dict></plist>";
  };
  auto xmlWith = [](const std::string& value) {
    return "<plist><dict><key>k</key>" + value + "</dict></plist>";
  };
  auto trues = [](size_t count) { return "<array>" + repeated("<true/>", count) + "</array>"; };
  // Every entity moves the rest of its run, here 8 + 4 × count bytes from "<string>" on.
  auto entities = [](size_t count) { return "<string>" + repeated("&lt;", count) + "</string>"; };
  const std::string text64 = "\x5F\x10\x40" + std::string(64, 's');
  struct Bound {
    const char* bound;
    std::string atBound;
    std::string pastBound;
  };
  const Bound cases[] = {
      {"2^16 values, binary", sharedBinary("\x09", 65533), sharedBinary("\x09", 65534)},
      {"2^16 values, XML", xmlWith(trues(65533)), xmlWith(trues(65534))},
      {"2^20 summed depths", deepBinary(8128), deepBinary(8129)},
      {"1 MiB of copied text", sharedBinary(text64, 16383), sharedBinary(text64, 16384)},
      {"2^20 key comparisons", keysXml(1448, 15), keysXml(1449, 15)},
      {"2^24 key bytes compared", keysXml(256, 513), keysXml(256, 514)},
      {"2^24 bytes moved by entities", xmlWith(entities(2047)), xmlWith(entities(2048))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bound);
    root.write(kPath, c.atBound);
    EXPECT_NE(readQuickly(), nullptr);
    root.write(kPath, c.pastBound);
    EXPECT_EQ(readBack(), nullptr);
  }
  // 200,000 uses of one value: once a minute's work in libplist, refused at once.
  root.write(kPath, sharedBinary("\x09", 200000));
  EXPECT_EQ(readQuickly(), nullptr);
}

TEST(PropertyList, XmlReadsWithAUtf8MarkAndAsUtf16InEitherByteOrder) {
  test::TempDeviceRoot root;
  const std::u16string xml =
      u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<plist version=\"1.0\"><dict>"
      u"<key>caf\u00E9</key><string>\U0001F600 \u20AC</string></dict></plist>\n";
  auto utf16 = [](std::u16string_view units, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : units) {
      char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
  };
  auto widened = [](const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
  };
  const Case readable[] = {
      {"UTF-8 with its mark",
       "\xEF\xBB\xBF<plist><dict><key>caf\xC3\xA9</key><string>\xF0\x9F\x98\x80 "
       "\xE2\x82\xAC</string></dict></plist>"},
      {"UTF-16, little-endian", utf16(xml, false)},
      {"UTF-16, big-endian", utf16(xml, true)},
  };
  for (const auto& c : readable) {
    SCOPED_TRACE(c.name);
    root.write(kPath, c.bytes);
    auto text = entry<NSString>(readDictionary(), "caf\xC3\xA9");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->string(), "\xF0\x9F\x98\x80 \xE2\x82\xAC");
  }
  const Case unreadable[] = {
      {"a lone high surrogate at the end", utf16(xml + u'\xD800', false)},
      {"a lone low surrogate", utf16(xml + u"\xDC00x", true)},
      {"a high surrogate before another unit", utf16(xml + u"\xD83Dx", false)},
      {"an odd byte count", utf16(xml, false) + "x"},
      {"129 levels, in UTF-16", utf16(widened(nestedXml(129)), false)},
  };
  for (const auto& c : unreadable) {
    SCOPED_TRACE(c.name);
    root.write(kPath, c.bytes);
    EXPECT_EQ(readBack(), nullptr);
  }
  root.write(kPath, utf16(widened(nestedXml(128)), true));
  EXPECT_NE(readBack(), nullptr) << "the nesting bound counts the same in UTF-16";
}
