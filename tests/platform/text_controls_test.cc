#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "UIKit/UIButton.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

TEST(TextControls, FontsByExactNameLabelMetricsAndButtonTitlesFallingBackToNormal) {
  EXPECT_EQ(UIFont::fontWithName(NSStr("Avenir-Black"), 24)->pointSize(), 24.0);
  for (const char* missing : {"Avernir-Roman", "avenir-black", "Avenir"}) {
    EXPECT_FALSE(UIFont::fontWithName(NSStr(missing), 14)) << missing;
  }
  auto helvetica = UIFont::fontWithName(NSStr("Helvetica"), 10);
  auto fits = [&](const char* text, const Ref<UIFont>& font) {
    auto label = alloc_init<UILabel>();
    label->setText(text ? NSStr(text) : nullptr);
    label->setFont(font);
    return label->sizeThatFits(CGSizeMake(5, 5));
  };
  // 0.6 by 1.2 of the point size a UTF-16 unit, not a byte: "é" is one unit, "😀" two.
  EXPECT_EQ(fits("Normal", helvetica), CGSizeMake(36, 12));
  EXPECT_EQ(fits("\xC3\xA9\xF0\x9F\x98\x80", helvetica), CGSizeMake(18, 12));
  EXPECT_DOUBLE_EQ(fits("2x", nullptr).width, 2 * 0.6 * 17);  // no font: 17 points
  EXPECT_EQ(fits("", helvetica), CGSizeZero);
  EXPECT_EQ(fits(nullptr, helvetica), CGSizeZero);

  // Button titles and colours fall back to the normal state's.
  auto text = [](const Ref<NSString>& s) { return s ? s->string() : "<nil>"; };
  auto button = UIButton::buttonWithType(UIButtonTypeCustom);
  auto label = button->titleLabel();
  auto red = UIColor::colorWithRed(1, 0, 0, 1);
  auto blue = UIColor::colorWithRed(0, 0, 1, 1);
  EXPECT_FALSE(button->titleColorForState(UIControlStateHighlighted));
  button->setTitle(NSStr("+"), UIControlStateNormal);
  button->setTitleColor(red, UIControlStateNormal);
  EXPECT_EQ(text(button->titleForState(UIControlStateDisabled)), "+");
  EXPECT_EQ(button->titleColorForState(UIControlStateSelected), red);
  button->setTitle(NSStr("pressed"), UIControlStateHighlighted);
  button->setTitleColor(blue, UIControlStateHighlighted);
  // The label shows the current state's title and colour.
  auto shows = [&] { return std::pair{text(label->text()), label->textColor()}; };
  EXPECT_EQ(shows(), std::pair(std::string("+"), red));

  // While a touch is tracked the button is highlighted, and its label follows.
  button->touchesBegan(nullptr, nullptr);
  EXPECT_EQ(shows(), std::pair(std::string("pressed"), blue));
  button->touchesCancelled(nullptr, nullptr);
  EXPECT_EQ(shows(), std::pair(std::string("+"), red));

  // Clearing a state's own title falls back to the normal one again.
  button->setTitle(nullptr, UIControlStateHighlighted);
  button->setTitle(NSStr("-"), UIControlStateNormal);
  EXPECT_EQ(text(button->titleForState(UIControlStateHighlighted)), "-");
  EXPECT_EQ(text(label->text()), "-");
}
