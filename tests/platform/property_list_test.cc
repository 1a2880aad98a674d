#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "platform/DataTables.h"
#include "platform/DeviceFiles.h"
#include "support/BinaryPlist.h"

namespace {

using support::bigEndian;
using support::BinaryList;

constexpr const char* kPath = "/var/mobile/Library/Preferences/test.plist";
constexpr size_t kMiB = size_t{1} << 20;

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

// The last array tag with a zero byte and more after its name, which libplist still reads as
// an array.
std::string withZeroInATag(std::string xml) {
  size_t last = xml.rfind("<array>");
  return xml.replace(last, 7, std::string("<array\0x\x01>", 10));
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
  const std::string data("\0\x01\xff", 3);
  auto check = [&](const Ref<NSDictionary>& read, test::PlistFormat format) {
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->count(), 8u);
    auto number = [&](const char* key) { return entry<NSNumber>(read, key); };
    ASSERT_TRUE(number("yes") && number("negative") && number("max") && number("real"));
    EXPECT_EQ(number("yes")->kind_(), NSNumber::Kind::Boolean);
    // libplist hands a negative integer back as its 64-bit two's complement.
    EXPECT_EQ(number("negative")->longLongValue(), -5);
    EXPECT_EQ(number("max")->longLongValue(), INT64_MAX);
    EXPECT_EQ(number("real")->kind_(), NSNumber::Kind::Real);
    EXPECT_EQ(number("real")->doubleValue(), -2.75);
    auto bytes = entry<NSData>(read, "data");
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(bytes->bytes()), bytes->length()), data);
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
    test::Plist list = test::dictionaryWith("yes", plist_new_bool(1));
    plist_t array = plist_new_array(), inner = plist_new_dict();
    plist_array_append_item(array, plist_new_string("h\xc3\xa9llo"));
    plist_dict_set_item(inner, "no", plist_new_bool(0));
    for (auto [key, value] : {std::pair{"negative", plist_new_uint(static_cast<uint64_t>(-5))},
                              {"max", plist_new_uint(INT64_MAX)},
                              {"real", plist_new_real(-2.75)},
                              {"data", plist_new_data(data.data(), data.size())},
                              {"date", plist_new_date(100, 500000)},
                              {"array", array},
                              {"dict", inner}}) {
      plist_dict_set_item(list.get(), key, value);
    }
    root.write(kPath, test::serialized(list, format));
    auto read = readDictionary();
    check(read, format);
    ASSERT_TRUE(objc_msgSend<bool>(read, selector<"writeToFile:atomically:">(), NSStr(kPath),
                                   format == test::PlistFormat::Xml));
    EXPECT_EQ(test::dataFile(root.hostPath(kPath)).substr(0, 8), "bplist00");
    check(readDictionary(), format);
  }
  // The atomic write left no temporary file behind.
  auto folder = std::filesystem::path(root.hostPath(kPath)).parent_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  // An object a property list cannot hold makes the write fail, and leaves the old file; so does
  // a missing folder: as in Foundation, none is made.
  auto unwritable = alloc_init<NSMutableDictionary>();
  unwritable->setObject(alloc_init<NSObject>(), NSStr("object"));
  EXPECT_FALSE(unwritable->writeToFile(NSStr(kPath), YES));
  EXPECT_NE(readDictionary(), nullptr);
  EXPECT_FALSE(readDictionary()->writeToFile(NSStr("/no/such/folder/x.plist"), YES));
}

// The hostile files of data/cases.txt read as nil, and each control beside them reads.
TEST(PropertyList, AnythingButAWellFormedDictionaryFileGivesNil) {
  test::TempDeviceRoot root;
  const auto rows = test::dataRows("cases.txt");
  EXPECT_EQ(rows.size(), 46u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[1]);
    root.write(kPath, test::dataFile(row[1]));
    EXPECT_EQ(readQuickly() != nullptr, row[0] == "reads") << row[0];
  }

  // No file, or a folder or a pipe where the file should be: nil, at once.
  root.remove(kPath);
  EXPECT_EQ(readBack(), nullptr);
  std::filesystem::create_directory(root.hostPath(kPath));
  EXPECT_EQ(readBack(), nullptr);
  std::filesystem::remove(root.hostPath(kPath));
  ASSERT_EQ(::mkfifo(root.hostPath(kPath).c_str(), 0600), 0);
  EXPECT_EQ(readQuickly(), nullptr);
}

// Each bound on a file and on what libplist's work can grow to: a file at the bound reads, one
// step past it does not. Shapes where that work grows fastest: many uses of one binary object,
// values deep down, keys compared with every earlier key, entities in a long text.
TEST(PropertyList, EveryBoundReadsAtItAndRefusesOneStepPast) {
  test::TempDeviceRoot root;
  // {"k": [item × count]}, the array `down` levels deeper: the dictionary and its key are two
  // more values; 126 levels deeper, the sum of depths is 8129 + 128 × count.
  auto sharedBinary = [](std::string_view item, size_t count, int down = 0) {
    BinaryList list;
    std::string array = BinaryList::arrayOf(std::vector<uint64_t>(count, list.add(item)));
    for (int level = 0; level < down; ++level) array = BinaryList::arrayOf({list.add(array)});
    return binaryWith(array, list);
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
  const size_t pad = kMiB - xmlWith("<string></string>").size();  // to a file of 1 MiB
  // Rows: the bound, a file at it, a file one step past it.
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"1 MiB", xmlWith("<string>" + std::string(pad, 'a') + "</string>"),
       xmlWith("<string>" + std::string(pad + 1, 'a') + "</string>")},
      {"128 levels, XML", nestedXml(128), nestedXml(129)},
      {"128 levels, XML with a zero byte ending a tag's name", withZeroInATag(nestedXml(128)),
       withZeroInATag(nestedXml(129))},
      {"128 levels, binary", nestedBinary(128), nestedBinary(129)},
      {"2^16 values, binary", sharedBinary("\x09", 65533), sharedBinary("\x09", 65534)},
      {"2^16 values, XML", xmlWith(trues(65533)), xmlWith(trues(65534))},
      {"2^20 summed depths", sharedBinary("\x09", 8128, 126), sharedBinary("\x09", 8129, 126)},
      {"1 MiB of copied text", sharedBinary(text64, 16383), sharedBinary(text64, 16384)},
      {"2^20 key comparisons", keysXml(1448, 15), keysXml(1449, 15)},
      {"2^24 key bytes compared", keysXml(256, 513), keysXml(256, 514)},
      {"2^24 bytes moved by entities", xmlWith(entities(2047)), xmlWith(entities(2048))},
  };
  for (const auto& [bound, atBound, pastBound] : cases) {
    SCOPED_TRACE(bound);
    root.write(kPath, atBound);
    EXPECT_NE(readQuickly(), nullptr);
    root.write(kPath, pastBound);
    EXPECT_EQ(readBack(), nullptr);
  }
  // Refused at once: files deep enough to overflow libplist's stack within 1 MiB, closed or left
  // open; 200,000 uses of one value (once a minute's work in libplist); 64 MiB, mostly a hole.
  for (const std::string& file : {nestedXml(69000), nestedXml(149000, false), nestedBinary(100000),
                                  sharedBinary("\x09", 200000)}) {
    root.write(kPath, file);
    EXPECT_EQ(readQuickly(), nullptr);
  }
  std::filesystem::resize_file(root.hostPath(kPath), 64 * kMiB);
  EXPECT_EQ(readQuickly(), nullptr);
}

// Text of either form reads as UTF-8: XML with a UTF-8 mark or in UTF-16 of either byte order,
// binary UTF-16 keys; a zero unit in a value is kept (one in a key is refused, in cases.txt).
TEST(PropertyList, TextReadsAsUtf8) {
  test::TempDeviceRoot root;
  for (const char* name : {"text-utf8-mark.plist", "text-utf16le.plist", "text-utf16be.plist"}) {
    SCOPED_TRACE(name);
    root.write(kPath, test::dataFile(name));
    auto text = entry<NSString>(readDictionary(), "caf\xC3\xA9");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->string(), "\xF0\x9F\x98\x80 \xE2\x82\xAC");
  }
  root.write(kPath, test::dataFile("utf16-key.plist"));
  EXPECT_TRUE(entry<NSNumber>(readDictionary(), "s\xC3\xA9")->boolValue());
  root.write(kPath, test::dataFile("utf16-value-holding-a-zero.plist"));
  EXPECT_EQ(entry<NSString>(readDictionary(), "k")->string(), std::string("a\0", 2));
}
