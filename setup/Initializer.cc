#include "setup/Initializer.h"

#include <iterator>
#include <string_view>

#include "Foundation/NSString.h"
#include "feedback/SwipeFeedback.h"
#include "gestures/SwipeGrafts.h"
#include "gestures/TapAndHoldGrafts.h"
#include "objc/runtime.h"
#include "setup/HostInterface.h"
#include "setup/SavedImplementations.h"
#include "setup/Settings.h"
#include "stepper/RateStepperGrafts.h"
#include "substrate.h"

namespace glidepad {

namespace {

enum class GraftKind { Replace, AddMethod, AddProperty };

// Installs one Replace or AddMethod row on its class; `types` is the AddMethod row's encoding.
using GraftInstaller = void (*)(Class cls, SEL member, const char* types);

// One row of the graft table.
struct Graft {
  const char* className;
  GraftKind kind;
  const char* member;
  GraftInstaller install = nullptr;                       // Replace and AddMethod
  const char* types = nullptr;                            // AddMethod
  const objc_property_attribute_t* attributes = nullptr;  // AddProperty
  unsigned attributeCount = 0;                            // AddProperty
};

// Replaces the member, keeping the host's previous implementation in `Slot`.
template <auto Replacement, auto Slot>
void replace(Class cls, SEL member, const char*) {
  MSHookMessageEx(cls, member, Replacement, Slot);
}

// Adds the member; a class that already has one keeps its own.
template <auto Implementation>
void add(Class cls, SEL member, const char* types) {
  class_addMethod(cls, member, Implementation, types);
}

const objc_property_attribute_t kStepperPropertyAttributes[] = {
    {"T", "@\"ZEBStepper\""},  // an object of class ZEBStepper
    {"&", ""},                 // strong
    {"N", ""},                 // nonatomic
};

// The object type code, as `@encode(id)` gives it.
constexpr const char* kObjectTypeCode = "@";

// Installs rows [first, last) in order. A class the host does not have is skipped with its rows:
// the device's runtime would be handed a nil class, and nothing useful can follow from that.
void install(const Graft* first, const Graft* last) {
  const char* lookedUp = nullptr;
  Class cls = nullptr;
  for (const Graft* row = first; row != last; ++row) {
    if (lookedUp == nullptr || std::string_view(lookedUp) != row->className) {
      lookedUp = row->className;
      cls = objc_getClass(row->className);
    }
    if (cls == nullptr) continue;
    switch (row->kind) {
      case GraftKind::Replace:
      case GraftKind::AddMethod:
        row->install(cls, sel_registerName(row->member), row->types);
        break;
      case GraftKind::AddProperty:
        class_addProperty(cls, row->member, row->attributes, row->attributeCount);
        break;
    }
  }
}

class AutoreleasePool {
 public:
  AutoreleasePool() : pool_(objc_autoreleasePoolPush()) {}
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;
  ~AutoreleasePool() { objc_autoreleasePoolPop(pool_); }

 private:
  void* pool_;
};

}  // namespace

void installGrafts(const GraftClasses& classes) {
  AutoreleasePool pool;
  auto getterTypes = NSString::stringWithFormat("%s@:", kObjectTypeCode);
  auto setterTypes = NSString::stringWithFormat("v@:%s", kObjectTypeCode);
  using enum GraftKind;
  const Graft grafts[] = {
      // The swipe gestures.
      {classes.overlayController, Replace, "isFullscreen",
       &replace<&overlayControllerIsFullscreen, &saved::overlayControllerIsFullscreen>},
      {classes.overlayController, Replace, "viewDidLoad",
       &replace<&overlayControllerViewDidLoad, &saved::overlayControllerViewDidLoad>},
      {classes.playerView, Replace,
       "initWithFrame:", &replace<&playerViewInitWithFrame, &saved::playerViewInitWithFrame>},
      {classes.playerView, AddMethod, "GLPGesture:", &add<&playerViewGLPGesture>, "v@:@"},
      {classes.playerView, AddMethod, "GLPDoubleTap:", &add<&playerViewGLPDoubleTap>, "v@:@"},
      {classes.playerView, AddMethod, "GLPHold:", &add<&playerViewGLPHold>, "v@:@"},
      {classes.playerView, Replace, "didMoveToWindow",
       &replace<&playerViewDidMoveToWindow, &saved::playerViewDidMoveToWindow>},
      // The rate stepper.
      {classes.playerController, Replace, "viewDidLoad",
       &replace<&playerControllerViewDidLoad, &saved::playerControllerViewDidLoad>},
      {classes.playerController, Replace, "varispeedSwitchController:didSelectRate:",
       &replace<&playerControllerDidSelectRate, &saved::playerControllerDidSelectRate>},
      {classes.controlsOverlay, AddProperty, "playbackRateStepper", nullptr, nullptr,
       kStepperPropertyAttributes, 3},
      {classes.controlsOverlay, AddMethod, "playbackRateStepper",
       &add<&controlsOverlayPlaybackRateStepper>, getterTypes->UTF8String()},
      {classes.controlsOverlay, AddMethod, "setPlaybackRateStepper:",
       &add<&controlsOverlaySetPlaybackRateStepper>, setterTypes->UTF8String()},
      {classes.controlsOverlay, Replace, "initWithDelegate:",
       &replace<&controlsOverlayInitWithDelegate, &saved::controlsOverlayInitWithDelegate>},
      {classes.controlsOverlay, Replace, "layoutSubviews",
       &replace<&controlsOverlayLayoutSubviews, &saved::controlsOverlayLayoutSubviews>},
      {classes.controlsOverlay, AddMethod, "updatePlaybackRate",
       &add<&controlsOverlayUpdatePlaybackRate>, "v@:"},
  };
  constexpr size_t kSwipeRows = 7;

  if (enabledSwitch) {
    installFeedback();
    install(grafts, grafts + kSwipeRows);
    if (showPlaybackRate) install(grafts + kSwipeRows, std::end(grafts));
  }
}

void initialize() {
  AutoreleasePool pool;
  loadSettings();
  installGrafts(kHostGraftClasses);
  registerForSettingsChanges();
}

}  // namespace glidepad
