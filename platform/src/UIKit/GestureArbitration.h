// Which recognizers run together, and what the machinery does when a recognizer changes between
// touch events: the rules listed in UIKit/UIGestureRecognizer.h, for the recognizers and the
// touch dispatchers alone.
#pragma once

#include <span>

#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UITouch.h"

class UITouchDispatcher;

namespace uikit_detail {

// The delegate's answers; YES where there is no delegate or it does not answer.
bool delegateAllowsTouch(UIGestureRecognizer& recognizer, const Ref<UITouch>& touch);
bool delegateAllowsBegin(UIGestureRecognizer& recognizer);
// NO unless the delegate of either says YES.
bool recognizeTogether(UIGestureRecognizer& first, UIGestureRecognizer& second);

// `winner` began or recognized: the others of its sequence still Possible fail.
void failOthers(UIGestureRecognizer& winner, std::span<const Ref<UIGestureRecognizer>> sequence);

// Every dispatcher alive hears of a change outside a touch event, since a recognizer does not
// know which window's sequence it takes part in.
void addDispatcher(UITouchDispatcher* dispatcher);
void removeDispatcher(UITouchDispatcher* dispatcher);
void recognizerChangedOutsideEvent(const Ref<UIGestureRecognizer>& recognizer, bool began);

}  // namespace uikit_detail
