#include "sim/Engine.h"

#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIFeedbackGenerator.h"
#include "UIKit/UILabel.h"
#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIScreen.h"
#include "dispatch/dispatch.h"
#include "host/App.h"
#include "host/Host.h"
#include "sim/DecimalText.h"
#include "sim/KnownSettings.h"
#include "sim/SettingsFile.h"
#include "sim/Snapshot.h"

namespace sim {

namespace {

constexpr double kTolerance = 1e-6;
// The platform reads at most this much of a settings file, so a larger copy could never be read.
constexpr uintmax_t kMaxSettingsFileBytes = uintmax_t(64) << 20;

std::string number(double value) { return shortestDecimal(value); }
std::string number(float value) { return shortestDecimal(value); }

// Levels the system holds in single precision (a brightness a step set, the volume) as floats;
// any other level, such as a script's `brightness 0.3`, as the double it is.
std::string level(double value) {
  return heldAsFloat(value) ? shortestDecimal(static_cast<float>(value)) : shortestDecimal(value);
}

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

const char* libraryPath() {
  const char* path = std::getenv("GLIDEPAD_LIBRARY");
  return path && *path ? path : GLIDEPAD_LIBRARY_PATH;
}

Ref<UIView> stepperOf(const Ref<UIView>& overlay) {
  if (!overlay || !overlay->respondsToSelector(selector<"playbackRateStepper">())) return nullptr;
  return objc_cast<UIView>(objc_msgSend<id>(overlay, selector<"playbackRateStepper">()));
}

Ref<UILabel> labelOf(const Ref<UIView>& stepper) {
  if (!stepper) return nullptr;
  for (const auto& child : stepper->subviews()) {
    if (auto label = objc_cast<UILabel>(child)) return label;
  }
  return nullptr;
}

Ref<UIButton> buttonOf(const Ref<UIView>& stepper, const char* title) {
  if (!stepper) return nullptr;
  for (const auto& child : stepper->subviews()) {
    auto button = objc_cast<UIButton>(child);
    if (!button) continue;
    auto text = button->titleForState(UIControlStateNormal);
    if (text && text->string() == title) return button;
  }
  return nullptr;
}

// A view and every view above it shown, as a finger needs to reach it.
bool shown(const Ref<UIView>& view) {
  for (auto v = view; v; v = v->superview()) {
    if (v->isHidden() || v->alpha() < 0.01) return false;
  }
  return true;
}

bool within(Ref<UIView> view, const Ref<UIView>& ancestor) {
  for (; view; view = view->superview()) {
    if (view == ancestor) return true;
  }
  return false;
}

ButtonPlace placeOf(const Ref<UIButton>& button, const Ref<UIView>& playerView) {
  if (!button) return {};
  CGPoint origin = button->convertPointToView({0, 0}, playerView);
  CGSize size = button->bounds().size;
  return {origin.x, origin.y, size.width, size.height, shown(button)};
}

std::string labelText(const Ref<UILabel>& label) {
  auto text = label ? label->text() : nullptr;
  return text ? text->string() : "";
}

// The library's feedback view over a player view, found by its class's name: the simulator knows
// the library only as the device's own tools would.
Ref<UIView> feedbackViewOf(const Ref<UIView>& playerView) {
  if (!playerView) return nullptr;
  for (const auto& child : playerView->subviews()) {
    if (std::string_view(class_getName(object_getClass(child))) == "GLPFeedbackView") return child;
  }
  return nullptr;
}

// The feedback view's text while it is shown; nothing while it is hidden or absent.
std::optional<std::string> shownHudText(const Ref<UIView>& playerView) {
  auto view = feedbackViewOf(playerView);
  if (!view || !shown(view)) return std::nullopt;
  return labelText(labelOf(view));
}

// Whether a long press on the player view is under way: the library's hold, seen as the device's
// tools would see it.
bool isHeld(const Ref<UIView>& playerView) {
  if (!playerView) return false;
  for (const auto& recognizer : playerView->gestureRecognizers()) {
    auto state = recognizer->state();
    bool underWay =
        state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged;
    if (underWay && objc_cast<UILongPressGestureRecognizer>(recognizer)) return true;
  }
  return false;
}

}  // namespace

struct Engine::OpenPlayer {
  int64_t number = 0;
  std::unique_ptr<host::Player> player;
  std::vector<std::pair<float, std::string>> rates;
  std::string loggedLabel;
  bool loggedControlsShown = true;
  std::optional<std::string> loggedHud;
  bool loggedHold = false;
};

Engine::Engine(DeviceRoot& device, std::ostream* log, std::ostream& errors, std::string scriptName)
    : device_(device), log_(log), errors_(errors), scriptName_(std::move(scriptName)) {
  for (const auto& option : host::defaultRateOptions())
    rates_.push_back({option.rate, option.title});
  UIScreen::mainScreen()->setBrightness(0.5);
  MPVolumeSetSystemVolume_(0.5f);
  loggedVolume_ = 0.5;
  loggedBrightness_ = 0.5;
  rateSelections_.reserve(16);
  auto played = UIFeedbackGeneratorPlayed_();
  loggedTicks_ = ticksAtLaunch_ = played.selections;
  loggedLimits_ = limitsAtLaunch_ = played.impacts;
  NSSetDeviceReadObserver_(&Engine::noteRead, this);
}

Engine::~Engine() { NSSetDeviceReadObserver_(nullptr, nullptr); }

void Engine::noteRead(std::string_view devicePath, bool read, void* context) {
  auto& engine = *static_cast<Engine*>(context);
  if (devicePath != kSettingsPath || engine.readingOwnSettings_) return;
  engine.logLine(read ? "settings file read" : "settings file read: none there");
}

double Engine::nowMs() const {
  return static_cast<double>(dispatch_main_clock_now()) / static_cast<double>(NSEC_PER_MSEC);
}

void Engine::logLine(const std::string& text) {
  if (log_ == nullptr) return;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%9.3f ms  ", nowMs());
  *log_ << stamp << printable(text) << "\n";
}

void Engine::logHaptics() {
  auto played = UIFeedbackGeneratorPlayed_();
  for (; loggedTicks_ < played.selections; ++loggedTicks_) logLine("haptic tick");
  for (; loggedLimits_ < played.impacts; ++loggedLimits_) logLine("haptic limit");
}

void Engine::pollChanges() {
  logRateSelections();
  logHaptics();
  float volume = MPVolumeSystemVolume_();
  if (volume != loggedVolume_) {
    logLine("volume " + level(loggedVolume_) + " -> " + number(volume));
    loggedVolume_ = volume;
  }
  double brightness = UIScreen::mainScreen()->brightness();
  if (brightness != loggedBrightness_) {
    logLine("brightness " + level(loggedBrightness_) + " -> " + level(brightness));
    loggedBrightness_ = brightness;
  }
  if (!app_) return;
  auto seeks = app_->seekCounts();
  if (seeks.backward != loggedBackward_ || seeks.forward != loggedForward_) {
    for (; loggedBackward_ < seeks.backward; ++loggedBackward_) logLine("seek backward 10 s");
    for (; loggedForward_ < seeks.forward; ++loggedForward_) logLine("seek forward 10 s");
    loggedBackward_ = seeks.backward;
    loggedForward_ = seeks.forward;
  }
  if (pollEveryPlayer_) {
    pollEveryPlayer_ = false;
    for (auto& [number, open] : players_) pollPlayer(number, *open);
  } else if (auto found = players_.find(roster_.current()); found != players_.end()) {
    pollPlayer(found->first, *found->second);
  }
}

void Engine::pollPlayer(int64_t number, OpenPlayer& open) {
  auto label = labelOf(stepperOf(open.player->controlsOverlay));
  std::string text = labelText(label);
  if (label && text != open.loggedLabel) {
    logLine("player " + std::to_string(number) + " label " + inQuotes(text));
  }
  open.loggedLabel = text;
  auto button =
      open.player->controlsOverlay ? open.player->controlsOverlay->playPauseButton() : nullptr;
  bool shown = button && !button->isHidden();
  if (shown != open.loggedControlsShown) {
    logLine("player " + std::to_string(number) + " controls " + (shown ? "shown" : "hidden"));
    open.loggedControlsShown = shown;
  }
  bool holding = isHeld(open.player->playerView);
  if (holding != open.loggedHold) {
    logLine("player " + std::to_string(number) + " hold " + (holding ? "began" : "ended"));
    open.loggedHold = holding;
  }
  auto hud = shownHudText(open.player->playerView);
  if (hud != open.loggedHud) {
    logLine("player " + std::to_string(number) + " hud " + (hud ? inQuotes(*hud) : "hidden"));
    open.loggedHud = hud;
  }
}

// The host hears only a rate, and several options may share it; the one selected is the one whose
// title the current player's stepper shows then (a tapped stepper shows the option it selected),
// else the first with that rate, which is the one the host's own menu and the relabelling name.
void Engine::logRateSelections() {
  if (rateSelections_.empty()) return;
  auto current = players_.find(roster_.current());
  std::string shownTitle =
      current == players_.end()
          ? ""
          : labelText(labelOf(stepperOf(current->second->player->controlsOverlay)));
  for (const auto& [player, rate] : rateSelections_) {
    std::string title;
    auto found = players_.find(player);
    if (found != players_.end()) {
      bool named = false;
      for (const auto& [r, t] : found->second->rates) {
        if (r != rate) continue;
        if (!named || t == shownTitle) title = " " + inQuotes(t);
        named = true;
        if (t == shownTitle) break;
      }
    }
    logLine("player " + std::to_string(player) + " rate " + number(rate) + title);
  }
  rateSelections_.clear();
}

void Engine::advance(double ms) {
  if (!(ms >= 0) || ms > kMaxClockMs - nowMs()) {
    throw RunError(scriptName_ + ": the clock would pass " + number(kMaxClockMs) + " ms");
  }
  dispatch_time_t target =
      dispatch_main_clock_now() + static_cast<dispatch_time_t>(std::llround(ms * NSEC_PER_MSEC));
  // Step a millisecond at a time while work is queued, so that the log gives each effect the
  // time at which it happened.
  while (dispatch_main_clock_now() < target) {
    if (dispatch_main_queue_pending_count() == 0) {
      dispatch_main_clock_advance_to(target);
      break;
    }
    dispatch_main_clock_advance_to(std::min(target, dispatch_main_clock_now() + NSEC_PER_MSEC));
    pollChanges();
  }
  pollChanges();
}

void Engine::touchEvent() {
  pollChanges();
  advance(kEventSpacingMs);
}

Engine::OpenPlayer& Engine::current() {
  auto found = players_.find(roster_.current());
  if (found == players_.end()) throw RunError(scriptName_ + ": no player is open");
  return *found->second;
}

// The window shows the current player alone.
void Engine::makeCurrent(int64_t number) {
  if (!roster_.isOpen(number)) {
    throw RunError(scriptName_ + ": player " + std::to_string(number) + " is not open");
  }
  if (auto shown = players_.find(roster_.current()); shown != players_.end()) {
    app_->hide(*shown->second->player);
  }
  roster_.makeCurrent(number);
  app_->show(*players_.at(number)->player);
}

void Engine::openPlayer(const Command& c) {
  if (roster_.openCount() == PlayerRoster::kMaxOpenPlayers) {
    throw RunError(scriptName_ + ": more than " + std::to_string(PlayerRoster::kMaxOpenPlayers) +
                   " open players");
  }
  std::vector<host::RateOption> options;
  for (const auto& [rate, title] : rates_) options.push_back({rate, title});
  auto open = std::make_unique<OpenPlayer>();
  open->rates = rates_;
  open->player = app_->openPlayer(CGSizeMake(c.width, c.height), options);
  if (auto shown = players_.find(roster_.current()); shown != players_.end()) {
    app_->hide(*shown->second->player);
  }
  int64_t opened = roster_.open();
  open->number = opened;
  auto* self = this;
  open->player->playerController->setRateSelectionObserver([self, opened](float rate) {
    self->rateSelections_.push_back({opened, rate});
    self->pollEveryPlayer_ = true;
  });
  const auto& player = *(players_[opened] = std::move(open))->player;
  app_->show(player);
  logLine("open player " + std::to_string(opened) + " (" + number(c.width) + "x" +
          number(c.height) + ")");
  app_->layOut(player);
  pollChanges();
}

// The newest open player becomes current, whichever player closes.
void Engine::closePlayer(int64_t number) {
  int64_t shownBefore = roster_.current();
  int64_t closing = roster_.close(number);
  if (closing == 0) {
    throw RunError(scriptName_ + ": player " + std::to_string(number) + " is not open");
  }
  app_->touches().touchesCancel();
  bool showsAnother = roster_.current() != shownBefore;
  if (showsAnother) app_->hide(*players_.at(shownBefore)->player);
  players_.erase(closing);
  logLine("close player " + std::to_string(closing));
  if (showsAnother && roster_.current() != 0) {
    app_->show(*players_.at(roster_.current())->player);
    if (shownBefore != closing) {
      logLine("player " + std::to_string(roster_.current()) + " is current");
    }
  }
  pollEveryPlayer_ = true;
  pollChanges();
}

void Engine::launch(bool bare) {
  UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, screenWidth_, screenHeight_));
  host::registerHostClasses();
  app_ = std::make_unique<host::App>(CGSizeMake(screenWidth_, screenHeight_));
  launched_ = true;
  if (bare) {
    logLine("launch: the app, without the library");
    return;
  }
  // Logged first: the library reads its settings as it loads, and the log shows that read.
  logLine("launch: the app, with the library injected");
  library_ = dlopen(libraryPath(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* why = dlerror();
    throw RunError(std::string("glidepad-sim: cannot load the library: ") + (why ? why : "?"));
  }
}

void Engine::settingsChanged(const Command& c) {
  // The running library reads the file again only when told to, as on the device.
  if (library_ != nullptr && unnotifiedChange_ == 0) unnotifiedChange_ = c.line;
  if (c.op == Op::SettingsFile || knownSetting(c.key)) return;
  errors_ << scriptName_ << ":" << c.line << ": warning: the library reads no setting \"" << c.key
          << "\"";
  if (const KnownSetting* meant = knownSetting(c.key, true)) {
    errors_ << " (did you mean \"" << meant->name << "\"?)";
  }
  errors_ << "\n";
}

void Engine::finish() {
  if (unnotifiedChange_ != 0) {
    errors_ << scriptName_ << ":" << unnotifiedChange_
            << ": warning: the settings changed here after `launch`, and no `notify` followed: "
               "the running library reads the file again only when notified\n";
  }
}

void Engine::writeSetting(const Command& c) {
  id value;
  switch (c.value.kind) {
    case SettingValue::Boolean:
      value = NSNumber::numberWithBool(c.value.boolean);
      break;
    case SettingValue::Integer:
      value = NSNumber::numberWithLongLong(c.value.integer);
      break;
    case SettingValue::Real:
      value = NSNumber::numberWithDouble(c.value.real);
      break;
    case SettingValue::String:
      value = NSStr(c.value.string);
      break;
  }
  readingOwnSettings_ = true;
  std::string problem = writeSettingsValue(c.key, c.value);
  readingOwnSettings_ = false;
  if (!problem.empty()) {
    throw RunError(scriptName_ + ":" + std::to_string(c.line) + ": cannot write the settings " +
                   "file: " + problem);
  }
  settingsChanged(c);
  logLine("setting " + c.key + " = " +
          (c.value.kind == SettingValue::Real ? number(c.value.real) : value->description()));
}

void Engine::unsetSetting(const Command& c) {
  readingOwnSettings_ = true;
  std::string problem = removeSettingsValue(c.key);
  readingOwnSettings_ = false;
  if (!problem.empty()) {
    throw RunError(scriptName_ + ":" + std::to_string(c.line) + ": cannot write the settings " +
                   "file: " + problem);
  }
  settingsChanged(c);
  logLine("setting " + c.key + " removed");
}

void Engine::replaceSettingsFile(const Command& c) {
  const std::string& source = c.path;
  std::string where = scriptName_ + ":" + std::to_string(c.line) + ": ";
  if (source.empty()) {
    std::string problem = NSDeviceRemoveFile_(kSettingsPath);
    if (!problem.empty()) throw RunError(where + "cannot delete the settings file: " + problem);
    settingsChanged(c);
    logLine("settings file deleted");
    return;
  }
  std::error_code error;
  auto size = std::filesystem::file_size(source, error);
  if (!error && size > kMaxSettingsFileBytes) {
    throw RunError(where + "cannot copy " + source + ": it is larger than " +
                   std::to_string(kMaxSettingsFileBytes >> 20) +
                   " MiB, the most a settings file may be");
  }
  std::ifstream in(source, std::ios::binary);
  if (!in) throw RunError(where + "cannot read " + source);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string problem = NSDeviceWriteFile_(kSettingsPath, bytes);
  if (!problem.empty()) throw RunError(where + "cannot copy " + source + ": " + problem);
  settingsChanged(c);
  logLine("settings file replaced by " + std::filesystem::path(source).filename().string());
}

// A tap is a finger of its own, hit-tested on its own as on the device: it presses the button only
// when the button's centre reaches it through every view up to the window, and the screen.
void Engine::tapStepper(bool increment) {
  auto& open = current();
  auto stepper = stepperOf(open.player->controlsOverlay);
  auto button = buttonOf(stepper, increment ? "+" : "-");
  std::string name = std::string("tap ") + (increment ? "+" : "-");
  if (!button || !shown(button)) {
    logLine(name + ": " + (button ? "the button is not shown" : "no stepper"));
    touchEvent();
    return;
  }
  CGRect bounds = button->bounds();
  CGPoint inWindow =
      button->convertPointToView({CGRectGetMidX(bounds), CGRectGetMidY(bounds)}, app_->window());
  auto reached = app_->window()->hitTest(inWindow);
  if (!within(reached, button)) {
    // Nothing is touched: a finger cannot put itself down on the button where it is not.
    logLine(name + ": reaches " +
            (reached ? std::string("a ") + class_getName(object_getClass(reached)) +
                           " instead of the button"
                     : "nothing (outside the screen)"));
    touchEvent();
    return;
  }
  logLine(name);
  app_->touches().tapApart_(inWindow);
  touchEvent();
}

void Engine::fail(const Command& c, const std::string& expected, const std::string& got) {
  ++failedChecks_;
  errors_ << printable(scriptName_ + ":" + std::to_string(c.line) + ": expected " + expected +
                       ", got " + got)
          << "\n";
}

Observed Engine::observe() const {
  Observed o;
  auto played = UIFeedbackGeneratorPlayed_();
  o.hapticTicks = played.selections - ticksAtLaunch_;
  o.hapticLimits = played.impacts - limitsAtLaunch_;
  o.volume = MPVolumeSystemVolume_();
  o.brightness = UIScreen::mainScreen()->brightness();
  if (app_) {
    auto seeks = app_->seekCounts();
    o.seeksBackward = seeks.backward;
    o.seeksForward = seeks.forward;
  }
  auto found = players_.find(roster_.current());
  if (found == players_.end()) return o;
  const auto& player = *found->second->player;
  o.currentPlayer = static_cast<int>(roster_.current());
  o.rate = player.playerController->playbackRate();
  o.seekPosition = player.overlayController->playbackPosition();
  auto stepper = stepperOf(player.controlsOverlay);
  o.hasStepper = stepper != nullptr;
  o.label = labelText(labelOf(stepper));
  auto button = player.controlsOverlay ? player.controlsOverlay->playPauseButton() : nullptr;
  o.controlsShown = button && !button->isHidden();
  o.stepperShown = stepper && !stepper->isHidden();
  o.stepperAlpha = stepper ? stepper->alpha() : 0;
  o.slowerButton = placeOf(buttonOf(stepper, "-"), player.playerView);
  o.fasterButton = placeOf(buttonOf(stepper, "+"), player.playerView);
  o.playerWidth = player.playerView->bounds().size.width;
  o.playerHeight = player.playerView->bounds().size.height;
  o.fullscreen = player.overlayController->isFullscreen();
  auto hud = shownHudText(player.playerView);
  o.hudShown = hud.has_value();
  o.hudText = hud.value_or("");
  return o;
}

void Engine::check(const Command& c) {
  ++checks_;
  Observed o = observe();
  auto near = [](double a, double b) { return std::fabs(a - b) <= kTolerance; };
  switch (c.op) {
    case Op::ExpectVolume:
      if (!near(o.volume, c.level)) fail(c, "volume " + number(c.level), level(o.volume));
      break;
    case Op::ExpectBrightness:
      if (!near(o.brightness, c.level)) {
        fail(c, "brightness " + number(c.level), level(o.brightness));
      }
      break;
    case Op::ExpectRate:
      if (!near(o.rate, c.rate)) fail(c, "rate " + number(c.rate), number(o.rate));
      break;
    case Op::ExpectLabel:
      if (c.noStepper) {
        if (o.hasStepper) fail(c, "no stepper", "a stepper labelled " + inQuotes(o.label));
      } else if (!o.hasStepper) {
        fail(c, "label " + inQuotes(c.label), "no stepper");
      } else if (o.label != c.label) {
        fail(c, "label " + inQuotes(c.label), inQuotes(o.label));
      }
      break;
    case Op::ExpectSeeks:
      if (o.seeksBackward != c.seeksBackward || o.seeksForward != c.seeksForward) {
        fail(c, "seeks " + std::to_string(c.seeksBackward) + " " + std::to_string(c.seeksForward),
             std::to_string(o.seeksBackward) + " " + std::to_string(o.seeksForward));
      }
      break;
    case Op::ExpectPosition:
      if (!near(o.seekPosition, c.seconds)) {
        fail(c, "position " + number(c.seconds), number(o.seekPosition));
      }
      break;
    case Op::ExpectControls:
      if (o.controlsShown != c.shown) {
        fail(c, std::string("controls ") + (c.shown ? "shown" : "hidden"),
             o.controlsShown ? "shown" : "hidden");
      }
      break;
    case Op::ExpectStepper:
      if (!o.hasStepper) {
        fail(c, std::string("stepper ") + (c.shown ? "shown" : "hidden"), "no stepper");
      } else if (o.stepperShown != c.shown) {
        fail(c, std::string("stepper ") + (c.shown ? "shown" : "hidden"),
             o.stepperShown ? "shown" : "hidden");
      }
      break;
    case Op::ExpectStepperAlpha:
      if (!o.hasStepper) {
        fail(c, "stepper alpha " + number(c.alpha), "no stepper");
      } else if (!near(o.stepperAlpha, c.alpha)) {
        fail(c, "stepper alpha " + number(c.alpha), number(o.stepperAlpha));
      }
      break;
    case Op::ExpectHud:
      if (c.noHud ? o.hudShown : !o.hudShown || o.hudText != c.hudText) {
        fail(c, c.noHud ? "hud none" : "hud " + inQuotes(c.hudText),
             o.hudShown ? "hud " + inQuotes(o.hudText) : "hud none");
      }
      break;
    case Op::ExpectHaptics:
      if (o.hapticTicks != static_cast<uint64_t>(c.hapticTicks) ||
          o.hapticLimits != static_cast<uint64_t>(c.hapticLimits)) {
        fail(c, "haptics " + std::to_string(c.hapticTicks) + " " + std::to_string(c.hapticLimits),
             std::to_string(o.hapticTicks) + " " + std::to_string(o.hapticLimits));
      }
      break;
    default:
      break;
  }
}

std::string Engine::snapshotSvg() const {
  auto found = players_.find(roster_.current());
  if (found == players_.end()) return "";
  return renderSnapshot(found->second->player->playerView, MPVolumeSystemVolume_(),
                        UIScreen::mainScreen()->brightness());
}

void Engine::run(const Command& c) {
  switch (c.op) {
    case Op::Screen:
    case Op::Brightness:
    case Op::Volume:
      return runDeviceCommand(c);
    case Op::Setting:
    case Op::Unset:
    case Op::SettingsFile:
    case Op::Notify:
      return runSettingsCommand(c);
    case Op::Rates:
    case Op::Launch:
    case Op::Open:
    case Op::Player:
    case Op::Close:
    case Op::Controls:
    case Op::ControlsAlpha:
    case Op::HostRate:
    case Op::Fullscreen:
      return runAppCommand(c);
    case Op::Down:
    case Op::Move:
    case Op::Up:
    case Op::Cancel:
    case Op::Swipe:
    case Op::Tap:
    case Op::DoubleTap:
    case Op::Wait:
      return runTouchCommand(c);
    case Op::Snapshot:
      return writeSnapshot(c);
    default:
      return check(c);
  }
}

void Engine::runDeviceCommand(const Command& c) {
  if (c.op == Op::Screen) {
    screenWidth_ = c.width;
    screenHeight_ = c.height;
    return;
  }
  if (c.op == Op::Brightness) {
    UIScreen::mainScreen()->setBrightness(c.level);
  } else {
    MPVolumeSetSystemVolume_(static_cast<float>(c.level));
  }
  pollChanges();
}

void Engine::runSettingsCommand(const Command& c) {
  switch (c.op) {
    case Op::Setting:
      return writeSetting(c);
    case Op::Unset:
      return unsetSetting(c);
    case Op::SettingsFile:
      return replaceSettingsFile(c);
    default:
      unnotifiedChange_ = 0;
      logLine("settings change notification posted");
      CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                           NSStr(kSettingsNotification).get(), nullptr, nullptr,
                                           true);
      pollChanges();
  }
}

void Engine::runAppCommand(const Command& c) {
  switch (c.op) {
    case Op::Rates:
      rates_.clear();
      for (const auto& option : c.rates) rates_.push_back({option.rate, option.title});
      return;
    case Op::Launch:
      return launch(c.bare);
    case Op::Open:
      return openPlayer(c);
    case Op::Player:
      makeCurrent(c.player);
      return logLine("player " + std::to_string(c.player) + " is current");
    case Op::Close:
      return closePlayer(c.player);
    case Op::Controls:
      app_->setControlsShown(*current().player, c.shown);
      break;
    case Op::ControlsAlpha:
      app_->setControlsAlpha(*current().player, c.alpha);
      logLine("player " + std::to_string(roster_.current()) + " controls alpha " + number(c.alpha));
      break;
    case Op::Fullscreen:
      current().player->overlayController->setFullscreen(c.fullscreen);
      logLine("player " + std::to_string(roster_.current()) + " fullscreen " +
              (c.fullscreen ? "on" : "off"));
      break;
    default:
      app_->selectRate(*current().player, static_cast<float>(c.rate));
      break;
  }
  pollChanges();
}

void Engine::runTouchCommand(const Command& c) {
  auto points = [&c] {
    std::vector<CGPoint> out;
    for (const auto& p : c.points) out.push_back({p.x, p.y});
    return out;
  };
  switch (c.op) {
    case Op::Down:
      current();
      app_->touches().touchesDown(points(), static_cast<NSUInteger>(c.taps));
      return touchEvent();
    case Op::Move:
      app_->touches().touchesMove(points());
      return touchEvent();
    case Op::Up:
      app_->touches().touchesUp();
      return touchEvent();
    case Op::Cancel:
      app_->touches().touchesCancel();
      return touchEvent();
    case Op::Swipe:
      return swipe(c.points[0], c.points[1], c.steps);
    case Op::Tap:
      return tapStepper(c.plus);
    case Op::DoubleTap:
      return doubleTap(c.points[0]);
    default:
      return advance(c.milliseconds);
  }
}

// Two taps one event spacing apart, the second with tap count 2, as the device counts them.
void Engine::doubleTap(Point at) {
  current();
  for (NSUInteger taps = 1; taps <= 2; ++taps) {
    app_->touches().touchDown({at.x, at.y}, taps);
    touchEvent();
    app_->touches().touchesUp();
    touchEvent();
  }
}

void Engine::swipe(Point from, Point to, int64_t steps) {
  current();
  app_->touches().touchDown({from.x, from.y}, 1);
  touchEvent();
  for (int64_t i = 1; i <= steps; ++i) {
    double t = static_cast<double>(i) / static_cast<double>(steps);
    app_->touches().touchMove({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
    touchEvent();
  }
  app_->touches().touchesUp();
  touchEvent();
}

void Engine::writeSnapshot(const Command& c) {
  std::ofstream out(c.path, std::ios::binary);
  if (!out || !(out << snapshotSvg())) {
    throw RunError(scriptName_ + ":" + std::to_string(c.line) + ": cannot write " + c.path);
  }
  logLine("snapshot " + c.path);
}

}  // namespace sim
