// Counts every allocation of the program, to show that touch handling makes none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <utility>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "dispatch/dispatch.h"
#include "support/Players.h"

namespace {

bool counting = false;
size_t allocations = 0;

}  // namespace

void* operator new(size_t size) {
  if (counting) ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }

using Overlay = host::YTMainAppVideoPlayerOverlayViewController;

uint64_t seekCount() { return Overlay::backwardSeekCount() + Overlay::forwardSeekCount(); }

TEST(TouchPath, VolumeBrightnessAndSeekingMovesAndTheirStepsAllocateNothing) {
  support::SettingsScope settings;
  glidepad::showFeedback = false;  // a step's new text is the feedback view's, below
  // The gesture options on, each with its own work per touch or per step.
  glidepad::deadZone = 10;
  glidepad::fullscreenOnly = true;
  glidepad::restoreBrightness = true;
  glidepad::volumeSpeed = 300;
  glidepad::seekSpeed = 200;
  glidepad::doubleTapSeek = 3;  // the swipes begin in the middle third: the tap stays off them
  glidepad::holdRate = 2;       // the hold watches them, and fails as they move
  support::Players players;
  players.open({375, 200}).overlayController->setFullscreen(YES);
  UITouchDispatcher& touch = players.touches();
  MPVolumeSetSystemVolume_(0.5f);

  // The volume, seeking, then the brightness.
  for (auto [y, top] : {std::pair{50.0, 1}, {150.0, 1}, {50.0, 2}}) {
    SCOPED_TRACE(y);
    glidepad::topArea = top;
    // Left then right, twice: the first makes what is made once (the volume view, the
    // selectors, the queue's room), the second is counted.
    for (bool counted : {false, true}) {
      float volume = MPVolumeSystemVolume_();
      uint64_t seeks = seekCount();
      size_t brightnessSteps = testsupport::brightnessValuesSet.size();
      touch.touchDown({200, y});
      allocations = 0;
      counting = counted;
      for (int i = 1; i <= 30; ++i) touch.touchMove({200 - 5.0 * i, y});
      support::runMainQueue();
      for (int i = 1; i <= 30; ++i) touch.touchMove({50 + 5.0 * i, y});
      support::runMainQueue();
      counting = false;
      touch.touchesUp();
      EXPECT_EQ(allocations, 0u);
      // The moves did step, both ways.
      if (top == 2) {
        EXPECT_GT(testsupport::brightnessValuesSet.size(), brightnessSteps + 10);
      } else if (y < 100) {
        EXPECT_NE(MPVolumeSystemVolume_(), volume);
      } else {
        EXPECT_GT(seekCount(), seeks + 10);
      }
    }
  }
}

// With the feedback view shown, a step may make its new text (one string), and a move that does
// not step still makes nothing. A point of travel is about a third of a step.
TEST(TouchPath, WithTheFeedbackShownOnlyAStepsNewTextAllocates) {
  support::SettingsScope settings;
  glidepad::haptics = true;
  support::Players players;
  players.open({375, 200});
  UITouchDispatcher& touch = players.touches();
  MPVolumeSetSystemVolume_(0.5f);
  for (double y : {50.0, 180.0}) {  // below the stepper
    SCOPED_TRACE(y);
    for (bool counted : {false, true}) {
      touch.touchDown({250, y});
      int stillMoves = 0;
      for (int i = 1; i <= 150; ++i) {
        size_t pending = dispatch_main_queue_pending_count();
        uint64_t seeks = seekCount();
        allocations = 0;
        counting = counted;
        touch.touchMove({250 - 1.0 * i, y});
        counting = false;
        bool stepped = dispatch_main_queue_pending_count() != pending || seekCount() != seeks;
        stillMoves += !stepped;
        EXPECT_LE(allocations, stepped ? 1u : 0u) << "move " << i;
      }
      allocations = 0;
      counting = counted;
      support::runMainQueue(20 * NSEC_PER_MSEC);  // the volume steps land, each with its text
      counting = false;
      EXPECT_LE(allocations, y < 100 ? 50u : 0u);
      EXPECT_GT(stillMoves, 80);
      touch.touchesUp();
      support::runMainQueue();
    }
  }
}

// A hold's begin selects the rate (the host's notification allocates), but its moves make nothing.
TEST(TouchPath, AHeldFingersMovesAllocateNothing) {
  support::SettingsScope settings;
  glidepad::holdRate = 2;
  glidepad::doubleTapSeek = 3;
  support::Players players;
  auto& player = players.open({375, 200});
  UITouchDispatcher& touch = players.touches();
  touch.touchDown({40, 50});  // in the left third, so the tap watches as well
  support::runMainQueue(500 * NSEC_PER_MSEC);
  ASSERT_EQ(player.playerController->playbackRate(), 2.0f);
  allocations = 0;
  counting = true;
  for (int i = 1; i <= 30; ++i) touch.touchMove({40 + 5.0 * i, 50});
  counting = false;
  EXPECT_EQ(allocations, 0u);
  touch.touchesUp();
  EXPECT_EQ(player.playerController->playbackRate(), 1.0f);
}
