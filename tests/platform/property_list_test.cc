#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

constexpr const char* kPath = "/var/mobile/Library/Preferences/test.plist";
constexpr size_t kMiB = size_t{1} << 20;

id readBack() { return alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kPath)); }

Ref<NSDictionary> readDictionary() { return objc_cast<NSDictionary>(readBack()); }

template <class T>
Ref<T> entry(const Ref<NSDictionary>& dictionary, const char* key) {
  return dictionary ? objc_cast<T>(dictionary->objectForKey(NSStr(key))) : nullptr;
}

// Nesting of containers as libplist builds it; only for small trees.
int containerDepth(plist_t node) {
  plist_type type = plist_get_node_type(node);
  if (type != PLIST_ARRAY && type != PLIST_DICT) return 0;
  int deepest = 0;
  if (type == PLIST_ARRAY) {
    for (uint32_t i = 0; i < plist_array_get_size(node); ++i) {
      deepest = std::max(deepest, containerDepth(plist_array_get_item(node, i)));
    }
  } else {
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    while (true) {
      char* key = nullptr;
      plist_t value = nullptr;
      plist_dict_next_item(node, iterator, &key, &value);
      free(key);
      if (value == nullptr) break;
      deepest = std::max(deepest, containerDepth(value));
    }
    free(iterator);
  }
  return deepest + 1;
}

int libplistDepth(const std::string& bytes) {
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
  test::Plist owned(root);
  return owned ? containerDepth(owned.get()) : -1;
}

std::string repeated(std::string_view text, size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

// An XML settings file whose root dictionary holds `depth - 1` nested arrays.
std::string nestedXml(size_t depth, bool closed = true) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>k</key>";
  xml += repeated("<array>", depth - 1);
  if (closed) xml += repeated("</array>", depth - 1) + "</dict></plist>";
  return xml;
}

using support::bigEndian;
using support::BinaryList;

// A root dictionary {"k": array} over `depth - 1` arrays each holding the next.
std::string nestedBinary(size_t depth) {
  BinaryList list;
  uint64_t key = list.add("\x51k");
  uint64_t root = list.add("\xD1" + bigEndian(key, 4) + bigEndian(2, 4));
  for (size_t level = 2; level <= depth; ++level) {
    uint64_t next = root + level;
    list.add(level == depth ? BinaryList::arrayOf({}) : BinaryList::arrayOf({next}));
  }
  return list.finish(root);
}

}  // namespace

TEST(PropertyList, ReadsEveryValueKindInBothForms) {
  test::TempDeviceRoot root;
  const char data[] = {'\0', '\x01', '\xff'};
  for (auto format : test::kBothFormats) {
    SCOPED_TRACE(test::nameOf(format));
    test::Plist list(plist_new_dict());
    plist_dict_set_item(list.get(), "yes", plist_new_bool(1));
    plist_dict_set_item(list.get(), "int", plist_new_uint(42));
    plist_dict_set_item(list.get(), "negative", plist_new_uint(static_cast<uint64_t>(-5)));
    plist_dict_set_item(list.get(), "max", plist_new_uint(INT64_MAX));
    plist_dict_set_item(list.get(), "real", plist_new_real(-2.75));
    plist_dict_set_item(list.get(), "text", plist_new_string("h\xc3\xa9llo"));
    plist_dict_set_item(list.get(), "data", plist_new_data(data, sizeof data));
    plist_dict_set_item(list.get(), "date", plist_new_date(100, 500000));
    plist_t array = plist_new_array();
    plist_array_append_item(array, plist_new_uint(1));
    plist_array_append_item(array, plist_new_string("two"));
    plist_dict_set_item(list.get(), "array", array);
    plist_t inner = plist_new_dict();
    plist_dict_set_item(inner, "no", plist_new_bool(0));
    plist_dict_set_item(list.get(), "dict", inner);
    root.write(kPath, test::serialized(list, format));

    auto read = readDictionary();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->count(), 10u);
    auto yes = entry<NSNumber>(read, "yes");
    ASSERT_NE(yes, nullptr);
    EXPECT_EQ(yes->kind_(), NSNumber::Kind::Boolean);
    EXPECT_TRUE(yes->boolValue());
    ASSERT_NE(entry<NSNumber>(read, "int"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "int")->longLongValue(), 42);
    ASSERT_NE(entry<NSNumber>(read, "negative"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "negative")->longLongValue(), -5);
    EXPECT_EQ(entry<NSNumber>(read, "negative")->intValue(), -5);
    ASSERT_NE(entry<NSNumber>(read, "max"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "max")->longLongValue(), INT64_MAX);
    ASSERT_NE(entry<NSNumber>(read, "real"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "real")->kind_(), NSNumber::Kind::Real);
    EXPECT_EQ(entry<NSNumber>(read, "real")->doubleValue(), -2.75);
    ASSERT_NE(entry<NSString>(read, "text"), nullptr);
    EXPECT_EQ(entry<NSString>(read, "text")->string(), "h\xc3\xa9llo");
    auto readData = entry<NSData>(read, "data");
    ASSERT_NE(readData, nullptr);
    ASSERT_EQ(readData->length(), sizeof data);
    EXPECT_EQ(std::memcmp(readData->bytes(), data, sizeof data), 0);
    ASSERT_NE(entry<NSDate>(read, "date"), nullptr);
    // XML dates keep whole seconds.
    EXPECT_NEAR(entry<NSDate>(read, "date")->timeIntervalSinceReferenceDate(),
                format == test::PlistFormat::Xml ? 100 : 100.5, 1e-6);
    auto readArray = entry<NSArray>(read, "array");
    ASSERT_NE(readArray, nullptr);
    ASSERT_EQ(readArray->count(), 2u);
    EXPECT_EQ(objc_cast<NSString>(readArray->objectAtIndex(1))->string(), "two");
    auto readInner = entry<NSDictionary>(read, "dict");
    ASSERT_NE(readInner, nullptr);
    ASSERT_NE(entry<NSNumber>(readInner, "no"), nullptr);
    EXPECT_FALSE(entry<NSNumber>(readInner, "no")->boolValue());
    // The receiver's class decides the root's; nested containers are immutable.
    EXPECT_TRUE(read->isKindOfClass(NSMutableDictionary::objcClass()));
    EXPECT_FALSE(readInner->isKindOfClass(NSMutableDictionary::objcClass()));
  }
}

TEST(PropertyList, ReadsXmlAsTheSettingsPaneWritesIt) {
  test::TempDeviceRoot root;
  root.write(kPath, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<!-- written by the settings pane -->
<dict>
	<key>enabledSwitch</key>
	<false/>
	<key>speed</key>
	<integer>-1</integer>
	<key>empty</key>
	<array/>
	<key>label</key>
	<string>a &lt; b</string>
</dict>
</plist>
)");
  auto read = readDictionary();
  ASSERT_NE(read, nullptr);
  ASSERT_NE(entry<NSNumber>(read, "speed"), nullptr);
  EXPECT_EQ(entry<NSNumber>(read, "speed")->longLongValue(), -1);  // libplist hands back 2^64-1
  EXPECT_EQ(entry<NSNumber>(read, "speed")->intValue(), -1);
  ASSERT_NE(entry<NSNumber>(read, "enabledSwitch"), nullptr);
  EXPECT_FALSE(entry<NSNumber>(read, "enabledSwitch")->boolValue());
  ASSERT_NE(entry<NSArray>(read, "empty"), nullptr);
  EXPECT_EQ(entry<NSArray>(read, "empty")->count(), 0u);
  ASSERT_NE(entry<NSString>(read, "label"), nullptr);
  EXPECT_EQ(entry<NSString>(read, "label")->string(), "a < b");
}

TEST(PropertyList, WritesBinaryListsThatReadBack) {
  test::TempDeviceRoot root;
  const char bytes[] = {'x', '\0', 'y'};
  auto inner = alloc_init<NSMutableDictionary>();
  inner->setObject(NSNumber::numberWithBool(NO), NSStr("off"));
  auto dictionary = alloc_init<NSMutableDictionary>();
  dictionary->setObject(NSNumber::numberWithLongLong(-123456789012), NSStr("int"));
  dictionary->setObject(NSNumber::numberWithDouble(0.5), NSStr("real"));
  dictionary->setObject(NSNumber::numberWithBool(YES), NSStr("on"));
  dictionary->setObject(NSStr("text"), NSStr("string"));
  dictionary->setObject(NSData::dataWithBytes(bytes, 3), NSStr("data"));
  dictionary->setObject(NSDate::dateWithTimeIntervalSinceReferenceDate(-86400.25), NSStr("date"));
  dictionary->setObject(NSArray::arrayWithObjects({inner, NSStr("b")}), NSStr("array"));
  root.hostPath(kPath);

  for (bool atomically : {true, false}) {
    SCOPED_TRACE(atomically ? "atomically" : "in place");
    ASSERT_TRUE(objc_msgSend<bool>(dictionary, selector<"writeToFile:atomically:">(), NSStr(kPath),
                                   atomically));
    std::ifstream file(root.hostPath(kPath), std::ios::binary);
    std::string header(8, '\0');
    file.read(header.data(), 8);
    EXPECT_EQ(header, "bplist00");

    auto read = readDictionary();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->count(), 7u);
    ASSERT_NE(entry<NSNumber>(read, "int"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "int")->longLongValue(), -123456789012);
    ASSERT_NE(entry<NSNumber>(read, "real"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "real")->doubleValue(), 0.5);
    ASSERT_NE(entry<NSNumber>(read, "on"), nullptr);
    EXPECT_EQ(entry<NSNumber>(read, "on")->kind_(), NSNumber::Kind::Boolean);
    ASSERT_NE(entry<NSData>(read, "data"), nullptr);
    EXPECT_EQ(entry<NSData>(read, "data")->length(), 3u);
    ASSERT_NE(entry<NSDate>(read, "date"), nullptr);
    EXPECT_NEAR(entry<NSDate>(read, "date")->timeIntervalSinceReferenceDate(), -86400.25, 1e-6);
    auto array = entry<NSArray>(read, "array");
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(array->count(), 2u);
    auto readInner = objc_cast<NSDictionary>(array->objectAtIndex(0));
    ASSERT_NE(readInner, nullptr);
    EXPECT_NE(entry<NSNumber>(readInner, "off"), nullptr);
  }
  // The atomic writes left no temporary file behind.
  auto folder = std::filesystem::path(root.hostPath(kPath)).parent_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

  // An object a property list cannot hold makes the write fail, and leaves the old file.
  auto unwritable = alloc_init<NSMutableDictionary>();
  unwritable->setObject(alloc_init<NSObject>(), NSStr("object"));
  EXPECT_FALSE(unwritable->writeToFile(NSStr(kPath), YES));
  EXPECT_NE(readDictionary(), nullptr);
  // So does a missing folder: as in Foundation, none is made.
  EXPECT_FALSE(dictionary->writeToFile(NSStr("/no/such/folder/x.plist"), YES));
}

TEST(PropertyList, AnythingButADictionaryFileGivesNil) {
  test::TempDeviceRoot root;
  EXPECT_EQ(readBack(), nullptr) << "missing";
  test::Plist valid = test::dictionaryWith("k", plist_new_uint(1));
  std::string xml = test::serialized(valid, test::PlistFormat::Xml);
  std::string binary = test::serialized(valid, test::PlistFormat::Binary);
  test::Plist array(plist_new_array());
  test::Plist string(plist_new_string("dict"));
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"seven bytes", "bplist0"},
      {"XML cut short", xml.substr(0, xml.size() / 2)},
      {"binary cut short", binary.substr(0, binary.size() - 1)},
      {"binary without its trailer", binary.substr(0, binary.size() - 32)},
      {"garbage", "\x13\x37 not a property list at all \xff\xfe"},
      {"a binary header over garbage", "bplist00" + std::string(64, '\x7f')},
      {"a binary header over zeros", "bplist00" + std::string(64, '\0')},
      {"XML array root", test::serialized(array, test::PlistFormat::Xml)},
      {"binary array root", test::serialized(array, test::PlistFormat::Binary)},
      {"XML string root", test::serialized(string, test::PlistFormat::Xml)},
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
  EXPECT_EQ(readBack(), nullptr);
}

TEST(PropertyList, FilesOverOneMebibyteCountAsUnreadable) {
  test::TempDeviceRoot root;
  // Exactly 1 MiB, padded inside a string, reads; one byte more does not.
  std::string head = "<plist><dict><key>k</key><string>";
  std::string tail = "</string></dict></plist>";
  std::string padded = head + std::string(kMiB - head.size() - tail.size(), 'a') + tail;
  ASSERT_EQ(padded.size(), kMiB);
  root.write(kPath, padded);
  auto read = readDictionary();
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(entry<NSString>(read, "k")->length(), kMiB - head.size() - tail.size());
  root.write(kPath, head + std::string(kMiB - head.size() - tail.size() + 1, 'a') + tail);
  EXPECT_EQ(readBack(), nullptr);

  // 64 MiB, mostly a hole: refused without being read.
  root.write(kPath, head);
  std::filesystem::resize_file(root.hostPath(kPath), 64 * kMiB);
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(readBack(), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

TEST(PropertyList, XmlNestingIsBoundedBeforeParsing) {
  test::TempDeviceRoot root;
  root.write(kPath, nestedXml(128));
  EXPECT_NE(readBack(), nullptr) << "128 levels, the root included";
  root.write(kPath, nestedXml(129));
  EXPECT_EQ(readBack(), nullptr);

  // Breadth is not depth: two hundred arrays side by side read.
  root.write(kPath, "<plist><dict><key>k</key><array>" + repeated("<array></array><array/>", 200) +
                        "</array></dict></plist>");
  auto read = readDictionary();
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(entry<NSArray>(read, "k")->count(), 400u);

  // Deep enough to overflow libplist's stack: a million levels (past the size bound), and as
  // many as fit in 1 MiB, closed and left open.
  for (auto [depth, closed] : {std::pair{size_t{1000000}, true}, std::pair{size_t{69000}, true},
                               std::pair{size_t{149000}, false}}) {
    SCOPED_TRACE(std::to_string(depth) + (closed ? " closed" : " open"));
    std::string xml = nestedXml(depth, closed);
    EXPECT_EQ(xml.size() > kMiB, depth == 1000000);
    root.write(kPath, xml);
    EXPECT_EQ(readBack(), nullptr);
  }

  // Markup that parsers read differently: a scan that ends every construct at the first ">"
  // would see these closing tags, which libplist does not, and miss 200 levels of nesting.
  const char* tricks[] = {
      "<array><!-- > </array> -->",                             // ">" inside a comment
      "<array a=\"></array>\">",                                // ">" inside a quoted attribute
      "<array><string><![CDATA[</string></array>]]></string>",  // markup inside CDATA
  };
  for (const char* trick : tricks) {
    SCOPED_TRACE(trick);
    std::string xml = "<plist><dict><key>k</key>" + repeated(trick, 200) +
                      repeated("</array>", 200) + "</dict></plist>";
    EXPECT_EQ(libplistDepth(xml), 201) << "libplist does read it 201 levels deep";
    root.write(kPath, xml);
    EXPECT_EQ(readBack(), nullptr);
  }
  // Read as libplist reads it, such markup in a shallow file hides no nesting: a comment, a
  // processing instruction and CDATA holding ">" and tags, beside 300 sibling arrays, read.
  root.write(kPath,
             "<?xml version=\"1.0\"?><?x \"?>\" <array>?><plist><!-- a > b <array> -->"
             "<dict><key>k</key><array>" +
                 repeated("<array></array>", 300) +
                 "<string><![CDATA[<array>]]></string></array></dict></plist>");
  auto shallow = readDictionary();
  ASSERT_NE(shallow, nullptr);
  EXPECT_EQ(entry<NSArray>(shallow, "k")->count(), 301u);
}

TEST(PropertyList, BinaryNestingReferencesAndBoundsAreCheckedBeforeParsing) {
  test::TempDeviceRoot root;
  root.write(kPath, nestedBinary(128));
  EXPECT_NE(readBack(), nullptr) << "128 levels, the root included";
  root.write(kPath, nestedBinary(129));
  EXPECT_EQ(readBack(), nullptr);

  for (size_t depth : {size_t{1000000}, size_t{100000}}) {
    SCOPED_TRACE(depth);
    std::string binary = nestedBinary(depth);
    EXPECT_EQ(binary.size() > kMiB, depth == 1000000);
    root.write(kPath, binary);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(readBack(), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  }

  // A dictionary whose value is an array holding itself.
  BinaryList cycle;
  cycle.add("\x51k");
  cycle.add("\xD1" + bigEndian(0, 4) + bigEndian(2, 4));
  cycle.add(BinaryList::arrayOf({2}));
  root.write(kPath, cycle.finish(1));
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
    auto started = std::chrono::steady_clock::now();
    auto read = readDictionary();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    if (levels == 3) {
      ASSERT_NE(read, nullptr);
      auto leafParent = objc_cast<NSArray>(
          objc_cast<NSArray>(entry<NSArray>(read, "k")->objectAtIndex(1))->objectAtIndex(0));
      ASSERT_NE(leafParent, nullptr);
      EXPECT_TRUE(objc_cast<NSNumber>(leafParent->objectAtIndex(1))->boolValue());
    } else {
      EXPECT_EQ(read, nullptr);
    }
  }

  // Every field of the trailer and every reference is checked against the file.
  BinaryList good;
  good.add("\x51k");
  good.add("\xD1" + bigEndian(0, 4) + bigEndian(2, 4));
  good.add(BinaryList::arrayOf(std::vector<uint64_t>(20, 3)));  // a count after the marker
  good.add("\x10\x05");
  const std::string valid = good.finish(1);
  root.write(kPath, valid);
  ASSERT_NE(readDictionary(), nullptr);
  ASSERT_EQ(entry<NSArray>(readDictionary(), "k")->count(), 20u);
  const size_t end = valid.size();
  auto patched = [&](size_t at, std::string_view bytes) {
    std::string copy = valid;
    copy.replace(at, bytes.size(), bytes);
    return copy;
  };
  const size_t arrayAt = 8 + 2 + 9;
  struct Case {
    const char* name;
    std::string bytes;
  };
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
    ASSERT_EQ(c.bytes.size(), valid.size());
    root.write(kPath, c.bytes);
    EXPECT_EQ(readBack(), nullptr);
  }
}

TEST(PropertyList, AUtf16KeyHoldingUPlus0000IsRefusedBeforeLibplistAbortsOnIt) {
  test::TempDeviceRoot root;
  // {key: true} with a UTF-16 key of the given units (libplist asserts on reading such a key
  // with a zero unit, taking the process down).
  auto withKey = [](const std::vector<uint16_t>& units) {
    BinaryList list;
    std::string key(1, static_cast<char>(0x60 | units.size()));
    for (uint16_t unit : units) key += bigEndian(unit, 2);
    uint64_t k = list.add(key);
    uint64_t v = list.add("\x09");
    return list.finish(list.add("\xD1" + bigEndian(k, 4) + bigEndian(v, 4)));
  };
  root.write(kPath, withKey({'s', 0xE9, 0}));
  EXPECT_EQ(readBack(), nullptr);
  root.write(kPath, withKey({0, 'a'}));
  EXPECT_EQ(readBack(), nullptr);
  // Without a zero unit the key reads, as UTF-8.
  root.write(kPath, withKey({'s', 0xE9}));
  auto read = readDictionary();
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(entry<NSNumber>(read, "s\xC3\xA9")->boolValue());
  // A zero unit in a value is no key: the string reads, its U+0000 kept.
  BinaryList value;
  uint64_t k = value.add("\x51k");
  uint64_t v = value.add("\x62" + bigEndian('a', 2) + bigEndian(0, 2));
  root.write(kPath, value.finish(value.add("\xD1" + bigEndian(k, 4) + bigEndian(v, 4))));
  read = readDictionary();
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(entry<NSString>(read, "k")->string(), std::string("a\0", 2));
  // The file the fuzzer found, as it found it: a key of five UTF-16 units, the last 0.
  const char found[] =
      "\x62\x70\x6C\x69\x73\x74\x30\x30\xD1\x01\x02\x65\x55\x70\x73\x65\x64\x33\x3F\xF0"
      "\x00\x00\x00\x00\x00\x00\x08\x0B\x11\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00"
      "\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x1A";
  root.write(kPath, std::string(found, sizeof found - 1));
  EXPECT_EQ(readBack(), nullptr);
}

// Each bound on what libplist's work can grow to: a file at the bound reads, one step past it
// does not. Shapes where that work grows fastest: many uses of one binary object, values deep
// down, keys compared with every earlier key, entities in a long text.
TEST(PropertyList, EveryCostBoundReadsAtItAndRefusesOneStepPast) {
  test::TempDeviceRoot root;
  // {"k": [item × count]}: the dictionary, its key and the array are three values.
  auto sharedBinary = [](std::string_view item, size_t count) {
    BinaryList list;
    uint64_t key = list.add("\x51k");
    uint64_t shared = list.add(item);
    uint64_t array = list.add(BinaryList::arrayOf(std::vector<uint64_t>(count, shared)));
    return list.finish(list.add("\xD1" + bigEndian(key, 4) + bigEndian(array, 4)));
  };
  // The same, with the array 127 levels down: the sum of depths is 8129 + 128 × count.
  auto deepBinary = [](size_t count) {
    BinaryList list;
    uint64_t key = list.add("\x51k");
    uint64_t shared = list.add("\x09");
    uint64_t inner = list.add(BinaryList::arrayOf(std::vector<uint64_t>(count, shared)));
    for (int level = 2; level < 128; ++level) inner = list.add(BinaryList::arrayOf({inner}));
    return list.finish(list.add("\xD1" + bigEndian(key, 4) + bigEndian(inner, 4)));
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
  // Every entity moves the rest of its run, here 8 + 4 × count bytes from "<string>" on.
  auto entitiesXml = [](size_t count) {
    return "<plist><dict><key>k</key><string>" + repeated("&lt;", count) +
           "</string></dict></plist>";
  };
  auto valuesXml = [](size_t count) {
    return "<plist><dict><key>k</key><array>" + repeated("<true/>", count) +
           "</array></dict></plist>";
  };
  const std::string text64 = "\x5F\x10\x40" + std::string(64, 's');
  struct Case {
    const char* bound;
    std::string atBound;
    std::string pastBound;
  };
  const Case cases[] = {
      {"2^16 values, binary", sharedBinary("\x09", 65533), sharedBinary("\x09", 65534)},
      {"2^16 values, XML", valuesXml(65533), valuesXml(65534)},
      {"2^20 summed depths", deepBinary(8128), deepBinary(8129)},
      {"1 MiB of copied text", sharedBinary(text64, 16383), sharedBinary(text64, 16384)},
      {"2^20 key comparisons", keysXml(1448, 15), keysXml(1449, 15)},
      {"2^24 key bytes compared", keysXml(256, 513), keysXml(256, 514)},
      {"2^24 bytes moved by entities", entitiesXml(2047), entitiesXml(2048)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bound);
    root.write(kPath, c.atBound);
    auto started = std::chrono::steady_clock::now();
    EXPECT_NE(readBack(), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    root.write(kPath, c.pastBound);
    EXPECT_EQ(readBack(), nullptr);
  }
  // 200,000 uses of one value: once a minute's work in libplist, refused at once.
  root.write(kPath, sharedBinary("\x09", 200000));
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(readBack(), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

TEST(PropertyList, XmlReadsWithAUtf8MarkAndAsUtf16InEitherByteOrder) {
  test::TempDeviceRoot root;
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<plist version=\"1.0\"><dict>"
      "<key>caf\xC3\xA9</key><string>\xF0\x9F\x98\x80 \xE2\x82\xAC</string></dict></plist>\n";
  // UTF-16 of the UTF-8 above (which holds no more than these code points).
  auto utf16 = [](std::string_view utf8, bool bigEndian, std::vector<uint16_t> extra = {}) {
    std::vector<uint16_t> units;
    for (size_t i = 0; i < utf8.size();) {
      auto byte = static_cast<uint8_t>(utf8[i]);
      uint32_t code = byte;
      size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
      if (length > 1) code = byte & (0xFF >> (length + 1));
      for (size_t k = 1; k < length; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
      i += length;
      if (code >= 0x10000) {
        units.push_back(static_cast<uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
        units.push_back(static_cast<uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
      } else {
        units.push_back(static_cast<uint16_t>(code));
      }
    }
    units.insert(units.end(), extra.begin(), extra.end());
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (uint16_t unit : units) {
      char high = static_cast<char>(unit >> 8);
      char low = static_cast<char>(unit & 0xFF);
      out += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return out;
  };
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case readable[] = {
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + xml},
      {"UTF-16, little-endian", utf16(xml, false)},
      {"UTF-16, big-endian", utf16(xml, true)},
  };
  for (const auto& c : readable) {
    SCOPED_TRACE(c.name);
    root.write(kPath, c.bytes);
    auto read = readDictionary();
    ASSERT_NE(read, nullptr);
    ASSERT_NE(entry<NSString>(read, "caf\xC3\xA9"), nullptr);
    EXPECT_EQ(entry<NSString>(read, "caf\xC3\xA9")->string(), "\xF0\x9F\x98\x80 \xE2\x82\xAC");
  }
  const Case unreadable[] = {
      {"a lone high surrogate at the end", utf16(xml, false, {0xD800})},
      {"a lone low surrogate", utf16(xml, true, {0xDC00, 'x'})},
      {"a high surrogate before another unit", utf16(xml, false, {0xD83D, 'x'})},
      {"an odd byte count", utf16(xml, false) + "x"},
      {"129 levels, in UTF-16", utf16(nestedXml(129), false)},
  };
  for (const auto& c : unreadable) {
    SCOPED_TRACE(c.name);
    root.write(kPath, c.bytes);
    EXPECT_EQ(readBack(), nullptr);
  }
  root.write(kPath, utf16(nestedXml(128), true));
  EXPECT_NE(readBack(), nullptr) << "the nesting bound counts the same in UTF-16";
}
