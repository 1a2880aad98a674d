#include <gtest/gtest.h>

#include <string>

#include "Foundation/NSString.h"
#include "UIKit/UILabel.h"
#include "sim/Snapshot.h"

TEST(Snapshot, TextIsAlwaysXmlCharacterData) {
  struct Case {
    std::string text;
    std::string xml;
  };
  const std::string replacement = "\xef\xbf\xbd";
  for (const auto& [text, xml] : std::vector<Case>{
           {"<a & \"b\">", "&lt;a &amp; &quot;b&quot;&gt;"},
           {"\t\n\r", "\t\n\r"},
           {std::string("\x00\x1f", 2), replacement + replacement},
           {"\x7f\xc2\x9f", "\x7f\xc2\x9f"},  // XML 1.0 allows DEL and C1
           {"\xff", replacement},
           {"\xc3", replacement},                                      // truncated
           {"\xc0\xae", replacement + replacement},                    // overlong: two bad bytes
           {"\xed\xa0\x80", replacement + replacement + replacement},  // a surrogate
           {"\xef\xbf\xbe\xef\xbf\xbf", replacement + replacement},
           {"\xc3\xa9\xf0\x9f\x8e\xac", "\xc3\xa9\xf0\x9f\x8e\xac"},
       }) {
    EXPECT_EQ(sim::xmlText(text), xml) << text;
  }
}

TEST(Snapshot, ANarrowPlayerIsDrawnWithinItsCanvas) {
  // A player narrower than what it holds, as a 170-point stepper on a 50-point player.
  auto player = objc_cast<UIView>(alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 50, 30)));
  auto wide = objc_cast<UIView>(alloc<UIView>()->initWithFrame(CGRectMake(-60, 10, 170, 25)));
  auto label = objc_cast<UILabel>(alloc<UILabel>()->initWithFrame(CGRectMake(0, 0, 20, -5)));
  label->setText(NSStr("a title far longer than its label"));
  wide->addSubview(label);
  player->addSubview(wide);
  std::string svg = sim::renderSnapshot(player, 0.5, 0.5);
  EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"240\" height=\"94\"", 0),
            0u);
  EXPECT_EQ(svg.find("width=\"-"), std::string::npos) << svg;
  EXPECT_EQ(svg.find("height=\"-"), std::string::npos) << svg;
  // The player is clipped to its bounds and the label's text to the label.
  EXPECT_NE(svg.find("<clipPath id=\"clip1\"><rect width=\"50\" height=\"30\""), std::string::npos);
  EXPECT_NE(svg.find("<clipPath id=\"clip2\"><rect width=\"20\" height=\"0\""), std::string::npos);
}
