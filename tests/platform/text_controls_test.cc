#include <gtest/gtest.h>

#include <string>

#include "UIKit/UIButton.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

namespace {

Ref<UILabel> labelWith(const char* text, const Ref<UIFont>& font) {
  auto label = alloc_init<UILabel>();
  label->setText(text ? NSStr(text) : nullptr);
  label->setFont(font);
  return label;
}

std::string textOf(const Ref<NSString>& text) { return text ? text->string() : "<nil>"; }

}  // namespace

TEST(UIFont, OnlyInstalledNamesAreFound) {
  for (const char* name :
       {"Avenir-Black", "Avenir-Heavy", "Avenir-Medium", "Helvetica", ".SFUI-Regular"}) {
    auto font = UIFont::fontWithName(NSStr(name), 24);
    ASSERT_TRUE(font) << name;
    EXPECT_EQ(font->fontName()->string(), name);
    EXPECT_EQ(font->pointSize(), 24.0);
  }
  EXPECT_FALSE(UIFont::fontWithName(NSStr("Avernir-Roman"), 14));
  EXPECT_FALSE(UIFont::fontWithName(NSStr("avenir-black"), 14));
  EXPECT_FALSE(UIFont::fontWithName(NSStr("Avenir"), 14));
  EXPECT_FALSE(UIFont::fontWithName(nullptr, 14));
  auto system = UIFont::systemFontOfSize(12);
  EXPECT_EQ(system->fontName()->string(), ".SFUI-Regular");
  EXPECT_EQ(system->pointSize(), 12.0);
}

TEST(UILabel, DefaultsAndTheTextMetric) {
  auto label = alloc_init<UILabel>();
  EXPECT_FALSE(label->text());
  EXPECT_FALSE(label->isUserInteractionEnabled());
  EXPECT_EQ(label->textAlignment(), NSTextAlignmentLeft);
  EXPECT_EQ(label->textColor()->components(), (::CGColor{0, 0, 0, 1}));
  EXPECT_EQ(label->font()->fontName()->string(), ".SFUI-Regular");
  EXPECT_EQ(label->font()->pointSize(), UIFont::labelFontSize());
  label->setFont(UIFont::fontWithName(NSStr("Helvetica"), 9));
  label->setFont(nullptr);  // no font: the default again
  EXPECT_EQ(label->font()->pointSize(), 17.0);

  auto helvetica = UIFont::fontWithName(NSStr("Helvetica"), 10);
  EXPECT_EQ(labelWith("Normal", helvetica)->sizeThatFits(CGSizeZero), CGSizeMake(36, 12));
  // The proposal does not change the answer.
  EXPECT_EQ(labelWith("Normal", helvetica)->sizeThatFits(CGSizeMake(5, 5)), CGSizeMake(36, 12));
  // UTF-16 units, not bytes: "é" is one unit, "😀" two.
  EXPECT_EQ(labelWith("\xC3\xA9", helvetica)->sizeThatFits(CGSizeZero), CGSizeMake(6, 12));
  EXPECT_EQ(labelWith("\xF0\x9F\x98\x80", helvetica)->sizeThatFits(CGSizeZero), CGSizeMake(12, 12));
  // The default font when none is given; no text fits in nothing.
  CGSize fits = labelWith("2x", nullptr)->sizeThatFits(CGSizeZero);
  EXPECT_DOUBLE_EQ(fits.width, 2 * 0.6 * 17);
  EXPECT_DOUBLE_EQ(fits.height, 1.2 * 17);
  EXPECT_EQ(labelWith("", helvetica)->sizeThatFits(CGSizeZero), CGSizeZero);
  EXPECT_EQ(labelWith(nullptr, helvetica)->sizeThatFits(CGSizeZero), CGSizeZero);
}

TEST(UIButton, TitlesAndColoursFallBackToTheNormalState) {
  auto button = UIButton::buttonWithType(UIButtonTypeCustom);
  auto label = button->titleLabel();
  ASSERT_TRUE(label);
  ASSERT_EQ(button->subviews().size(), 1u);
  EXPECT_EQ(button->subviews()[0], label);
  EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
  EXPECT_FALSE(button->titleForState(UIControlStateNormal));
  EXPECT_FALSE(button->titleColorForState(UIControlStateHighlighted));
  EXPECT_FALSE(label->text());

  auto red = UIColor::colorWithRed(1, 0, 0, 1);
  auto blue = UIColor::colorWithRed(0, 0, 1, 1);
  button->setTitle(NSStr("+"), UIControlStateNormal);
  button->setTitleColor(red, UIControlStateNormal);
  EXPECT_EQ(textOf(button->titleForState(UIControlStateHighlighted)), "+");
  EXPECT_EQ(textOf(button->titleForState(UIControlStateDisabled)), "+");
  EXPECT_EQ(button->titleColorForState(UIControlStateSelected), red);
  EXPECT_EQ(textOf(label->text()), "+");
  EXPECT_EQ(label->textColor(), red);

  button->setTitle(NSStr("pressed"), UIControlStateHighlighted);
  button->setTitleColor(blue, UIControlStateHighlighted);
  EXPECT_EQ(textOf(button->titleForState(UIControlStateHighlighted)), "pressed");
  EXPECT_EQ(textOf(button->titleForState(UIControlStateNormal)), "+");
  EXPECT_EQ(textOf(label->text()), "+");  // the label shows the current state's title

  // While a touch is tracked the button is highlighted, and its label follows.
  button->touchesBegan(nullptr, nullptr);
  EXPECT_EQ(textOf(label->text()), "pressed");
  EXPECT_EQ(label->textColor(), blue);
  button->touchesCancelled(nullptr, nullptr);
  EXPECT_EQ(textOf(label->text()), "+");
  EXPECT_EQ(label->textColor(), red);

  // Clearing a state's own title falls back to the normal one again.
  button->setTitle(nullptr, UIControlStateHighlighted);
  EXPECT_EQ(textOf(button->titleForState(UIControlStateHighlighted)), "+");
  button->setTitle(NSStr("-"), UIControlStateNormal);
  EXPECT_EQ(textOf(button->titleForState(UIControlStateHighlighted)), "-");
  EXPECT_EQ(textOf(label->text()), "-");

  // The title label fills the button at each layout pass.
  button->setFrame(CGRectMake(5, 5, 50, 25));
  button->layoutIfNeeded();
  EXPECT_EQ(label->frame(), CGRectMake(0, 0, 50, 25));
}
