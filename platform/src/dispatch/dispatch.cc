#include "dispatch/dispatch.h"

#include <algorithm>
#include <vector>

struct dispatch_queue_s {
  const char* label;
};

namespace {

// A queued block's place in the deadline order. The block itself stays in its slot from
// submission until it runs, so that keeping the order moves only these small entries.
struct Due {
  dispatch_time_t deadline;
  uint64_t order;
  uint32_t slot;
};

struct MainQueue {
  dispatch_queue_s queue{"com.apple.main-thread"};
  dispatch_time_t now = 0;
  uint64_t submitted = 0;
  bool advancing = false;
  std::vector<Due> heap;  // a min-heap by (deadline, order)
  std::vector<dispatch_block> slots;
  std::vector<uint32_t> freeSlots;
  MainQueue() {
    heap.reserve(64);
    slots.reserve(64);
    freeSlots.reserve(64);
  }
};

MainQueue& mainQueue() {
  static auto* queue = new MainQueue;
  return *queue;
}

bool later(const Due& a, const Due& b) {
  return a.deadline != b.deadline ? a.deadline > b.deadline : a.order > b.order;
}

}  // namespace

dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta) {
  if (when == DISPATCH_TIME_FOREVER) return DISPATCH_TIME_FOREVER;
  dispatch_time_t base = when == DISPATCH_TIME_NOW ? mainQueue().now : when;
  if (delta >= 0) {
    auto forward = static_cast<uint64_t>(delta);
    return forward >= DISPATCH_TIME_FOREVER - base ? DISPATCH_TIME_FOREVER - 1 : base + forward;
  }
  // The magnitude of a negative int64_t, without negating INT64_MIN.
  uint64_t back = ~static_cast<uint64_t>(delta) + 1;
  return back >= base ? 0 : base - back;
}

dispatch_queue_t dispatch_get_main_queue() { return &mainQueue().queue; }

void dispatch_after_block(dispatch_time_t when, dispatch_queue_t queue, dispatch_block block) {
  dispatch_after_cancellable_(when, queue, std::move(block));
}

uint64_t dispatch_after_cancellable_(dispatch_time_t when, dispatch_queue_t queue,
                                     dispatch_block block) {
  auto& main = mainQueue();
  if (queue != &main.queue || when == DISPATCH_TIME_FOREVER || !block) return 0;
  dispatch_time_t deadline = when == DISPATCH_TIME_NOW ? main.now : when;
  uint32_t slot;
  if (main.freeSlots.empty()) {
    slot = static_cast<uint32_t>(main.slots.size());
    main.slots.push_back(std::move(block));
  } else {
    slot = main.freeSlots.back();
    main.freeSlots.pop_back();
    main.slots[slot] = std::move(block);
  }
  uint64_t order = main.submitted++;
  main.heap.push_back(Due{deadline, order, slot});
  std::push_heap(main.heap.begin(), main.heap.end(), later);
  return order + 1;
}

void dispatch_cancel_(uint64_t handle) {
  auto& main = mainQueue();
  auto found = std::find_if(main.heap.begin(), main.heap.end(),
                            [handle](const Due& due) { return due.order + 1 == handle; });
  if (handle == 0 || found == main.heap.end()) return;
  uint32_t slot = found->slot;
  main.heap.erase(found);
  std::make_heap(main.heap.begin(), main.heap.end(), later);
  // Destroyed here, not when the slot is next taken: the work's captures go with the timer.
  main.slots[slot] = dispatch_block();
  main.freeSlots.push_back(slot);
}

dispatch_time_t dispatch_main_clock_now() { return mainQueue().now; }

void dispatch_main_clock_advance_to(dispatch_time_t time) {
  auto& main = mainQueue();
  if (main.advancing) return;
  struct Advancing {
    bool& flag;
    explicit Advancing(bool& f) : flag(f) { flag = true; }
    ~Advancing() { flag = false; }
  } advancing(main.advancing);
  dispatch_time_t target = std::max(time, main.now);
  while (!main.heap.empty() && main.heap.front().deadline <= target) {
    std::pop_heap(main.heap.begin(), main.heap.end(), later);
    Due due = main.heap.back();
    main.heap.pop_back();
    // Out of its slot before it runs: the block may queue more work, which may take the slot.
    dispatch_block block = std::move(main.slots[due.slot]);
    main.freeSlots.push_back(due.slot);
    main.now = std::max(main.now, due.deadline);
    block();
  }
  main.now = target;
}

size_t dispatch_main_queue_pending_count() { return mainQueue().heap.size(); }
