#include "UIKit/NSLayoutConstraint.h"

#include "UIKit/UIView.h"

Class NSLayoutConstraint::objcClass() {
  static Class cls = objc_registerClass("NSLayoutConstraint", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<NSLayoutConstraint> NSLayoutConstraint::constraintWithItem(
    const id& firstItem, NSLayoutAttribute firstAttribute, NSLayoutRelation relation,
    const id& secondItem, NSLayoutAttribute secondAttribute, double multiplier, double constant) {
  auto constraint = alloc_init<NSLayoutConstraint>();
  constraint->firstItem_ = firstItem;
  constraint->firstAttribute_ = firstAttribute;
  constraint->relation_ = relation;
  constraint->secondItem_ = secondItem;
  constraint->secondAttribute_ = secondAttribute;
  constraint->multiplier_ = multiplier;
  constraint->constant_ = constant;
  return constraint;
}

namespace {

// The value of an attribute of `item` in the coordinates of `holder`'s bounds.
double attributeValue(UIView& holder, const id& item, NSLayoutAttribute attribute) {
  auto view = objc_cast<UIView>(item);
  if (!view) return 0;
  CGRect rect = view.get() == &holder ? holder.bounds() : view->frame();
  switch (attribute) {
    case NSLayoutAttributeWidth:
      return rect.size.width;
    case NSLayoutAttributeHeight:
      return rect.size.height;
    case NSLayoutAttributeCenterX:
      return CGRectGetMidX(rect);
    case NSLayoutAttributeCenterY:
      return CGRectGetMidY(rect);
    default:
      return 0;
  }
}

bool isSolved(const NSLayoutConstraint& constraint, UIView& holder) {
  if (constraint.relation() != NSLayoutRelationEqual) return false;
  auto view = objc_cast<UIView>(constraint.firstItem());
  if (!view || view->superview().get() != &holder) return false;
  if (view->translatesAutoresizingMaskIntoConstraints()) return false;
  switch (constraint.firstAttribute()) {
    case NSLayoutAttributeWidth:
    case NSLayoutAttributeHeight:
    case NSLayoutAttributeCenterX:
    case NSLayoutAttributeCenterY:
      return true;
    default:
      return false;
  }
}

}  // namespace

void NSLayoutConstraint::applyConstraints(UIView& holder) {
  // Sizes first, so that the centring constraints place views of their final size.
  for (bool sizes : {true, false}) {
    for (const auto& constraint : holder.constraints()) {
      if (!isSolved(*constraint, holder)) continue;
      auto attribute = constraint->firstAttribute();
      bool isSize = attribute == NSLayoutAttributeWidth || attribute == NSLayoutAttributeHeight;
      if (isSize != sizes) continue;
      auto view = objc_cast<UIView>(constraint->firstItem());
      double value = constraint->multiplier() * attributeValue(holder, constraint->secondItem(),
                                                               constraint->secondAttribute()) +
                     constraint->constant();
      CGRect frame = view->frame();
      switch (attribute) {
        case NSLayoutAttributeWidth:
          frame.size.width = value;
          break;
        case NSLayoutAttributeHeight:
          frame.size.height = value;
          break;
        case NSLayoutAttributeCenterX:
          frame.origin.x = value - frame.size.width / 2;
          break;
        default:
          frame.origin.y = value - frame.size.height / 2;
          break;
      }
      view->setFrame(frame);
    }
  }
}
