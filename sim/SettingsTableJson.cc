#include "sim/SettingsTableJson.h"

#include <cstdint>

#include "sim/JsonDocument.h"
#include "sim/KnownSettings.h"

namespace sim {

namespace {

using glidepad::settings::Kind;
using glidepad::settings::TakesEffect;

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::Boolean:
      return "boolean";
    case Kind::Integer:
      return "integer";
    case Kind::Decimal:
      return "decimal";
  }
  return "";
}

const char* whenName(TakesEffect when) {
  switch (when) {
    case TakesEffect::NextLaunch:
      return "nextLaunch";
    case TakesEffect::NextSwipe:
      return "nextSwipe";
    case TakesEffect::NextMove:
      return "nextMove";
    case TakesEffect::NewPlayers:
      return "newPlayers";
    case TakesEffect::NextTouch:
      return "nextTouch";
    case TakesEffect::PlayerLeaves:
      return "playerLeaves";
  }
  return "";
}

// Where the settings pane shows the key: the library's first keys by what they shape, then the
// options added since, together.
const char* groupOf(glidepad::settings::Row row) {
  using namespace glidepad::settings;
  switch (row) {
    case kEnabledSwitchRow:
    case kSpeedRow:
    case kActivateAfterRow:
    case kTopAreaRow:
    case kBottomAreaRow:
      return "Swipes";
    case kShowPlaybackRateRow:
      return "Rate stepper";
    case kShowFeedbackRow:
    case kHapticsRow:
      return "Feedback";
    case kDeadZoneRow:
    case kFullscreenOnlyRow:
    case kVolumeSpeedRow:
    case kBrightnessSpeedRow:
    case kSeekSpeedRow:
    case kRestoreBrightnessRow:
    case kDoubleTapSeekRow:
    case kHoldRateRow:
      return "More gestures and options";
  }
  return "";
}

// The default as the file would hold it: a boolean as true or false, an integer without a point.
Json fallbackOf(const KnownSetting& key) {
  if (key.kind == Kind::Boolean) return key.fallback != 0;
  if (key.kind == Kind::Integer) return static_cast<int64_t>(key.fallback);
  return key.fallback;
}

Json rowOf(const KnownSetting& key, size_t index) {
  Json row;
  row["name"] = key.name;
  row["group"] = groupOf(static_cast<glidepad::settings::Row>(index));
  row["kind"] = kindName(key.kind);
  row["fallback"] = fallbackOf(key);
  row["fallbackKey"] = key.fallbackKey ? Json(key.fallbackKey) : Json();
  row["takesEffect"] = whenName(key.takesEffect);
  row["label"] = key.label;
  row["minimum"] = key.minimum;
  row["maximum"] = key.maximum;
  row["areaCode"] = key.areaCode;
  return row;
}

}  // namespace

std::string settingsTableJson() {
  Json table;
  Json& keys = table["keys"] = Json::array();
  for (size_t i = 0; i < kKnownSettings.size(); ++i) keys.push_back(rowOf(kKnownSettings[i], i));
  table["areaActions"] = glidepad::settings::kAreaActions;
  return jsonText(table);
}

}  // namespace sim
