#include "GestureArbitration.h"

#include <algorithm>
#include <vector>

#include "UIKit/UITouchDispatcher.h"

namespace uikit_detail {

namespace {

// The delegate's answer to `question` about the recognizer (and `about`, where the question
// takes a second argument); `fallback` where there is no delegate or it does not answer.
template <class... About>
bool askDelegate(UIGestureRecognizer& recognizer, SEL question, bool fallback,
                 const About&... about) {
  id delegate = recognizer.delegate();
  if (!delegate || !delegate->respondsToSelector(question)) return fallback;
  return objc_msgSend<bool>(delegate, question, recognizer.self(), about...);
}

std::vector<UITouchDispatcher*>& liveDispatchers() {
  static auto* dispatchers = new std::vector<UITouchDispatcher*>;
  return *dispatchers;
}

}  // namespace

bool delegateAllowsTouch(UIGestureRecognizer& recognizer, const Ref<UITouch>& touch) {
  return askDelegate(recognizer, selector<"gestureRecognizer:shouldReceiveTouch:">(), true,
                     id(touch));
}

bool delegateAllowsBegin(UIGestureRecognizer& recognizer) {
  return askDelegate(recognizer, selector<"gestureRecognizerShouldBegin:">(), true);
}

bool recognizeTogether(UIGestureRecognizer& first, UIGestureRecognizer& second) {
  SEL question =
      selector<"gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:">();
  return askDelegate(first, question, false, second.self()) ||
         askDelegate(second, question, false, first.self());
}

void failOthers(UIGestureRecognizer& winner, std::span<const Ref<UIGestureRecognizer>> sequence) {
  for (const auto& other : sequence) {
    if (other.get() == &winner || other->state() != UIGestureRecognizerStatePossible) continue;
    if (!recognizeTogether(winner, *other)) other->failForOther_();
  }
}

void addDispatcher(UITouchDispatcher* dispatcher) { liveDispatchers().push_back(dispatcher); }

void removeDispatcher(UITouchDispatcher* dispatcher) {
  auto& dispatchers = liveDispatchers();
  dispatchers.erase(std::remove(dispatchers.begin(), dispatchers.end(), dispatcher),
                    dispatchers.end());
}

void recognizerChangedOutsideEvent(const Ref<UIGestureRecognizer>& recognizer, bool began) {
  // By index: a view's answer may open or close a window, and with it a dispatcher.
  auto& dispatchers = liveDispatchers();
  for (size_t i = 0; i < dispatchers.size(); ++i) {
    dispatchers[i]->recognizerChangedOutsideEvent_(recognizer, began);
  }
}

}  // namespace uikit_detail
