// Auto Layout constraints, reduced to what a layout pass here solves.
//
// A constraint reads: first item's attribute = multiplier × second item's attribute + constant.
// The view that holds a constraint applies it in its `layoutSubviews` to a first item that is one
// of its subviews with `translatesAutoresizingMaskIntoConstraints` off. Solved: the relation
// "equal" with the attributes width, height, centre X and centre Y, against the holding view, a
// sibling, or no item. Not solved (left as they are): inequalities, priorities, the edge
// attributes (left, right, top, bottom, leading, trailing) and any conflict between constraints.
#pragma once

#include "objc/NSObject.h"

enum NSLayoutAttribute : int64_t {
  NSLayoutAttributeNotAnAttribute = 0,
  NSLayoutAttributeLeft = 1,
  NSLayoutAttributeRight = 2,
  NSLayoutAttributeTop = 3,
  NSLayoutAttributeBottom = 4,
  NSLayoutAttributeLeading = 5,
  NSLayoutAttributeTrailing = 6,
  NSLayoutAttributeWidth = 7,
  NSLayoutAttributeHeight = 8,
  NSLayoutAttributeCenterX = 9,
  NSLayoutAttributeCenterY = 10,
};

enum NSLayoutRelation : int64_t {
  NSLayoutRelationLessThanOrEqual = -1,
  NSLayoutRelationEqual = 0,
  NSLayoutRelationGreaterThanOrEqual = 1,
};

class UIView;

class NSLayoutConstraint : public NSObject {
 public:
  static Class objcClass();

  static Ref<NSLayoutConstraint> constraintWithItem(const id& firstItem,
                                                    NSLayoutAttribute firstAttribute,
                                                    NSLayoutRelation relation, const id& secondItem,
                                                    NSLayoutAttribute secondAttribute,
                                                    double multiplier, double constant);

  id firstItem() const { return firstItem_.lock(); }
  NSLayoutAttribute firstAttribute() const { return firstAttribute_; }
  NSLayoutRelation relation() const { return relation_; }
  id secondItem() const { return secondItem_.lock(); }
  NSLayoutAttribute secondAttribute() const { return secondAttribute_; }
  double multiplier() const { return multiplier_; }
  double constant() const { return constant_; }

  // Applies the constraints `holder` holds to its subviews (see above).
  static void applyConstraints(UIView& holder);

 private:
  WeakRef<NSObject> firstItem_;  // constraints do not keep their items alive
  NSLayoutAttribute firstAttribute_ = NSLayoutAttributeNotAnAttribute;
  NSLayoutRelation relation_ = NSLayoutRelationEqual;
  WeakRef<NSObject> secondItem_;
  NSLayoutAttribute secondAttribute_ = NSLayoutAttributeNotAnAttribute;
  double multiplier_ = 1;
  double constant_ = 0;
};
