#include "feedback/Haptics.h"

#include "UIKit/UIFeedbackGenerator.h"
#include "setup/Settings.h"

namespace glidepad {

void playStepHaptic(bool moved) {
  if (!haptics) return;
  if (moved) {
    static const auto* tick =
        new Ref<UISelectionFeedbackGenerator>(alloc_init<UISelectionFeedbackGenerator>());
    (*tick)->selectionChanged();
  } else {
    static const auto* knock =
        new Ref<UIImpactFeedbackGenerator>(alloc_init<UIImpactFeedbackGenerator>());
    (*knock)->impactOccurred();
  }
}

}  // namespace glidepad
