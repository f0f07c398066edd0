// The window's fixed description, for every host: its texts, and its controls with their places.
#pragma once

#include "window/form/clipboard.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zanvo::form1 {

inline constexpr std::string_view caption = "Zanvo伪原创工具 1.0";
// The caption of the program's message boxes.
inline constexpr std::string_view applicationTitle = "Zanvo伪原创工具";
inline constexpr std::string_view emptyPrompt = "请填写需要伪原创的内容";
// Where another program holds the clipboard for longer than a copy waits.
inline constexpr std::string_view clipboardBusy
    = "无法写入剪贴板：另一个程序正在使用它。文本框中的内容没有丢失，请稍后再复制。";
// Where the system took no text once the clipboard was emptied.
inline constexpr std::string_view clipboardEmptied
    = "无法写入剪贴板：剪贴板原有的内容已被清空，新内容未能写入。文本框中的内容没有丢失，请稍后再复"
      "制。";
// What the user is told where the clipboard did not take a text.
constexpr std::string_view clipboardFailure(ClipboardPut put)
{
    return put == ClipboardPut::Emptied ? clipboardEmptied : clipboardBusy;
}
inline constexpr std::string_view command1Text = "开始伪原创";
inline constexpr std::string_view command2Text = "软件官网";
inline constexpr std::string_view label1Text
    = "Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板.特别适合QQ类型网站。如：QQ网名 "
      "个性签名 等类型网站.";
// What a screen reader calls the box, which has no label of its own.
inline constexpr std::string_view text1Name = "需要伪原创的内容";
// The maker's home page, as the link label shows it and the web site button opens it.
std::string_view homePageAddress();
std::string label2Text();

// The controls, in tab order; each indexes places.
enum Control : std::size_t {
    Text1, // the text box: the article in, the result out
    Command1, // 开始伪原创: Start
    Label1, // what the program does
    Command2, // 软件官网: the home page
    Label2, // the home page's address, a link
    Progress, // shown while a Start, a removal or a dropped file takes long
    controlCount,
};

// A control's place in the client area, in twips: 15 to the pixel at 96 dots per inch.
struct Place {
    std::string_view name;
    int left, top, width, height;
};
inline constexpr Place clientArea {"Form1", 0, 0, 10320, 7920};
// The progress bar sits in the gap between the box and the link label, so that no control moves
// when it shows.
inline constexpr Place places[controlCount] = {
    {"Text1", 240, 480, 8055, 6735},   {"Command1", 8520, 1320, 1335, 855},
    {"Label1", 360, 120, 9135, 255},   {"Command2", 8520, 3120, 1335, 855},
    {"Label2", 1200, 7440, 6015, 255}, {"Progress", 240, 7260, 8055, 135},
};
constexpr int pixels(int twips, int dotsPerInch = 96)
{
    return twips * dotsPerInch / 1440;
}

} // namespace zanvo::form1
