// Finding the host's objects from a view through the platform alone, as code on the device does:
// up the responder chain, where a view's next responder is its view controller, or among the view
// controllers of the views under one. Classes are named, as the host has no header here.
#pragma once

#include "objc/objc.h"

namespace glidepad {

// The first responder from `responder` up the chain, itself included, that is a `className` or
// a subclass of one; nil when none is.
id responderOfClassUp(const id& responder, const char* className);

// The view controller that is a `className` and owns `view` or a view under it, depth first in
// subview order; nil when none does.
id viewControllerUnder(const id& view, const char* className);

}  // namespace glidepad
