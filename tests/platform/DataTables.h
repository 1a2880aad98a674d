// Test support for the platform tests: the files and tables of tests/platform/data.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace test {

// A file of tests/platform/data, or the one at the absolute path given.
inline std::string dataFile(const std::string& name) {
  std::ifstream file(name[0] == '/' ? name : GLIDEPAD_PLATFORM_DATA "/" + name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The rows of a table in tests/platform/data: each line but blank and '#' ones, split at tabs,
// each "\xNN" in a field read as that byte.
inline std::vector<std::vector<std::string>> dataRows(const std::string& name) {
  std::istringstream file(dataFile(name));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    auto& row = rows.emplace_back();
    for (std::string field; std::getline(fields, field, '\t');) {
      auto& bytes = row.emplace_back();
      for (size_t at = 0; at < field.size(); ++at) {
        bool escape = field.compare(at, 2, "\\x") == 0;
        bytes +=
            escape ? static_cast<char>(std::stoi(field.substr(at + 2, 2), nullptr, 16)) : field[at];
        if (escape) at += 3;
      }
    }
  }
  return rows;
}

}  // namespace test
