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
using host::YTPlayerView;

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

TEST(TouchPath, MovesAndTheirStepsAllocateNothing) {
  support::SettingsScope settings;
  glidepad::speed = 250;
  glidepad::activateAfter = 70;
  glidepad::topArea = 1;
  auto window = support::makeWindow(CGRectMake(0, 0, 375, 667));
  auto player = support::makePlayerView(CGRectMake(0, 0, 375, 200));
  window->addSubview(player);
  UITouchDispatcher touch(window);
  MPVolumeSetSystemVolume_(0.5f);

  // A first swipe makes what is made once: the volume view, the selectors, the queue's room.
  for (double direction : {-1.0, 1.0}) {
    touch.touchDown({200, 50});
    for (int i = 1; i <= 30; ++i) touch.touchMove({200 + direction * 5 * i, 50});
    touch.touchesUp();
    support::runMainQueue();
  }
  float before = MPVolumeSystemVolume_();

  touch.touchDown({200, 50});
  allocations = 0;
  counting = true;
  for (int i = 1; i <= 30; ++i) touch.touchMove({200 - 5.0 * i, 50});
  support::runMainQueue();
  for (int i = 1; i <= 30; ++i) touch.touchMove({50 + 5.0 * i, 50});
  support::runMainQueue();
  counting = false;
  touch.touchesUp();
  EXPECT_EQ(allocations, 0u);
  EXPECT_NE(MPVolumeSystemVolume_(), before);  // the moves did step the volume
  support::runMainQueue();
}

TEST(TouchPath, SeekingMovesAllocateNothing) {
  using Overlay = YTMainAppVideoPlayerOverlayViewController;
  support::SettingsScope settings;
  glidepad::speed = 250;
  glidepad::activateAfter = 70;
  glidepad::bottomArea = 3;
  auto window = support::makeWindow(CGRectMake(0, 0, 375, 667));
  auto player = support::makePlayerView(CGRectMake(0, 0, 375, 200));
  window->addSubview(player);
  auto overlay = alloc_init<Overlay>();
  overlay->loadViewIfNeeded();  // the target of the seeks from now on
  UITouchDispatcher touch(window);

  // A first swipe sends every message once.
  touch.touchDown({200, 150});
  for (int i = 1; i <= 30; ++i) touch.touchMove({200 - 5.0 * i, 150});
  for (int i = 1; i <= 30; ++i) touch.touchMove({50 + 5.0 * i, 150});
  touch.touchesUp();
  uint64_t seeksBefore = Overlay::backwardSeekCount() + Overlay::forwardSeekCount();

  touch.touchDown({200, 150});
  allocations = 0;
  counting = true;
  for (int i = 1; i <= 30; ++i) touch.touchMove({200 - 5.0 * i, 150});
  for (int i = 1; i <= 30; ++i) touch.touchMove({50 + 5.0 * i, 150});
  counting = false;
  touch.touchesUp();
  EXPECT_EQ(allocations, 0u);
  // The moves did seek, both ways.
  EXPECT_GT(Overlay::backwardSeekCount() + Overlay::forwardSeekCount(), seeksBefore + 10);
  EXPECT_GT(overlay->playbackPosition(), 0.0);
}
