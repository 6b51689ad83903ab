// The controls of the window as data: every caption, position, font, colour,
// initial visibility and tab index is here and nowhere else. Positions and
// sizes are in twips (1/1440 inch, 15 twips per pixel at 96 dots per inch).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace quorvel {

enum class ControlId {
    Label1,
    Label2,
    Frame1,
    Option1,
    Option2,
    Option3,
    Option4,
    Label3,
    Text1,
    Label9,
    Label5,
    Text3,
    Label14,
    Label4,
    Text2,
    Label10,
    Label6,
    Text4,
    Label12,
    Label13,
    Text7,
    Label11,
    Label7,
    Text5,
    Command1,
    Command2,
    Label8,
    Text6,
};

enum class ControlKind { Label, TextBox, OptionButton, CommandButton, Frame };

// Default is the window's own font, used by controls that set none.
enum class FontFace { Default, Song, Li, Kai };

struct Rgb {
    int r, g, b;
};

struct ControlSpec {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    int left, top, width, height; // twips
    FontFace face;
    double points;
    bool bold;
    bool italic;
    std::optional<Rgb> colour; // text colour; nullopt keeps the default
    bool visible;
    int tabIndex;
    std::optional<ControlId> buddy; // the box a label names
};

inline constexpr std::string_view kWindowCaption = "Quorvel";
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 7875;
inline constexpr int kClientHeightTwips = 4590;
inline constexpr Rgb kBackground { 192, 255, 255 };
inline constexpr double kDefaultPoints = 9.0;

constexpr int TwipsToPixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

namespace detail {
using enum ControlId;
using enum ControlKind;
using enum FontFace;
inline constexpr std::optional<Rgb> kDefaultColour;
inline constexpr Rgb kRed { 255, 0, 0 };
inline constexpr Rgb kBlue { 0, 0, 255 };
inline constexpr std::optional<ControlId> kNoBuddy;
} // namespace detail

// clang-format off
inline constexpr std::array kControls = [] {
    using namespace detail;
    return std::array<ControlSpec, 28>{{
        // id       name        kind           caption                   left  top   width height font   pt    bold   italic colour          visible tab buddy
        {Label1,   "Label1",   Label,         "调节阀流通能力计算",        2160, 0,    3615, 495, Li,      18,   true,  true,  kRed,           true,  25, kNoBuddy},
        {Label2,   "Label2",   Label,         "注:先选择介质性质,再依次输入参数,最后按计算.",
                                                                         360,  720,  2535, 615, Kai,     10.5, false, false, kBlue,          true,  15, kNoBuddy},
        {Frame1,   "Frame1",   Frame,         "介质性质",                  3360, 600,  3615, 735, Default, 0,    false, false, kDefaultColour, true,  6,  kNoBuddy},
        {Option1,  "Option1",  OptionButton,  "液体",                      3480, 840,  735,  375, Default, 0,    false, false, kDefaultColour, true,  7,  kNoBuddy},
        {Option2,  "Option2",  OptionButton,  "气体",                      4200, 840,  735,  375, Default, 0,    false, false, kDefaultColour, true,  8,  kNoBuddy},
        {Option3,  "Option3",  OptionButton,  "水蒸汽",                    4920, 840,  855,  375, Default, 0,    false, false, kDefaultColour, true,  9,  kNoBuddy},
        {Option4,  "Option4",  OptionButton,  "其他蒸汽",                  5760, 840,  1095, 375, Default, 0,    false, false, kDefaultColour, true,  21, kNoBuddy},
        {Label3,   "Label3",   Label,         "阀前压力:",                 600,  1680, 1095, 255, Song,    10.5, true,  false, kDefaultColour, true,  10, Text1},
        {Text1,    "Text1",    TextBox,       "",                          1680, 1560, 975,  375, Song,    10.5, false, false, kDefaultColour, true,  23, kNoBuddy},
        {Label9,   "Label9",   Label,         "kgf/cm2",                   2760, 1680, 1455, 375, Song,    10.5, false, false, kDefaultColour, true,  18, kNoBuddy},
        {Label5,   "Label5",   Label,         "介质比重:",                 4320, 1680, 1215, 255, Song,    10.5, true,  false, kDefaultColour, true,  12, Text3},
        {Text3,    "Text3",    TextBox,       "",                          5400, 1560, 975,  375, Song,    10.5, false, false, kDefaultColour, true,  1,  kNoBuddy},
        {Label14,  "Label14",  Label,         "Label14",                   6360, 1680, 855,  375, Song,    10.5, false, false, kDefaultColour, false, 27, kNoBuddy},
        {Label4,   "Label4",   Label,         "阀后压力:",                 600,  2280, 1215, 255, Song,    10.5, true,  false, kDefaultColour, true,  11, Text2},
        {Text2,    "Text2",    TextBox,       "",                          1680, 2160, 975,  375, Song,    10.5, false, false, kDefaultColour, true,  0,  kNoBuddy},
        {Label10,  "Label10",  Label,         "kgf/cm2",                   2760, 2280, 1335, 375, Song,    10.5, false, false, kDefaultColour, true,  19, kNoBuddy},
        {Label6,   "Label6",   Label,         "最大流量:",                 4320, 2280, 1095, 255, Song,    10.5, true,  false, kDefaultColour, true,  13, Text4},
        {Text4,    "Text4",    TextBox,       "",                          5400, 2160, 975,  375, Song,    10.5, false, false, kDefaultColour, true,  3,  kNoBuddy},
        {Label12,  "Label12",  Label,         "m3/h",                      6360, 2280, 735,  375, Song,    10.5, false, false, kDefaultColour, true,  20, kNoBuddy},
        {Label13,  "Label13",  Label,         "介质温度:",                 600,  2880, 1215, 375, Song,    10.5, true,  false, kDefaultColour, false, 26, Text7},
        {Text7,    "Text7",    TextBox,       "",                          1680, 2760, 975,  375, Song,    10.5, false, false, kDefaultColour, false, 22, kNoBuddy},
        {Label11,  "Label11",  Label,         "℃",                         2760, 2880, 1215, 375, Default, 0,    false, false, kDefaultColour, false, 24, kNoBuddy},
        {Label7,   "Label7",   Label,         "计算Cv=",                   4440, 3000, 975,  255, Song,    10.5, true,  false, kDefaultColour, true,  14, Text5},
        {Text5,    "Text5",    TextBox,       "",                          5400, 2880, 975,  375, Song,    10.5, false, false, kRed,           true,  4,  kNoBuddy},
        {Command1, "Command1", CommandButton, "计算",                      1440, 3480, 1215, 495, Default, 0,    false, false, kDefaultColour, true,  2,  kNoBuddy},
        {Command2, "Command2", CommandButton, "退出",                      2880, 3480, 1215, 495, Default, 0,    false, false, kDefaultColour, true,  5,  kNoBuddy},
        {Label8,   "Label8",   Label,         "计算C=",                    4440, 3600, 1215, 495, Song,    10.5, true,  false, kDefaultColour, true,  17, Text6},
        {Text6,    "Text6",    TextBox,       "",                          5400, 3480, 975,  375, Song,    10.5, false, false, kRed,           true,  16, kNoBuddy},
    }};
}();
// clang-format on

// The window's start beyond each control's own row: the option button
// selected, the button Enter presses where no other button has the focus,
// and the longest text a box takes (0: any length). Where controls
// overlap, boxes and option buttons are drawn above labels and the frame.
inline constexpr ControlId kStartOption = ControlId::Option1;
inline constexpr ControlId kDefaultButton = ControlId::Command1;
inline constexpr int kBoxLengthLimit = 0;
constexpr bool DrawnAbove(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::OptionButton;
}

inline constexpr std::size_t kControlCount = kControls.size();

// The table is indexed by ControlId.
constexpr std::size_t Index(ControlId id)
{
    return static_cast<std::size_t>(id);
}

static_assert([] {
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (Index(kControls[i].id) != i)
            return false;
    return true;
}());

constexpr const ControlSpec &Spec(ControlId id)
{
    return kControls[Index(id)];
}

// The controls that can take the focus, in the order Tab moves through them.
// Of the option buttons, only the selected one takes part, at its own index.
constexpr bool TakesFocus(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::OptionButton
        || kind == ControlKind::CommandButton;
}
inline constexpr auto kTabOrder = [] {
    std::array<ControlId,
        std::count_if(kControls.begin(), kControls.end(),
            [](const ControlSpec &spec) { return TakesFocus(spec.kind); })>
        order {};
    std::size_t n = 0;
    for (const ControlSpec &spec : kControls)
        if (TakesFocus(spec.kind))
            order[n++] = spec.id;
    std::sort(order.begin(), order.end(),
        [](ControlId a, ControlId b) { return Spec(a).tabIndex < Spec(b).tabIndex; });
    return order;
}();

// The faces a font may be drawn in, best first: the Windows face the layout
// was drawn with and its other names, macOS's faces of the same style, then
// the nearest Chinese faces that a Linux machine may have instead
// (楷体_GB2312 is 楷体 on newer Windows; 隶书 is not part of every Windows,
// and 宋体 stands in for it). SimSun, 宋体's English name, comes first: a
// browser's fontconfig knows it as a serif face, while it answers 宋体 with
// a sans-serif one, which WebKit takes for the font asked for.
namespace detail {
inline constexpr std::string_view kSong[] = { "SimSun", "宋体", "NSimSun", "新宋体", "STSong",
    "Songti SC", "Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN" };
inline constexpr std::string_view kLi[]
    = { "隶书", "LiSu", "STLiti", "Baoli SC", "宋体", "SimSun", "新宋体", "NSimSun", "STSong",
          "Songti SC", "Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN" };
inline constexpr std::string_view kKai[] = { "楷体_GB2312", "KaiTi_GB2312", "楷体", "KaiTi",
    "STKaiti", "Kaiti SC", "AR PL UKai CN", "宋体", "SimSun", "新宋体", "NSimSun", "STSong",
    "Songti SC", "Noto Serif CJK SC", "Source Han Serif SC", "AR PL UMing CN" };
} // namespace detail

constexpr std::span<const std::string_view> FaceCandidates(FontFace face)
{
    switch (face) {
    case FontFace::Li:
        return detail::kLi;
    case FontFace::Kai:
        return detail::kKai;
    case FontFace::Default:
    case FontFace::Song:
        break;
    }
    return detail::kSong;
}

} // namespace quorvel
