// The grafts on the host app's own classes (host/), registered in an isolated child per scenario:
// the runtime's class table is process-wide and grafts cannot be undone.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gestures/SwipeGrafts.h"
#include "gestures/TapAndHoldGrafts.h"
#include "host/App.h"
#include "host/Host.h"
#include "objc/runtime.h"
#include "setup/Initializer.h"
#include "setup/Isolated.h"
#include "setup/SavedImplementations.h"
#include "setup/Settings.h"
#include "setup/SettingsFile.h"
#include "stepper/RateStepperGrafts.h"
#include "support/Device.h"

namespace {

constexpr const char* kOverlay = "YTMainAppVideoPlayerOverlayViewController";
constexpr const char* kPlayerView = "YTPlayerView";
constexpr const char* kPlayer = "YTPlayerViewController";
constexpr const char* kControls = "YTMainAppControlsOverlayView";

template <class F>
IMP imp(F function) {
  return reinterpret_cast<IMP>(function);
}

// One row of the graft table: a replacement (with its saved slot), an added method (with its
// types) or, with no graft, the property (with its attributes).
struct Row {
  const char* cls;
  const char* member;
  IMP graft;
  IMP slot;
  const char* types = nullptr;
};

std::vector<Row> graftTable() {
  using namespace glidepad;
  return {
      {kOverlay, "isFullscreen", imp(&overlayControllerIsFullscreen),
       imp(saved::overlayControllerIsFullscreen)},
      {kOverlay, "viewDidLoad", imp(&overlayControllerViewDidLoad),
       imp(saved::overlayControllerViewDidLoad)},
      {kPlayerView, "initWithFrame:", imp(&playerViewInitWithFrame),
       imp(saved::playerViewInitWithFrame)},
      {kPlayerView, "GLPGesture:", imp(&playerViewGLPGesture), nullptr, "v@:@"},
      {kPlayerView, "GLPDoubleTap:", imp(&playerViewGLPDoubleTap), nullptr, "v@:@"},
      {kPlayerView, "GLPHold:", imp(&playerViewGLPHold), nullptr, "v@:@"},
      {kPlayerView, "didMoveToWindow", imp(&playerViewDidMoveToWindow),
       imp(saved::playerViewDidMoveToWindow)},
      {kPlayer, "viewDidLoad", imp(&playerControllerViewDidLoad),
       imp(saved::playerControllerViewDidLoad)},
      {kPlayer, "varispeedSwitchController:didSelectRate:", imp(&playerControllerDidSelectRate),
       imp(saved::playerControllerDidSelectRate)},
      {kControls, "playbackRateStepper", nullptr, nullptr, "T@\"ZEBStepper\",&,N"},
      {kControls, "playbackRateStepper", imp(&controlsOverlayPlaybackRateStepper), nullptr, "@@:"},
      {kControls, "setPlaybackRateStepper:", imp(&controlsOverlaySetPlaybackRateStepper), nullptr,
       "v@:@"},
      {kControls, "initWithDelegate:", imp(&controlsOverlayInitWithDelegate),
       imp(saved::controlsOverlayInitWithDelegate)},
      {kControls, "layoutSubviews", imp(&controlsOverlayLayoutSubviews),
       imp(saved::controlsOverlayLayoutSubviews)},
      {kControls, "updatePlaybackRate", imp(&controlsOverlayUpdatePlaybackRate), nullptr, "v@:"},
  };
}

Method methodOf(const Row& row) {
  Class cls = objc_getClass(row.cls);
  return cls ? class_getInstanceMethod(cls, sel_registerName(row.member)) : nullptr;
}

// The host's implementations of the rows' members, taken before the grafts.
std::vector<IMP> hostsOwn() {
  std::vector<IMP> own;
  for (const Row& row : graftTable()) {
    Method method = methodOf(row);
    own.push_back(method ? method_getImplementation(method) : nullptr);
  }
  return own;
}

// '1' for each row in place, in the table's order; the slot of each replacement holds the host's
// own implementation if it is in place, and nothing if not.
std::string installedRows(const std::vector<IMP>& own) {
  std::string installed;
  const auto table = graftTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const Row& row = table[i];
    bool in = false;
    if (!row.graft) {
      Class cls = objc_getClass(row.cls);
      objc_property_t property = cls ? class_getProperty(cls, row.member) : nullptr;
      in = property && std::string_view(property_getAttributes(property)) == row.types;
    } else if (Method method = methodOf(row)) {
      in = method_getImplementation(method) == row.graft &&
           (!row.types || std::string_view(method_getTypeEncoding(method)) == row.types);
    }
    if (row.graft && !row.types) {
      EXPECT_EQ(row.slot, in ? own[i] : nullptr) << "the slot of " << row.cls << " " << row.member;
    }
    installed += in ? '1' : '0';
  }
  return installed;
}

void registerHostWithout(std::string_view missing) {
  host::YTMainAppVideoPlayerOverlayViewController::objcClass();
  host::YTPlayerView::objcClass();
  if (missing != kPlayer) host::YTPlayerViewController::objcClass();
  host::YTVarispeedSwitchController::objcClass();
  if (missing != kControls) host::YTMainAppControlsOverlayView::objcClass();
}

// A subclass of a host class whose override the host's own viewDidLoad reaches, noting the call
// and its receiver.
std::vector<std::pair<std::string, const NSObject*>> calls;

template <class Host>
class Noting : public Host {
 public:
  static Class objcClass() {
    static const std::string name = std::string("Noting") + class_getName(Host::objcClass());
    static Class cls = objc_registerClass(name.c_str(), Host::objcClass(), [](Class) {});
    return cls;
  }
  void viewDidLoad() override { calls.emplace_back(class_getName(Host::objcClass()), this); }
};

void addUpdatePlaybackRate() {
  class_addMethod(objc_getClass(kControls), sel_registerName("updatePlaybackRate"),
                  TypedIMP<void>([](const id&, SEL) {}), "v@:");
}

void addRateTakenAsDouble() {
  Class cls = objc_allocateClassPair(NSObject::objcClass(), kPlayer, 0);
  class_addMethod(cls, sel_registerName("viewDidLoad"), TypedIMP<void>([](const id&, SEL) {}),
                  "v@:");
  class_addMethod(cls, sel_registerName("varispeedSwitchController:didSelectRate:"),
                  TypedIMP<void, id, double>([](const id&, SEL, id, double) {}), "v@:@d");
  objc_registerClassPair(cls);
}

void nothing() {}

}  // namespace

TEST(Initializer, InstallsTheRowsTheSwitchesAndTheHostAllowAndAlwaysSubscribesTheReload) {
  struct Case {
    const char* name;
    bool enabled, shown;
    const char* missing;  // a host class not registered
    void (*addToHost)();
    const char* expected;
    bool refused = false;
  };
  const Case cases[] = {
      // The master switch suppresses the rate stepper too.
      {"enabled off", false, true, "", nothing, "000000000000000"},
      {"shown off", true, false, "", nothing, "111111100000000"},
      {"both on", true, true, "", nothing, "111111111111111"},
      {"its own updatePlaybackRate", true, true, "", addUpdatePlaybackRate, "111111111111110"},
      {"no controls overlay", true, true, kControls, nothing, "111111111000000"},
      {"no player controller", true, true, kPlayer, nothing, "111111100111111"},
      // Refused loudly: the rows before the refused one are in place, none after.
      {"a rate taken as a double", true, true, kPlayer, addRateTakenAsDouble, "111111110000000",
       true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    auto format = test::kBothFormats[i % 2];
    std::string name = std::string(c.name) + ", " + test::nameOf(format);
    test::runIsolated(name, [&] {
      SCOPED_TRACE(name);
      test::TempDeviceRoot root;
      registerHostWithout(c.missing);
      c.addToHost();
      auto own = hostsOwn();
      test::writeSettings(root, format,
                          {{"enabledSwitch", plist_new_bool(c.enabled)},
                           {"showPlaybackRate", plist_new_bool(c.shown)}});
      try {
        glidepad::initialize();
        EXPECT_FALSE(c.refused) << "no exception";
      } catch (const NSException& e) {
        EXPECT_TRUE(c.refused) << e.what();
        std::string what = e.what();
        EXPECT_EQ(e.name(), NSInvalidArgumentException);
        for (const char* part :
             {"-[YTPlayerViewController varispeedSwitchController:didSelectRate:]", "\"v@:@d\"",
              "\"v@:@f\""}) {
          EXPECT_NE(what.find(part), std::string::npos) << what;
        }
      }
      EXPECT_EQ(installedRows(own), c.expected);
      if (c.refused) return;
      // The change notification reloads every value; the switches only matter at load.
      test::writeSettings(
          root, format,
          {{"enabledSwitch", plist_new_bool(!c.enabled)}, {"speed", plist_new_uint(123)}});
      support::announceSettings();
      EXPECT_EQ(glidepad::speed, 123);
      EXPECT_EQ(glidepad::enabledSwitch, !c.enabled);
      EXPECT_EQ(installedRows(own), c.expected);
    });
  }
}

TEST(Initializer, ReplacementsReachTheHostsOwnWithReceiverAndArgumentsUnchanged) {
  test::runIsolated("replacements", [] {
    test::TempDeviceRoot root;  // no settings file: everything on
    host::registerHostClasses();
    glidepad::initialize();
    auto overlay = alloc_init<Noting<host::YTMainAppVideoPlayerOverlayViewController>>();
    overlay->setFullscreen(YES);
    EXPECT_TRUE(objc_msgSend<bool>(overlay, selector<"isFullscreen">()));
    overlay->loadViewIfNeeded();
    auto player = alloc_init<Noting<host::YTPlayerViewController>>();
    player->loadViewIfNeeded();
    objc_msgSend(player, selector<"varispeedSwitchController:didSelectRate:">(), id(), 1.25f);
    EXPECT_EQ(player->playbackRate(), 1.25f);
    const decltype(calls) expected = {{kOverlay, overlay.get()}, {kPlayer, player.get()}};
    EXPECT_EQ(calls, expected);
    auto playerView = alloc<host::YTPlayerView>();
    const CGRect frame{{1.5, -2}, {320.25, 180}};
    EXPECT_EQ(objc_msgSend<id>(playerView, selector<"initWithFrame:">(), frame), playerView);
    EXPECT_EQ(playerView->frame(), frame);
    auto controls = alloc<host::YTMainAppControlsOverlayView>();
    auto delegate = alloc_init<NSObject>();
    EXPECT_EQ(objc_msgSend<id>(controls, selector<"initWithDelegate:">(), delegate), controls);
    EXPECT_EQ(controls->delegate(), delegate);
    controls->setFrame(CGRectMake(0, 0, 100, 60));
    objc_msgSend(controls, selector<"layoutSubviews">());
    EXPECT_EQ(controls->playPauseButton()->frame(), CGRectMake(20, 0, 60, 60));
  });
}
