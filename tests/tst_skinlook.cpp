// What a host that draws the skin itself takes from it.
#include "window/form/skin.h"
#include "window/form/skinlook.h"

#include <gtest/gtest.h>

using namespace zanvo;

namespace {

constexpr Colour rgb(unsigned value)
{
    return {std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value)};
}

} // namespace

TEST(SkinLook, TheShippedSkinGivesEveryPartOfTheSubsetAndEachButtonState)
{
    const Skin skin = readSkin(ZANVO_SHIPPED_SKIN);
    ASSERT_EQ(skin.status, SkinAttached);
    const SkinLook look = skinLook(skin.sheet);
    EXPECT_TRUE(look.form && look.fontPoints && look.labelPoints && look.labelText && look.boxBorder
                && look.boxFocusBorder && look.selectionBackground);
    EXPECT_FALSE(look.fontFamilies.empty());
    const ButtonLook normal = look.button(false, false, false),
                     hot = look.button(true, false, false);
    EXPECT_TRUE(normal.text && normal.border && normal.borderWidth && normal.radius
                && normal.background);
    // Pressed while hovered shows pressed; focus changes the border alone.
    const ButtonLook pressed = look.button(true, true, false),
                     focused = look.button(false, false, true);
    EXPECT_NE(hot.background, normal.background);
    EXPECT_NE(pressed.background, hot.background);
    EXPECT_EQ(pressed.text, normal.text);
    EXPECT_NE(focused.border, normal.border);
    EXPECT_EQ(focused.background, normal.background);
    EXPECT_EQ(look.button(true, true, true).border, focused.border);
}

TEST(SkinLook, ValuesOutsideTheSubsetOrMalformedLeaveThePlatformsLook)
{
    const SkinLook look = skinLook(R"(
        #Form1 { background: qlineargradient(x1: 0, y1: 1, x2: 0, y2: 0, stop: 0 #000, stop: 1 #fff);
                 font-family: "Odd, } Sans", Plain ; font-size: 12px }
        QLabel { color: rgb(1, 2, 3); color: #12345; }
        QPushButton:disabled, QPushButton::menu-indicator, QProgressBar { color: #111111 }
        QPushButton { background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 1, stop: 0 #f00);
                      border: none; border-radius: 2px }
        QPushButton { border-radius: 5px }
        QsciScintilla { background: rgba(10, 20, 30, 40); color: #80ff0000 }
        /* QLabel { color: #ffffff } */
        QLabel { font-size: 900pt
    )");
    // Upside down, the gradient runs from white at the top to black at the bottom.
    EXPECT_EQ(look.form, (Fill {{{0, rgb(0xffffff)}, {1, rgb(0x000000)}}}));
    EXPECT_EQ(look.fontFamilies, (std::vector<std::string> {"Odd, } Sans", "Plain"}));
    EXPECT_EQ(look.fontPoints, 9.0f);
    EXPECT_EQ(look.labelText, rgb(0x010203));
    EXPECT_FALSE(look.labelPoints);
    const ButtonLook button = look.button(true, true, true);
    EXPECT_FALSE(button.text);
    EXPECT_FALSE(button.background);
    EXPECT_EQ(button.borderWidth, 0);
    EXPECT_EQ(button.radius, 5);
    EXPECT_EQ(look.boxBackground, rgb(0x0a141e));
    EXPECT_EQ(look.boxText, rgb(0xff0000));
    EXPECT_FALSE(look.selectionBackground);
}
