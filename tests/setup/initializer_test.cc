#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "Foundation/NSString.h"
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

using test::PlistFormat;

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

std::array<bool, 12> rows(int swipeRows, int stepperRows) {
  std::array<bool, 12> result{};
  for (int i = 0; i < 12; ++i) result[i] = i < 4 ? i < swipeRows : i - 4 < stepperRows;
  return result;
}

}  // namespace

TEST(Initializer, TheSwitchesSelectTheRowsAndTheReloadIsAlwaysSubscribed) {
  struct Case {
    bool enabled;
    bool shown;
    std::array<bool, 12> expected;
  };
  const Case cases[] = {
      {false, true, rows(0, 0)},  // the master switch suppresses the rate stepper too
      {false, false, rows(0, 0)},
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
        EXPECT_EQ(glidepad::enabledSwitch, c.enabled);
        EXPECT_EQ(glidepad::showPlaybackRate, c.shown);
        EXPECT_EQ(installedRows(host), c.expected);
        if (c.enabled && c.shown) {
          // Added in table order after the class's own members.
          unsigned count = 0;
          Method* methods = class_copyMethodList(objc_getClass(kControlsOverlay), &count);
          std::string names;
          for (unsigned i = 0; i < count; ++i) {
            names += std::string(sel_getName(method_getName(methods[i]))) + " ";
          }
          delete[] methods;
          EXPECT_EQ(names,
                    "initWithDelegate: layoutSubviews playPauseButton playbackRateStepper "
                    "setPlaybackRateStepper: updatePlaybackRate ");
        }

        // The change notification reloads every value; the switches only matter at load.
        test::writeSettings(root, format,
                            {{"enabledSwitch", plist_new_bool(!c.enabled)},
                             {"showPlaybackRate", plist_new_bool(!c.shown)},
                             {"speed", plist_new_uint(123)}});
        support::announceSettings();
        EXPECT_EQ(glidepad::speed, 123);
        EXPECT_EQ(glidepad::enabledSwitch, !c.enabled);
        EXPECT_EQ(glidepad::showPlaybackRate, !c.shown);
        EXPECT_EQ(installedRows(host), c.expected);
        root.remove(glidepad::kSettingsPath);
        support::announceSettings();
        EXPECT_EQ(glidepad::speed, 250);
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
    for (bool fullscreen : {true, false}) {
      overlayController->fullscreen = fullscreen;
      EXPECT_EQ(objc_msgSend<bool>(overlayController, selector<"isFullscreen">()), fullscreen);
    }
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

    auto calledAs = [](const std::string& member) -> const fake::Call* {
      for (const auto& call : fake::calls) {
        if (call.member == member) return &call;
      }
      ADD_FAILURE() << member << " never reached the host";
      return nullptr;
    };
    size_t fullscreenCalls = 0;
    for (const auto& call : fake::calls) fullscreenCalls += call.member == "isFullscreen";
    EXPECT_EQ(fullscreenCalls, 2u);
    if (auto* call = calledAs("isFullscreen")) {
      EXPECT_EQ(call->receiver, overlayController.get());
    }
    if (auto* call = calledAs("overlay viewDidLoad")) {
      EXPECT_EQ(call->receiver, overlayController.get());
    }
    if (auto* call = calledAs("initWithFrame:")) {
      EXPECT_EQ(call->receiver, playerView.get());
      EXPECT_EQ(call->frame, frame);
    }
    if (auto* call = calledAs("player viewDidLoad")) {
      EXPECT_EQ(call->receiver, playerController.get());
    }
    if (auto* call = calledAs("didSelectRate")) {
      EXPECT_EQ(call->receiver, playerController.get());
      EXPECT_EQ(call->object, varispeed);
      EXPECT_EQ(call->number, 1.25);
    }
    if (auto* call = calledAs("initWithDelegate:")) {
      EXPECT_EQ(call->receiver, controlsOverlay.get());
      EXPECT_EQ(call->object, delegate);
    }
    if (auto* call = calledAs("layoutSubviews")) {
      EXPECT_EQ(call->receiver, controlsOverlay.get());
    }

    // The added property's accessors hold the stepper strongly.
    std::weak_ptr<NSObject> watch;
    {
      auto stepper = alloc_init<UIView>();
      watch = stepper;
      objc_msgSend(controlsOverlay, selector<"setPlaybackRateStepper:">(), stepper);
    }
    EXPECT_EQ(objc_msgSend<id>(controlsOverlay, selector<"playbackRateStepper">()), watch.lock());
    EXPECT_FALSE(watch.expired());
  });
}

TEST(Initializer, AHostThatHasAnAddedMemberKeepsItsOwn) {
  test::runIsolated("existing updatePlaybackRate", [] {
    test::TempDeviceRoot root;
    fake::registerHost({.controlsOverlayHasUpdatePlaybackRate = true});
    IMP own = ownImplementation(kControlsOverlay, "updatePlaybackRate");
    ASSERT_NE(own, nullptr);
    HostImplementations host;
    glidepad::initialize();
    auto installed = installedRows(host);
    EXPECT_EQ(installed, []() {
      auto expected = rows(4, 8);
      expected[11] = false;
      return expected;
    }());
    EXPECT_EQ(ownImplementation(kControlsOverlay, "updatePlaybackRate"), own);
    auto overlay = alloc<fake::ControlsOverlay>();
    objc_msgSend(overlay, selector<"updatePlaybackRate">());
    ASSERT_EQ(fake::calls.size(), 1u);
    EXPECT_EQ(fake::calls[0].member, "host updatePlaybackRate");
  });
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
      EXPECT_NE(what.find("-[YTPlayerViewController varispeedSwitchController:didSelectRate:]"),
                std::string::npos)
          << what;
      EXPECT_NE(what.find("\"v@:@d\""), std::string::npos) << what;
      EXPECT_NE(what.find("\"v@:@f\""), std::string::npos) << what;
    }
    // The rows before the refused one are in place, none after it.
    auto installed = installedRows(host);
    EXPECT_EQ(installed, rows(4, 1));
  });
}

// The table's last class, and the first of the stepper's, whose later class keeps its rows.
TEST(Initializer, AClassTheHostLacksIsSkippedWithItsRowsAlone) {
  for (bool lastClass : {true, false}) {
    test::runIsolated(lastClass ? "no controls overlay" : "no player controller", [lastClass] {
      test::TempDeviceRoot root;
      fake::registerHost(
          {.withoutControlsOverlay = lastClass, .withoutPlayerController = !lastClass});
      HostImplementations host;
      glidepad::initialize();
      auto expected = rows(4, lastClass ? 2 : 8);
      if (!lastClass) expected[4] = expected[5] = false;
      EXPECT_EQ(installedRows(host), expected);
      test::writeSettings(root, PlistFormat::Binary, {{"topArea", plist_new_uint(2)}});
      support::announceSettings();
      EXPECT_EQ(glidepad::topArea, 2);
    });
  }
}
