#include "feedback/GLPFeedbackView.h"

#include <algorithm>
#include <cstdlib>

#include "Foundation/NSString.h"
#include "UIKit/UIFont.h"
#include "feedback/FeedbackText.h"

using glidepad::SwipeControl;

namespace {

constexpr double kWidth = 160;
constexpr double kHeight = 50;
constexpr double kTop = 12;  // from the player's top edge
constexpr double kTextTop = 6, kTextHeight = 22;
constexpr double kBarInset = 16, kBarTop = 34, kBarHeight = 6;

}  // namespace

Class GLPFeedbackView::objcClass() {
  static Class cls = objc_registerClass("GLPFeedbackView", UIView::objcClass(), [](Class) {});
  return cls;
}

id GLPFeedbackView::initWithFrame(CGRect frame) {
  UIView::initWithFrame(frame);
  setUserInteractionEnabled(NO);
  setHidden(YES);
  setBackgroundColor(UIColor::colorWithRed(0, 0, 0, 0.6));
  layer()->setCornerRadius(10);

  label_ = objc_cast<UILabel>(
      alloc<UILabel>()->initWithFrame(CGRectMake(0, kTextTop, kWidth, kTextHeight)));
  label_->setTextColor(UIColor::whiteColor());
  label_->setFont(UIFont::systemFontOfSize(15));
  label_->setTextAlignment(NSTextAlignmentCenter);
  addSubview(label_);

  double barWidth = kWidth - 2 * kBarInset;
  track_ = objc_cast<UIView>(
      alloc<UIView>()->initWithFrame(CGRectMake(kBarInset, kBarTop, barWidth, kBarHeight)));
  track_->setUserInteractionEnabled(NO);
  track_->setBackgroundColor(UIColor::colorWithRed(1, 1, 1, 0.3));
  track_->layer()->setCornerRadius(kBarHeight / 2);
  fill_ = objc_cast<UIView>(alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 0, kBarHeight)));
  fill_->setUserInteractionEnabled(NO);
  fill_->setBackgroundColor(UIColor::whiteColor());
  fill_->layer()->setCornerRadius(kBarHeight / 2);
  track_->addSubview(fill_);
  addSubview(track_);
  return self();
}

void GLPFeedbackView::appear() {
  if (!isHidden()) return;
  double across = superview() ? superview()->bounds().size.width : kWidth;
  setFrame(CGRectMake((across - kWidth) / 2, kTop, kWidth, kHeight));
  setHidden(NO);
}

void GLPFeedbackView::showLevel(SwipeControl control, double level) {
  int percent = glidepad::levelPercent(level);
  Words words{control, percent, true};
  if (words != words_) {
    words_ = words;
    const char* format = control == SwipeControl::Volume ? "Volume %d%%" : "Brightness %d%%";
    label_->setText(NSString::stringWithFormat(format, percent));
  }
  double barWidth = track_->bounds().size.width;
  fill_->setFrame(
      CGRectMake(0, 0, barWidth * (level > 0 ? std::min(level, 1.0) : 0.0), kBarHeight));
  track_->setHidden(NO);
  appear();
}

void GLPFeedbackView::showSeekSteps(int64_t steps) {
  Words words{SwipeControl::Seek, steps, true};
  if (words != words_) {
    words_ = words;
    if (steps == 0) {
      label_->setText(NSStr("Seek 0"));
    } else {
      label_->setText(
          NSString::stringWithFormat(steps > 0 ? "Seek +%d" : "Seek -%d", std::llabs(steps)));
    }
  }
  track_->setHidden(YES);
  appear();
}

void GLPFeedbackView::showTitle(const id& title) {
  words_ = {};  // the next level or seek count writes its words afresh
  label_->setText(NSString::stringWithFormat("%@", title));
  track_->setHidden(YES);
  appear();
}
