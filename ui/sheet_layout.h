// Calculation sheets laid out on A4 pages, for a front end that draws text
// and lines itself (the desktop printers and the page). Places are in
// millimetres from the top left corner of the area inside the page's
// margins; a text is placed by the top left corner of its line.
#pragma once

#include "ui/sheet.h"

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

inline constexpr double kSheetPageWidthMm = 210, kSheetPageHeightMm = 297;
inline constexpr double kSheetMarginMm = 20;
inline constexpr double kSheetAreaWidthMm = kSheetPageWidthMm - 2 * kSheetMarginMm;
inline constexpr double kSheetAreaHeightMm = kSheetPageHeightMm - 2 * kSheetMarginMm;

// The sheet's fonts are one Song face in the sizes of this table; the
// title and the headings are bold. A small table's cells are Small. A
// line of a style is its size and a quarter high.
enum class SheetStyle { Title, Heading, Body, Small, Foot };
struct SheetStyleSpec {
    SheetStyle style;
    double points;
    bool bold;
};
inline constexpr std::array<SheetStyleSpec, 5> kSheetStyleSpecs { {
    { SheetStyle::Title, 16, true },
    { SheetStyle::Heading, 11, true },
    { SheetStyle::Body, 10, false },
    { SheetStyle::Small, 8, false },
    { SheetStyle::Foot, 8, false },
} };
inline constexpr auto kSheetStyles = [] {
    std::array<SheetStyle, kSheetStyleSpecs.size()> styles {};
    for (std::size_t i = 0; i < styles.size(); ++i)
        styles[i] = kSheetStyleSpecs[i].style;
    return styles;
}();
// The table is indexed by SheetStyle.
static_assert([] {
    for (std::size_t i = 0; i < kSheetStyles.size(); ++i)
        if (std::size_t(kSheetStyles[i]) != i)
            return false;
    return true;
}());
constexpr double SheetPoints(SheetStyle style)
{
    return kSheetStyleSpecs[std::size_t(style)].points;
}
constexpr bool SheetBold(SheetStyle style)
{
    return kSheetStyleSpecs[std::size_t(style)].bold;
}
// The height of one line of a style, in millimetres.
constexpr double SheetLineHeight(SheetStyle style)
{
    return SheetPoints(style) * 25.4 / 72 * 1.25;
}

struct PlacedText {
    double x, y;
    SheetStyle style;
    std::string text;
};

struct PlacedRule {
    double x1, y1, x2, y2;
};

struct SheetPage {
    std::vector<PlacedText> texts;
    std::vector<PlacedRule> rules;
    double height = 0; // of what is placed above the foot
};

// How wide a text is in a style, in millimetres, as the printer draws it.
using SheetTextWidth = std::function<double(SheetStyle, std::string_view)>;

// The width the sheets' lines are written for (kSheetColumns): a Song face
// of half an em for ASCII and a whole em for the rest. A printer measures
// each text in its own font instead.
double NominalSheetWidth(SheetStyle style, std::string_view text);

// A style's font as a front end has it, in millimetres: from the top of
// its glyphs' box to the baseline, and the whole box's height.
struct SheetFontMetrics {
    double ascent, height;
};

// What a front end draws the sheets with: its fonts' measures and the
// drawing primitives, in millimetres from the top left corner of the area
// inside a page's margins. Every placing decision is the shared code's
// (DrawSheetPage); a canvas only draws where it is told.
class SheetCanvas {
public:
    virtual double TextWidth(SheetStyle style, std::string_view text) = 0;
    virtual SheetFontMetrics Metrics(SheetStyle style) = 0;
    // False where the page could not be begun or ended (a printer's error).
    virtual bool BeginPage() = 0;
    virtual void DrawRule(const PlacedRule &rule) = 0;
    // A text in a style, its baseline beginning at (x, baseline).
    virtual void DrawText(SheetStyle style, double x, double baseline, std::string_view text) = 0;
    virtual bool EndPage() = 0;

protected:
    ~SheetCanvas() = default;
};

// Draws a laid-out page on the canvas, between BeginPage and EndPage: its
// rules, then each text on the baseline that centres its font in its
// style's line. False where the canvas failed.
bool DrawSheetPage(const SheetPage &page, SheetCanvas &canvas);

// Lays the sheets out as the canvas measures them, and draws every page
// in turn; false, at the first page the canvas failed, where it failed.
bool DrawSheets(std::span<const Sheet> sheets, SheetCanvas &canvas);

// The pages of the sheets, in their order, each sheet on pages of its own:
// the title and date centred, the sections with their tables ruled (a
// table that does not fit goes on over the next pages at a row's end, its
// heads again at the top of each), the lines to sign with a rule each, and
// at every page's foot "第 n 页 共 N 页" and the sheet's footer. A cell
// wider than its column is wrapped.
std::vector<SheetPage> LayOutSheets(std::span<const Sheet> sheets, const SheetTextWidth &width);

} // namespace quorvel
