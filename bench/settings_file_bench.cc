// The dearest settings files the loader still reads: each shape sits at one of its bounds (values,
// depth, copied text, key comparisons, entity moves), where libplist's work grows fastest. One
// iteration reads the file as the library does at launch and at every reload.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "support/BinaryPlist.h"

namespace {

constexpr const char* kWorstPath = "/var/mobile/Library/Preferences/worst.plist";
constexpr size_t kValues = size_t{1} << 16;
constexpr size_t kDepthSum = size_t{1} << 20;

using support::BinaryList;

// {"k": [[[… [s, s, …] …]]]}: arrays `depth` deep, the innermost holding one 16-byte string as
// often as the bounds on values and on the sum of their depths allow.
std::string deepSharedBinary(size_t depth) {
  BinaryList list;
  uint64_t text = list.add(BinaryList::counted('\x50', 16) + std::string(16, 's'));
  uint64_t key = list.add("\x51k");
  size_t items = std::min(kValues - 1 - depth, (kDepthSum - depth * depth) / depth);
  uint64_t inner = list.add(BinaryList::arrayOf(std::vector<uint64_t>(items, text)));
  for (size_t level = 2; level < depth; ++level) {
    inner = list.add(BinaryList::arrayOf({inner}));
  }
  return list.finish(list.add(BinaryList::dictionaryOf({key, inner})));
}

std::string sixteenDeepBinary() { return deepSharedBinary(16); }
std::string deepestBinary() { return deepSharedBinary(128); }

// One dictionary of 32767 distinct keys, every value the same object.
std::string wideBinary() {
  BinaryList list;
  uint64_t value = list.add("\x09");
  size_t entries = (kValues - 1) / 2;
  std::vector<uint64_t> references;
  for (size_t i = 0; i < entries; ++i) {
    references.push_back(list.add("\x56" + std::to_string(100000 + i)));
  }
  references.insert(references.end(), entries, value);
  return list.finish(list.add(BinaryList::dictionaryOf(references)));
}

// One XML file at every bound at once: a dictionary of 1,446 keys of 11 bytes that, with the two
// keys after them, are as many as the bound on key comparisons allows and as long as the bound on
// bytes compared allows, chosen so that libplist's key hash gives all of them one bucket (each
// pair of characters adds 33 × first + second, the same for "bn", "cM" and "d,"); a string of
// entities that moves as much text as allowed; and an array holding the rest of the values.
std::string everyBoundXml() {
  const char* pairs[] = {"bn", "cM", "d,"};
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>";
  constexpr size_t kKeys = 1446;
  for (size_t i = 0; i < kKeys; ++i) {
    std::string key(1, 'k');
    for (size_t digit = 0, rest = i; digit < 5; ++digit, rest /= 3) key += pairs[rest % 3];
    xml += "<key>" + key + "</key><true/>";
  }
  xml += "<key>entities</key><string>";
  for (size_t i = 0; i < 2040; ++i) xml += "&lt;";
  xml += "</string><key>values</key><array>";
  // The dictionary, its keys and values, the two keys below, the string and the array.
  for (size_t i = 0; i < kValues - 2 * kKeys - 6; ++i) xml += "<real>15</real>";
  return xml + "</array></dict></plist>";
}

void BM_WorstSettingsFile(benchmark::State& state, std::string (*make)()) {
  std::string bytes = make();
  std::string error = NSDeviceWriteFile_(kWorstPath, bytes);
  if (!error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  bool read = true;
  for (auto _ : state) {
    auto dictionary = alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kWorstPath));
    read = read && dictionary != nullptr;
    benchmark::DoNotOptimize(dictionary);
  }
  state.counters["file_kib"] = static_cast<double>(bytes.size()) / 1024;
  if (!read) state.SkipWithError("the file was refused: it is not within the bounds");
}

}  // namespace

BENCHMARK_CAPTURE(BM_WorstSettingsFile, binary_16_deep, sixteenDeepBinary)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstSettingsFile, binary_128_deep, deepestBinary)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstSettingsFile, binary_wide, wideBinary)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstSettingsFile, xml_every_bound, everyBoundXml)
    ->Unit(benchmark::kMillisecond);
