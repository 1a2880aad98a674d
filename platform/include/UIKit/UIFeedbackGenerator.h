// Haptic feedback: a selection tick, and an impact. On the device each generator asks the Taptic
// Engine to play its pattern; `prepare` only warms the engine and plays nothing. Playing is
// fire-and-forget: nothing comes back, and a device without the hardware plays nothing.
#pragma once

#include <cstdint>

#include "objc/NSObject.h"

class UIFeedbackGenerator : public NSObject {
 public:
  static Class objcClass();

  void prepare() {}
};

// The tick of a value changing by one position, as a picker wheel gives.
class UISelectionFeedbackGenerator : public UIFeedbackGenerator {
 public:
  static Class objcClass();

  void selectionChanged();
};

enum UIImpactFeedbackStyle : int64_t {
  UIImpactFeedbackStyleLight = 0,
  UIImpactFeedbackStyleMedium = 1,
  UIImpactFeedbackStyleHeavy = 2,
};

// A knock, as of one thing meeting another.
class UIImpactFeedbackGenerator : public UIFeedbackGenerator {
 public:
  static Class objcClass();

  // `init` gives the medium style, as on the device.
  id init() override;
  id initWithStyle(UIImpactFeedbackStyle style);
  UIImpactFeedbackStyle style() const { return style_; }

  void impactOccurred();

 private:
  UIImpactFeedbackStyle style_ = UIImpactFeedbackStyleMedium;
};

// For the host process only: what the process's generators have played since it started, the
// part of the device a person would feel.
struct UIFeedbackPlayed_ {
  uint64_t selections = 0;
  uint64_t impacts = 0;
};
UIFeedbackPlayed_ UIFeedbackGeneratorPlayed_();
