#include "host/App.h"

#include "objc/message.h"

namespace host {

namespace {

Ref<UIWindow> makeWindow(CGSize screen) {
  auto window = objc_cast<UIWindow>(alloc<UIWindow>()->initWithFrame({{0, 0}, screen}));
  window->setBackgroundColor(UIColor::blackColor());
  return window;
}

}  // namespace

App::App(CGSize screen) : window_(makeWindow(screen)), touches_(window_) {}

std::unique_ptr<Player> App::openPlayer(CGSize size, const std::vector<RateOption>& rates) {
  auto player = std::make_unique<Player>();
  CGRect frame{{0, 0}, size};

  player->playerController = YTPlayerViewController::playerWithRateOptions(rates);
  player->playerController->loadViewIfNeeded();

  // Made through the runtime, as the app's own code does, so that replacements take part.
  player->playerView = objc_cast<YTPlayerView>(
      objc_msgSend<id>(alloc<YTPlayerView>(), selector<"initWithFrame:">(), frame));
  player->playerView->setBackgroundColor(UIColor::blackColor());

  player->overlayController = alloc_init<YTMainAppVideoPlayerOverlayViewController>();
  player->overlayController->loadViewIfNeeded();

  player->controlsOverlay =
      YTMainAppControlsOverlayView::overlayWithDelegate(player->overlayController, frame);
  if (player->controlsOverlay) {
    auto button = player->controlsOverlay->playPauseButton();
    button->setHidden(NO);
    button->setAlpha(1);
    player->playerView->addSubview(player->controlsOverlay);
    player->playerView->setControlsOverlay(player->controlsOverlay);
    player->overlayController->setView(player->controlsOverlay);
  }
  // Each controller owns its view, which finds it up the responder chain.
  player->playerController->setView(player->playerView);
  return player;
}

void App::show(const Player& player) { window_->addSubview(player.playerView); }

void App::hide(const Player& player) {
  if (player.playerView->superview() == window_) player.playerView->removeFromSuperview();
}

void App::layOut(const Player& player) {
  if (!player.controlsOverlay) return;
  player.controlsOverlay->setNeedsLayout();
  player.controlsOverlay->layoutIfNeeded();
}

void App::setControlsShown(const Player& player, bool shown) {
  if (!player.controlsOverlay) return;
  player.controlsOverlay->playPauseButton()->setHidden(!shown);
  layOut(player);
}

void App::setControlsAlpha(const Player& player, double alpha) {
  if (!player.controlsOverlay) return;
  player.controlsOverlay->playPauseButton()->setAlpha(alpha);
  layOut(player);
}

void App::selectRate(const Player& player, float rate) {
  auto& controller = player.playerController;
  objc_msgSend(controller, selector<"varispeedSwitchController:didSelectRate:">(),
               controller->varispeedController(), rate);
}

SeekCounts App::seekCounts() const {
  return {static_cast<int64_t>(YTMainAppVideoPlayerOverlayViewController::backwardSeekCount()),
          static_cast<int64_t>(YTMainAppVideoPlayerOverlayViewController::forwardSeekCount())};
}

}  // namespace host
