// Deferred work on the main queue, as libdispatch offers it, on a clock that the host process
// drives.
//
// Time is virtual: `dispatch_main_clock_now` starts at 0 and moves only when the host process
// advances it (to the wall clock in an interactive session, step by step in tests and scripts),
// and nothing ever sleeps. Work whose time has come runs on the advance that reaches its time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

// Nanoseconds on the main-queue clock; DISPATCH_TIME_NOW stands for the clock's reading when used.
using dispatch_time_t = uint64_t;
inline constexpr dispatch_time_t DISPATCH_TIME_NOW = 0;
inline constexpr dispatch_time_t DISPATCH_TIME_FOREVER = ~uint64_t{0};
inline constexpr uint64_t NSEC_PER_SEC = 1000000000;
inline constexpr uint64_t NSEC_PER_MSEC = 1000000;
inline constexpr uint64_t NSEC_PER_USEC = 1000;

struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;

// `when` (or now, for DISPATCH_TIME_NOW) moved by `delta` nanoseconds, kept within the clock's
// range; DISPATCH_TIME_FOREVER stays forever.
dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);

dispatch_queue_t dispatch_get_main_queue();

// A block: any callable taking nothing, kept by value. Small captures are held inline, so
// queueing a block that captures a few words allocates nothing.
class dispatch_block {
 public:
  static constexpr size_t kInlineSize = 48;

  dispatch_block() = default;
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, dispatch_block>>>
  explicit dispatch_block(F&& function) {
    using Fn = std::decay_t<F>;
    if constexpr (sizeof(Fn) <= kInlineSize && alignof(Fn) <= alignof(std::max_align_t) &&
                  std::is_nothrow_move_constructible_v<Fn>) {
      ::new (static_cast<void*>(storage_)) Fn(std::forward<F>(function));
      ops_ = &kInlineOps<Fn>;
    } else {
      ::new (static_cast<void*>(storage_)) Fn*(new Fn(std::forward<F>(function)));
      ops_ = &kHeapOps<Fn>;
    }
  }
  dispatch_block(dispatch_block&& other) noexcept { take(other); }
  dispatch_block& operator=(dispatch_block&& other) noexcept {
    if (this != &other) {
      clear();
      take(other);
    }
    return *this;
  }
  dispatch_block(const dispatch_block&) = delete;
  dispatch_block& operator=(const dispatch_block&) = delete;
  ~dispatch_block() { clear(); }

  explicit operator bool() const { return ops_ != nullptr; }
  void operator()() { ops_->invoke(storage_); }

 private:
  struct Ops {
    void (*invoke)(void* storage);
    void (*move)(void* from, void* to) noexcept;
    void (*destroy)(void* storage) noexcept;
  };
  template <class Fn>
  static constexpr Ops kInlineOps = {[](void* s) { (*static_cast<Fn*>(s))(); },
                                     [](void* from, void* to) noexcept {
                                       ::new (to) Fn(std::move(*static_cast<Fn*>(from)));
                                       static_cast<Fn*>(from)->~Fn();
                                     },
                                     [](void* s) noexcept { static_cast<Fn*>(s)->~Fn(); }};
  template <class Fn>
  static constexpr Ops kHeapOps = {
      [](void* s) { (**static_cast<Fn**>(s))(); },
      [](void* from, void* to) noexcept { ::new (to) Fn*(*static_cast<Fn**>(from)); },
      [](void* s) noexcept { delete *static_cast<Fn**>(s); }};

  void take(dispatch_block& other) noexcept {
    if (other.ops_ == nullptr) return;
    other.ops_->move(other.storage_, storage_);
    ops_ = other.ops_;
    other.ops_ = nullptr;
  }
  void clear() noexcept {
    if (ops_ != nullptr) ops_->destroy(storage_);
    ops_ = nullptr;
  }

  alignas(std::max_align_t) unsigned char storage_[kInlineSize];
  const Ops* ops_ = nullptr;
};

using dispatch_block_t = dispatch_block;

void dispatch_after_block(dispatch_time_t when, dispatch_queue_t queue, dispatch_block block);

// Runs `block` on `queue` once the clock reaches `when`. Work queued for DISPATCH_TIME_FOREVER,
// or on no queue, never runs.
template <class F>
void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, F&& block) {
  dispatch_after_block(when, queue, dispatch_block(std::forward<F>(block)));
}

// For the platform only: `dispatch_after` that answers a handle (never 0) for the work, and the
// handle's work taken off the queue unrun, as the device's timers are invalidated. Cancelling
// work that ran or was cancelled already, or handle 0, does nothing.
uint64_t dispatch_after_cancellable_(dispatch_time_t when, dispatch_queue_t queue,
                                     dispatch_block block);
void dispatch_cancel_(uint64_t handle);

// For the host process only: the main-queue clock.
dispatch_time_t dispatch_main_clock_now();
// Moves the clock forward to `time` (never back), running the work that falls due on the way in
// deadline order, work of equal deadline in the order it was queued; the clock reads each piece's
// deadline while it runs. Work queued meanwhile that falls due by `time` runs too. An advance
// asked for by running work is ignored.
void dispatch_main_clock_advance_to(dispatch_time_t time);
// The work queued and not yet run.
size_t dispatch_main_queue_pending_count();
