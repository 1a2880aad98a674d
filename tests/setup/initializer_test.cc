#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "gestures/SwipeGrafts.h"
#include "objc/runtime.h"
#include "setup/FakeHost.h"
#include "setup/Initializer.h"
#include "setup/Isolated.h"
#include "setup/SavedImplementations.h"
#include "setup/Settings.h"
#include "setup/SettingsFile.h"
#include "stepper/RateStepperGrafts.h"
#include "support/Device.h"

namespace {

using Rows = std::array<bool, 12>;

template <class F>
IMP imp(F function) {
  return reinterpret_cast<IMP>(function);
}

IMP ownImplementation(const char* className, const char* member) {
  Class cls = objc_getClass(className);
  return cls ? method_getImplementation(class_getInstanceMethod(cls, sel_registerName(member)))
             : nullptr;
}

bool hasMethod(const char* className, const char* member, const char* types, IMP implementation) {
  Class cls = objc_getClass(className);
  Method method = cls ? class_getInstanceMethod(cls, sel_registerName(member)) : nullptr;
  return method != nullptr && std::strcmp(method_getTypeEncoding(method), types) == 0 &&
         method_getImplementation(method) == implementation;
}

constexpr const char* kOverlayController = "YTMainAppVideoPlayerOverlayViewController";
constexpr const char* kPlayerView = "YTPlayerView";
constexpr const char* kPlayerController = "YTPlayerViewController";
constexpr const char* kControlsOverlay = "YTMainAppControlsOverlayView";

// The host's own implementations, taken before the grafts.
struct HostImplementations {
  IMP isFullscreen = ownImplementation(kOverlayController, "isFullscreen");
  IMP overlayViewDidLoad = ownImplementation(kOverlayController, "viewDidLoad");
  IMP initWithFrame = ownImplementation(kPlayerView, "initWithFrame:");
  IMP playerViewDidLoad = ownImplementation(kPlayerController, "viewDidLoad");
  IMP didSelectRate =
      ownImplementation(kPlayerController, "varispeedSwitchController:didSelectRate:");
  IMP initWithDelegate = ownImplementation(kControlsOverlay, "initWithDelegate:");
  IMP layoutSubviews = ownImplementation(kControlsOverlay, "layoutSubviews");
};

// Which of the twelve rows of the graft table are in place, seen through the runtime, with the
// saved slot of each Replace row holding the host's own implementation.
std::array<bool, 12> installedRows(const HostImplementations& host) {
  using namespace glidepad;
  auto replaced = [](const char* cls, const char* member, IMP replacement, IMP slot, IMP own) {
    bool hooked = ownImplementation(cls, member) == replacement;
    EXPECT_EQ(slot, hooked ? own : nullptr) << "the slot of " << cls << " " << member;
    return hooked;
  };
  Class controls = objc_getClass(kControlsOverlay);
  objc_property_t property =
      controls ? class_getProperty(controls, "playbackRateStepper") : nullptr;
  return {
      replaced(kOverlayController, "isFullscreen", imp(&overlayControllerIsFullscreen),
               imp(saved::overlayControllerIsFullscreen), host.isFullscreen),
      replaced(kOverlayController, "viewDidLoad", imp(&overlayControllerViewDidLoad),
               imp(saved::overlayControllerViewDidLoad), host.overlayViewDidLoad),
      replaced(kPlayerView, "initWithFrame:", imp(&playerViewInitWithFrame),
               imp(saved::playerViewInitWithFrame), host.initWithFrame),
      hasMethod(kPlayerView, "GLPGesture:", "v@:@", imp(&playerViewGLPGesture)),
      replaced(kPlayerController, "viewDidLoad", imp(&playerControllerViewDidLoad),
               imp(saved::playerControllerViewDidLoad), host.playerViewDidLoad),
      replaced(kPlayerController,
               "varispeedSwitchController:didSelectRate:", imp(&playerControllerDidSelectRate),
               imp(saved::playerControllerDidSelectRate), host.didSelectRate),
      property != nullptr &&
          std::string(property_getAttributes(property)) == "T@\"ZEBStepper\",&,N",
      hasMethod(kControlsOverlay, "playbackRateStepper",
                "@@:", imp(&controlsOverlayPlaybackRateStepper)),
      hasMethod(kControlsOverlay, "setPlaybackRateStepper:", "v@:@",
                imp(&controlsOverlaySetPlaybackRateStepper)),
      replaced(kControlsOverlay, "initWithDelegate:", imp(&controlsOverlayInitWithDelegate),
               imp(saved::controlsOverlayInitWithDelegate), host.initWithDelegate),
      replaced(kControlsOverlay, "layoutSubviews", imp(&controlsOverlayLayoutSubviews),
               imp(saved::controlsOverlayLayoutSubviews), host.layoutSubviews),
      hasMethod(kControlsOverlay, "updatePlaybackRate",
                "v@:", imp(&controlsOverlayUpdatePlaybackRate)),
  };
}

Rows rows(int swipeRows, int stepperRows) {
  Rows result{};
  for (int i = 0; i < 12; ++i) result[i] = i < 4 ? i < swipeRows : i - 4 < stepperRows;
  return result;
}

}  // namespace

TEST(Initializer, TheSwitchesSelectTheRowsAndTheReloadIsAlwaysSubscribed) {
  struct Case {
    bool enabled, shown;
    Rows expected;
  };
  const Case cases[] = {
      {false, true, rows(0, 0)},  // the master switch suppresses the rate stepper too
      {true, false, rows(4, 0)},
      {true, true, rows(4, 8)},
  };
  for (const auto& c : cases) {
    for (auto format : test::kBothFormats) {
      std::string name = std::string("enabled ") + (c.enabled ? "on" : "off") + ", shown " +
                         (c.shown ? "on" : "off") + ", " + test::nameOf(format);
      test::runIsolated(name, [&] {
        SCOPED_TRACE(name);
        test::TempDeviceRoot root;
        fake::registerHost();
        HostImplementations host;
        test::writeSettings(root, format,
                            {{"enabledSwitch", plist_new_bool(c.enabled)},
                             {"showPlaybackRate", plist_new_bool(c.shown)}});
        glidepad::initialize();
        EXPECT_EQ(installedRows(host), c.expected);
        // The change notification reloads every value; the switches only matter at load.
        test::writeSettings(
            root, format,
            {{"enabledSwitch", plist_new_bool(!c.enabled)}, {"speed", plist_new_uint(123)}});
        support::announceSettings();
        EXPECT_EQ(glidepad::speed, 123);
        EXPECT_EQ(glidepad::enabledSwitch, !c.enabled);
        EXPECT_EQ(installedRows(host), c.expected);
      });
    }
  }
}

TEST(Initializer, ReplacementsReachTheHostsOwnWithReceiverAndArgumentsUnchanged) {
  test::runIsolated("replacements", [] {
    test::TempDeviceRoot root;  // no settings file: everything on
    fake::registerHost();
    HostImplementations host;
    glidepad::initialize();
    ASSERT_EQ(installedRows(host), rows(4, 8));

    auto overlayController = alloc_init<fake::OverlayController>();
    overlayController->fullscreen = true;
    EXPECT_TRUE(objc_msgSend<bool>(overlayController, selector<"isFullscreen">()));
    objc_msgSend(overlayController, selector<"viewDidLoad">());
    auto playerView = alloc<fake::PlayerView>();
    const CGRect frame{{1.5, -2}, {320.25, 180}};
    EXPECT_EQ(objc_msgSend<id>(playerView, selector<"initWithFrame:">(), frame), playerView);
    EXPECT_EQ(playerView->frame(), frame);
    auto playerController = alloc_init<fake::PlayerController>();
    auto varispeed = alloc_init<NSObject>();
    objc_msgSend(playerController, selector<"viewDidLoad">());
    objc_msgSend(playerController, selector<"varispeedSwitchController:didSelectRate:">(),
                 varispeed, 1.25f);
    auto controlsOverlay = alloc<fake::ControlsOverlay>();
    auto delegate = alloc_init<NSObject>();
    EXPECT_EQ(objc_msgSend<id>(controlsOverlay, selector<"initWithDelegate:">(), delegate),
              controlsOverlay);
    objc_msgSend(controlsOverlay, selector<"layoutSubviews">());

    std::vector<std::pair<std::string, const NSObject*>> seen;
    for (const auto& call : fake::calls) seen.emplace_back(call.member, call.receiver);
    const decltype(seen) expected = {
        {"isFullscreen", overlayController.get()}, {"overlay viewDidLoad", overlayController.get()},
        {"initWithFrame:", playerView.get()},      {"player viewDidLoad", playerController.get()},
        {"didSelectRate", playerController.get()}, {"initWithDelegate:", controlsOverlay.get()},
        {"layoutSubviews", controlsOverlay.get()},
    };
    ASSERT_EQ(seen, expected);
    EXPECT_EQ(fake::calls[2].frame, frame);
    EXPECT_EQ(fake::calls[4].object, varispeed);
    EXPECT_EQ(fake::calls[4].number, 1.25);
    EXPECT_EQ(fake::calls[5].object, delegate);
  });
}

TEST(Initializer, AHostThatLacksAClassOrHasAnAddedMemberKeepsTheOtherRows) {
  struct Case {
    const char* name;
    fake::HostOptions options;
    Rows expected;
  };
  Rows keepsItsOwn = rows(4, 8), noPlayerController = rows(4, 8);
  keepsItsOwn[11] = false;
  noPlayerController[4] = noPlayerController[5] = false;
  const Case cases[] = {
      {"existing updatePlaybackRate", {.controlsOverlayHasUpdatePlaybackRate = true}, keepsItsOwn},
      {"no controls overlay", {.withoutControlsOverlay = true}, rows(4, 2)},
      {"no player controller", {.withoutPlayerController = true}, noPlayerController},
  };
  for (const auto& c : cases) {
    test::runIsolated(c.name, [&] {
      test::TempDeviceRoot root;
      fake::registerHost(c.options);
      HostImplementations host;
      glidepad::initialize();
      EXPECT_EQ(installedRows(host), c.expected);
      test::writeSettings(root, test::PlistFormat::Binary, {{"topArea", plist_new_uint(2)}});
      support::announceSettings();
      EXPECT_EQ(glidepad::topArea, 2);
    });
  }
}

TEST(Initializer, AHostMemberOfAnotherSignatureIsRefusedLoudlyAtInstall) {
  test::runIsolated("double rate", [] {
    test::TempDeviceRoot root;
    fake::registerHost({.rateSelectionTakesDouble = true});
    HostImplementations host;
    try {
      glidepad::initialize();
      ADD_FAILURE() << "no exception";
    } catch (const NSException& e) {
      std::string what = e.what();
      EXPECT_EQ(e.name(), NSInvalidArgumentException);
      for (const char* part : {"-[YTPlayerViewController varispeedSwitchController:didSelectRate:]",
                               "\"v@:@d\"", "\"v@:@f\""}) {
        EXPECT_NE(what.find(part), std::string::npos) << what;
      }
    }
    EXPECT_EQ(installedRows(host), rows(4, 1));  // the rows before the refused one, none after
  });
}
