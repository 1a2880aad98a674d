// The feedback view over a player view: a rounded dark panel at the top centre that names what a
// swipe moves and where it stands, with a bar filled to the level for the volume and the
// brightness. It takes no touches: a finger on it reaches whatever lies beneath, as if it were
// absent. Hidden until a swipe steps.
#pragma once

#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"
#include "setup/FeedbackHooks.h"

class GLPFeedbackView : public UIView {
 public:
  static Class objcClass();

  // Builds the label and the bar, hidden.
  id initWithFrame(CGRect frame) override;

  // Shows the level (0 to 1) of the volume or the brightness, or a count of seek steps, at the
  // top centre of the superview. The text is made anew only when the words change.
  void showLevel(glidepad::SwipeControl control, double level);
  void showSeekSteps(int64_t steps);
  // Shows a rate option's title ("2x"), without the bar.
  void showTitle(const id& title);

  // The swipe under way on this view, and whether the view shows for it (the `showFeedback`
  // setting as the swipe began).
  struct Swipe {
    bool shows = false;
    bool stepped = false;   // the view has shown for this swipe
    int64_t seekSteps = 0;  // net: forward less backward
  };
  Swipe& swipe() { return swipe_; }
  // Hiding is asked for with a token; a later request, or a later swipe's first step, takes a
  // new one, so an earlier request finds its token stale and leaves the view alone.
  uint64_t takeHideToken() { return ++hideToken_; }
  uint64_t hideToken() const { return hideToken_; }

 private:
  void appear();
  // What the text says now, so that a step that changes no word makes no new text.
  struct Words {
    glidepad::SwipeControl control = glidepad::SwipeControl::Seek;
    int64_t value = -1;
    bool set = false;
    bool operator==(const Words&) const = default;
  };

  Ref<UILabel> label_;
  Ref<UIView> track_;
  Ref<UIView> fill_;
  Words words_;
  Swipe swipe_;
  uint64_t hideToken_ = 0;
};
