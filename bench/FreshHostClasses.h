// Copies of the host's four grafted classes under new names, so that the graft installation,
// which nothing undoes, can be repeated: each copy has the host class's superclass and the host's
// own methods, as the host's classes had them before the library loaded.
#pragma once

#include <string>

#include "setup/Initializer.h"
#include "setup/SavedImplementations.h"

namespace bench {

// Takes the host classes' methods as they are; run once, after the host registered its classes
// and before the library's initialiser replaces any of them.
void recordHostClasses();

// Registers a fresh copy of each class under names made from `serial`, which must be new.
class FreshHostClasses {
 public:
  explicit FreshHostClasses(unsigned serial);
  glidepad::GraftClasses names() const;
  // The copy of the player view has the swipe action the installation adds.
  bool grafted() const;

 private:
  std::string overlayController_;
  std::string playerView_;
  std::string playerController_;
  std::string controlsOverlay_;
};

// The saved host implementations, put back after an installation on fresh classes so that the
// host's grafted classes go on calling the host's own code. (A fresh class hands the slots the
// host's own implementations again, so this only guards against a change of that.)
class SavedSlots {
 public:
  SavedSlots();
  void restore() const;

 private:
  decltype(glidepad::saved::overlayControllerIsFullscreen) overlayControllerIsFullscreen_;
  decltype(glidepad::saved::overlayControllerViewDidLoad) overlayControllerViewDidLoad_;
  decltype(glidepad::saved::playerViewInitWithFrame) playerViewInitWithFrame_;
  decltype(glidepad::saved::playerControllerViewDidLoad) playerControllerViewDidLoad_;
  decltype(glidepad::saved::playerControllerDidSelectRate) playerControllerDidSelectRate_;
  decltype(glidepad::saved::controlsOverlayInitWithDelegate) controlsOverlayInitWithDelegate_;
  decltype(glidepad::saved::controlsOverlayLayoutSubviews) controlsOverlayLayoutSubviews_;
};

}  // namespace bench
