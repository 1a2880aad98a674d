#include "FreshHostClasses.h"

#include <string>
#include <vector>

#include "objc/runtime.h"

namespace bench {

namespace {

struct MethodCopy {
  SEL name;
  IMP imp;
  std::string types;
};

struct ClassCopy {
  Class superclass = nullptr;
  std::vector<MethodCopy> methods;
};

// In the order of GraftClasses.
ClassCopy recorded[4];

const char* const kHostNames[4] = {
    glidepad::kHostGraftClasses.overlayController, glidepad::kHostGraftClasses.playerView,
    glidepad::kHostGraftClasses.playerController, glidepad::kHostGraftClasses.controlsOverlay};

void makeCopy(const ClassCopy& copy, const std::string& name) {
  Class cls = objc_allocateClassPair(copy.superclass, name.c_str(), 0);
  if (cls == nullptr) return;
  for (const auto& method : copy.methods) {
    objc_detail::addMethod(cls, method.name, method.imp, method.types.c_str(),
                           method.types.c_str());
  }
  objc_registerClassPair(cls);
}

}  // namespace

void recordHostClasses() {
  for (int i = 0; i < 4; ++i) {
    Class cls = objc_getClass(kHostNames[i]);
    if (cls == nullptr) continue;
    recorded[i].superclass = class_getSuperclass(cls);
    unsigned count = 0;
    Method* methods = class_copyMethodList(cls, &count);
    for (unsigned m = 0; m < count; ++m) {
      recorded[i].methods.push_back({method_getName(methods[m]),
                                     method_getImplementation(methods[m]),
                                     method_getTypeEncoding(methods[m])});
    }
    delete[] methods;
  }
}

FreshHostClasses::FreshHostClasses(unsigned serial) {
  std::string suffix = "_bench" + std::to_string(serial);
  overlayController_ = kHostNames[0] + suffix;
  playerView_ = kHostNames[1] + suffix;
  playerController_ = kHostNames[2] + suffix;
  controlsOverlay_ = kHostNames[3] + suffix;
  makeCopy(recorded[0], overlayController_);
  makeCopy(recorded[1], playerView_);
  makeCopy(recorded[2], playerController_);
  makeCopy(recorded[3], controlsOverlay_);
}

glidepad::GraftClasses FreshHostClasses::names() const {
  return {overlayController_.c_str(), playerView_.c_str(), playerController_.c_str(),
          controlsOverlay_.c_str()};
}

bool FreshHostClasses::grafted() const {
  Class cls = objc_getClass(playerView_.c_str());
  return cls != nullptr && class_getInstanceMethod(cls, sel_registerName("GLPGesture:")) != nullptr;
}

SavedSlots::SavedSlots()
    : overlayControllerIsFullscreen_(glidepad::saved::overlayControllerIsFullscreen),
      overlayControllerViewDidLoad_(glidepad::saved::overlayControllerViewDidLoad),
      playerViewInitWithFrame_(glidepad::saved::playerViewInitWithFrame),
      playerControllerViewDidLoad_(glidepad::saved::playerControllerViewDidLoad),
      playerControllerDidSelectRate_(glidepad::saved::playerControllerDidSelectRate),
      controlsOverlayInitWithDelegate_(glidepad::saved::controlsOverlayInitWithDelegate),
      controlsOverlayLayoutSubviews_(glidepad::saved::controlsOverlayLayoutSubviews) {}

void SavedSlots::restore() const {
  using namespace glidepad::saved;
  overlayControllerIsFullscreen = overlayControllerIsFullscreen_;
  overlayControllerViewDidLoad = overlayControllerViewDidLoad_;
  playerViewInitWithFrame = playerViewInitWithFrame_;
  playerControllerViewDidLoad = playerControllerViewDidLoad_;
  playerControllerDidSelectRate = playerControllerDidSelectRate_;
  controlsOverlayInitWithDelegate = controlsOverlayInitWithDelegate_;
  controlsOverlayLayoutSubviews = controlsOverlayLayoutSubviews_;
}

}  // namespace bench
