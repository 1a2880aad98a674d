#include "sim/KnownSettings.h"

#include <cctype>

namespace sim {

using glidepad::settings::Kind;
using glidepad::settings::TakesEffect;

const KnownSetting* knownSetting(std::string_view key, bool ignoringCase) {
  auto same = [&](std::string_view known) {
    if (known.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
      unsigned char a = static_cast<unsigned char>(known[i]);
      unsigned char b = static_cast<unsigned char>(key[i]);
      if (ignoringCase ? std::tolower(a) != std::tolower(b) : a != b) return false;
    }
    return true;
  };
  for (const auto& setting : kKnownSettings) {
    if (same(setting.name)) return &setting;
  }
  return nullptr;
}

std::string whatItTakes(const KnownSetting& setting) {
  std::string takes;
  switch (setting.kind) {
    case Kind::Boolean:
      takes = "true or false";
      break;
    case Kind::Integer:
      takes = "an integer";
      break;
    case Kind::Decimal:
      takes = "a decimal";
      break;
  }
  if (setting.areaCode) {
    takes += " (";
    for (size_t code = 1; code < glidepad::settings::kAreaActions.size(); ++code) {
      std::string action = glidepad::settings::kAreaActions[code];
      action[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(action[0])));
      takes += (code > 1 ? ", " : "") + std::to_string(code) + " " + action;
    }
    takes += "; any other does nothing";
  } else {
    takes += std::string(" (") + setting.label;
  }
  if (setting.takesEffect == TakesEffect::NextLaunch) takes += ", read at launch only";
  return takes + ")";
}

}  // namespace sim
