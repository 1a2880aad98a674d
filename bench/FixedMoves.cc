#include "FixedMoves.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "AllocationCounter.h"
#include "HeldSwipe.h"
#include "UIKit/UIScreen.h"
#include "setup/Settings.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define GLIDEPAD_HAS_CALLGRIND 1
#endif

namespace bench {

namespace {

// Starts or stops callgrind's collection; nothing outside callgrind.
void toggleCollect() {
#ifdef GLIDEPAD_HAS_CALLGRIND
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"  // the request is written in GNU C
  CALLGRIND_TOGGLE_COLLECT;
#pragma GCC diagnostic pop
#endif
}

struct Path {
  const char* name;
  SwipeKind kind;
  Delivery delivery;
  bool direct;
};

constexpr Path kPaths[] = {
    {"whole-volume", SwipeKind::Volume, Delivery::Dispatcher, false},
    {"whole-seek", SwipeKind::Seek, Delivery::Dispatcher, false},
    {"share-volume", SwipeKind::Volume, Delivery::Recognizer, false},
    {"share-seek", SwipeKind::Seek, Delivery::Recognizer, false},
    {"direct", SwipeKind::Volume, Delivery::Recognizer, true},
};

int runSwipe(const Path& path, unsigned long moves) {
  HeldSwipe swipe(path.kind, path.delivery);
  if (!swipe.isChanged()) {
    std::fprintf(stderr, "glidepad-bench: the swipe did not reach its Changed state\n");
    return 1;
  }
  size_t allocations = 0;
  for (unsigned long done = 0; done < moves;) {
    size_t before = allocationCount();
    toggleCollect();
    for (size_t i = 0; i < HeldSwipe::kDrainEvery && done < moves; ++i, ++done) swipe.move();
    toggleCollect();
    allocations += allocationCount() - before;
    swipe.drain();
  }
  std::printf("%s: %lu moves, %llu steps, %zu allocations\n", path.name, moves,
              static_cast<unsigned long long>(swipe.steps()), allocations);
  return swipe.isChanged() ? 0 : 1;
}

int runDirect(unsigned long moves) {
  DirectSwipe swipe(UIScreen::mainScreen()->bounds().size.width, glidepad::speed);
  size_t next = 0;
  int sum = 0;
  toggleCollect();
  for (unsigned long done = 0; done < moves; ++done) {
    sum += swipe.move(swipeX(next));
    if (++next == kSwipeCycle) next = 0;
  }
  toggleCollect();
  std::printf("direct: %lu moves, %llu steps (net %d)\n", moves,
              static_cast<unsigned long long>(swipe.steps()), sum);
  return 0;
}

}  // namespace

std::optional<int> runFixedMoves(int argc, char** argv) {
  constexpr const char* kFlag = "--moves=";
  const char* value = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, std::strlen(kFlag)) == 0) value = argv[i] + std::strlen(kFlag);
  }
  if (value == nullptr) return std::nullopt;
  const char* colon = std::strchr(value, ':');
  char* end = nullptr;
  unsigned long moves = colon ? std::strtoul(colon + 1, &end, 10) : 0;
  if (colon == nullptr || end == colon + 1 || *end != '\0') {
    std::fprintf(stderr, "glidepad-bench: expected --moves=PATH:N\n");
    return 2;
  }
  std::string name(value, colon);
  for (const auto& path : kPaths) {
    if (name != path.name) continue;
    return path.direct ? runDirect(moves) : runSwipe(path, moves);
  }
  std::fprintf(stderr, "glidepad-bench: unknown path \"%s\"\n", name.c_str());
  return 2;
}

}  // namespace bench
