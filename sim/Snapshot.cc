#include "sim/Snapshot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "sim/DecimalText.h"
#include "sim/Utf8.h"

#include "Foundation/NSString.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

namespace sim {

namespace {

constexpr double kMargin = 10;
constexpr double kLevelsHeight = 44;
// Wide enough for the level bars beside their names and values, however narrow the player.
constexpr double kMinCanvasWidth = 240;

std::string num(double value) { return std::isfinite(value) ? shortestDecimal(value) : "0"; }

// A width or height: a layout may give a negative one, which SVG does not draw.
std::string extent(double value) { return num(std::fmax(value, 0.0)); }

}  // namespace

std::string xmlText(std::string_view text) {
  constexpr const char* kReplacement = "\xef\xbf\xbd";  // U+FFFD
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    auto [point, length] = utf8CharacterAt(text, i);
    bool valid = length != 0;
    // XML's characters: tab, line feed, carriage return, and from U+0020 on, less U+FFFE and
    // U+FFFF. A byte that is not UTF-8 is replaced alone, a character XML refuses whole.
    bool allowed = (point >= 0x20 || point == 0x9 || point == 0xa || point == 0xd) &&
                   point != 0xfffe && point != 0xffff;
    if (!valid || !allowed) {
      out += kReplacement;
      i += valid ? length : 1;
      continue;
    }
    switch (point) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

namespace {

std::string rgb(const CGColor& color) {
  auto channel = [](double v) {
    return std::to_string(static_cast<int>(std::lround(std::fmin(std::fmax(v, 0.0), 1.0) * 255)));
  };
  return "rgb(" + channel(color.red) + "," + channel(color.green) + "," + channel(color.blue) + ")";
}

class Painter {
 public:
  std::ostringstream out;
  int clipCount = 0;

  void text(const std::string& content, const CGRect& box, const CGColor& color, double size,
            const char* anchor) {
    double x = box.origin.x + box.size.width / 2;
    if (std::string(anchor) == "start") x = box.origin.x;
    if (std::string(anchor) == "end") x = box.origin.x + box.size.width;
    out << "<text x=\"" << num(x) << "\" y=\"" << num(box.origin.y + box.size.height / 2)
        << "\" font-family=\"Avenir, Helvetica, sans-serif\" font-size=\"" << num(size)
        << "\" text-anchor=\"" << anchor << "\" dominant-baseline=\"central\" fill=\"" << rgb(color)
        << "\" fill-opacity=\"" << num(color.alpha) << "\">" << xmlText(content) << "</text>\n";
  }

  // A clip to `box` (a rectangle's attributes), ended by endClip.
  void beginClip(const std::string& box) {
    int clip = ++clipCount;
    out << "<clipPath id=\"clip" << clip << "\"><rect " << box << "/></clipPath>\n"
        << "<g clip-path=\"url(#clip" << clip << ")\">\n";
  }
  void endClip() { out << "</g>\n"; }

  void view(const Ref<UIView>& v, bool root) {
    if (v->isHidden()) return;
    CGRect frame = v->frame();
    CGRect bounds = v->bounds();
    auto layer = v->layer();
    out << "<g transform=\"translate(" << num(root ? kMargin : frame.origin.x) << ","
        << num(root ? kMargin : frame.origin.y) << ")\" opacity=\"" << num(v->alpha()) << "\">\n";
    std::string radius = num(layer->cornerRadius());
    std::string box = "width=\"" + extent(bounds.size.width) + "\" height=\"" +
                      extent(bounds.size.height) + "\" rx=\"" + radius + "\"";
    if (root) {
      out << "<rect " << box << " fill=\"#101014\"/>\n";  // the video
    }
    if (auto color = v->backgroundColor()) {
      out << "<rect " << box << " fill=\"" << rgb(color->components()) << "\" fill-opacity=\""
          << num(color->components().alpha) << "\"/>\n";
    }
    // The player is drawn within its own bounds, as the screen shows it, and a label's text within
    // the label, so that nothing is drawn outside the canvas.
    auto label = objc_cast<UILabel>(v);
    bool clipped = root || label || v->clipsToBounds();
    if (clipped) beginClip(box);
    auto button = objc_cast<UIButton>(v);
    if (label) {
      if (auto content = label->text()) {
        const char* anchor = label->textAlignment() == 1   ? "middle"
                             : label->textAlignment() == 2 ? "end"
                                                           : "start";
        text(content->string(), {{0, 0}, bounds.size}, label->textColor()->components(),
             label->font()->pointSize(), anchor);
      }
    } else if (button) {
      if (auto title = button->currentTitle()) {
        auto color = button->currentTitleColor();
        auto font = button->titleLabel()->font();
        text(title->string(), {{0, 0}, bounds.size},
             color ? color->components() : CGColor{1, 1, 1, 1}, font->pointSize(), "middle");
      }
    }
    for (const auto& child : v->subviews()) {
      if (button && child == button->titleLabel()) continue;  // drawn as the title above
      view(child, false);
    }
    if (clipped) endClip();
    if (layer->borderWidth() > 0) {
      double w = layer->borderWidth();
      auto border = layer->borderColor();
      out << "<rect x=\"" << num(w / 2) << "\" y=\"" << num(w / 2) << "\" width=\""
          << extent(bounds.size.width - w) << "\" height=\"" << extent(bounds.size.height - w)
          << "\" rx=\"" << radius << "\" fill=\"none\" stroke=\""
          << rgb(border ? *border : CGColor{0, 0, 0, 1}) << "\" stroke-opacity=\""
          << num(border ? border->alpha : 1) << "\" stroke-width=\"" << num(w) << "\"/>\n";
    }
    out << "</g>\n";
  }

  void level(const char* name, double value, double y, double width) {
    double clamped = std::fmin(std::fmax(value, 0.0), 1.0);
    double barX = kMargin + 80, barWidth = width - 80 - 50;
    text(name, {{kMargin, y}, {80, 16}}, {0.2, 0.2, 0.2, 1}, 12, "start");
    out << "<rect x=\"" << num(barX) << "\" y=\"" << num(y + 3) << "\" width=\"" << num(barWidth)
        << "\" height=\"10\" rx=\"5\" fill=\"#ddd\"/>\n"
        << "<rect x=\"" << num(barX) << "\" y=\"" << num(y + 3) << "\" width=\""
        << num(barWidth * clamped) << "\" height=\"10\" rx=\"5\" fill=\"#3a7bd5\"/>\n";
    auto single = static_cast<float>(value);  // the levels are held in single precision
    std::string shown = static_cast<double>(single) == value ? shortestDecimal(single) : num(value);
    text(shown, {{barX + barWidth + 6, y}, {44, 16}}, {0.2, 0.2, 0.2, 1}, 12, "start");
  }
};

}  // namespace

std::string renderSnapshot(const Ref<UIView>& playerView, double volume, double brightness) {
  if (!playerView) return "";
  CGSize size = playerView->bounds().size;
  double width = std::fmax(std::fmax(size.width, 0.0) + 2 * kMargin, kMinCanvasWidth);
  double height = std::fmax(size.height, 0.0) + 2 * kMargin + kLevelsHeight;
  Painter painter;
  painter.out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << num(width)
              << "\" height=\"" << num(height) << "\" viewBox=\"0 0 " << num(width) << " "
              << num(height) << "\">\n<rect width=\"100%\" height=\"100%\" fill=\"#f4f4f6\"/>\n";
  painter.view(playerView, true);
  double y = std::fmax(size.height, 0.0) + 2 * kMargin;
  painter.level("volume", volume, y, width - 2 * kMargin);
  painter.level("brightness", brightness, y + 20, width - 2 * kMargin);
  painter.out << "</svg>\n";
  return painter.out.str();
}

}  // namespace sim
