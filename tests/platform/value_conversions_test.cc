#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

namespace {

// A value of data/conversions.txt.
id valueOf(const std::string& kind, const std::string& text) {
  if (kind == "bool") return NSNumber::numberWithBool(text == "YES");
  if (kind == "integer") return NSNumber::numberWithLongLong(std::stoll(text));
  if (kind == "real") return NSNumber::numberWithDouble(std::stod(text));
  std::string bytes;  // between the quotes, with \xNN escapes
  for (size_t at = 1; at + 1 < text.size(); ++at) {
    bool escape = text.compare(at, 2, "\\x") == 0;
    bytes += escape ? static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16)) : text[at];
    if (escape) at += 3;
  }
  return NSString::stringWithUTF8String(bytes);
}

}  // namespace

TEST(ValueConversions, MatchFoundationForNumbersAndStrings) {
  std::ifstream rows(GLIDEPAD_PLATFORM_DATA "/conversions.txt");
  ASSERT_TRUE(rows);
  size_t count = 0;
  for (std::string line; std::getline(rows, line);) {
    std::istringstream fields(line);
    std::string kind, text, boolValue;
    int intValue = 0;
    if (line.empty() || line[0] == '#' || !(fields >> kind >> text >> intValue >> boolValue))
      continue;
    SCOPED_TRACE(line);
    id value = valueOf(kind, text);
    EXPECT_EQ(objc_msgSend<int>(value, selector<"intValue">()), intValue);
    EXPECT_EQ(objc_msgSend<bool>(value, selector<"boolValue">()), boolValue == "YES");
    ++count;
  }
  EXPECT_EQ(count, 66u);
}
