// Counts every allocation of the program, to show that touch handling makes none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "setup/Settings.h"

using host::YTMainAppVideoPlayerOverlayViewController;

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

TEST(TouchPath, VolumeAndSeekingMovesAndTheirStepsAllocateNothing) {
  using Overlay = YTMainAppVideoPlayerOverlayViewController;
  support::SettingsScope settings;
  glidepad::speed = 250;
  glidepad::activateAfter = 70;
  glidepad::topArea = 1;
  glidepad::bottomArea = 3;
  auto window = support::makeWindow(CGRectMake(0, 0, 375, 667));
  auto player = support::makePlayerView(CGRectMake(0, 0, 375, 200));
  window->addSubview(player);
  auto overlay = alloc_init<Overlay>();
  overlay->loadViewIfNeeded();  // the target of the seeks from now on
  UITouchDispatcher touch(window);
  MPVolumeSetSystemVolume_(0.5f);

  for (double y : {50.0, 150.0}) {  // the volume, then seeking
    SCOPED_TRACE(y);
    // Left then right, twice: the first makes what is made once (the volume view, the
    // selectors, the queue's room), the second is counted.
    for (bool counted : {false, true}) {
      float volume = MPVolumeSystemVolume_();
      uint64_t seeks = Overlay::backwardSeekCount() + Overlay::forwardSeekCount();
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
      if (y < 100) {
        EXPECT_NE(MPVolumeSystemVolume_(), volume);
      } else {
        EXPECT_GT(Overlay::backwardSeekCount() + Overlay::forwardSeekCount(), seeks + 10);
      }
    }
  }
}
