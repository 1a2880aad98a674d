// Counts every allocation of the program, to show that touch handling makes none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
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

TEST(TouchPath, VolumeAndSeekingMovesAndTheirStepsAllocateNothing) {
  using Overlay = host::YTMainAppVideoPlayerOverlayViewController;
  support::Players players;  // with the default settings, which every other test puts back
  players.open({375, 200});  // its overlay controller, the target of the seeks from now on
  UITouchDispatcher& touch = players.touches();
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
