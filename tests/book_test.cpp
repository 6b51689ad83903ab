// The calculation book of a list: its pages and their feet, the summary's
// rows, and each valve's sheet with its tag, its conversions and the
// list's numbers; a summary too long for a page goes on at a row's end,
// under its heads again.
#include "ui/book.h"

#include "tests/twelve_valves.h"
#include "ui/sheet_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorvel::test {

namespace {

std::vector<ValveRow> ValvesOf(std::string_view list, ListAnswer &answer)
{
    std::vector<ValveRow> valves;
    answer = CalculateValveList(
        list, MediumKind::Liquid, [&](const ValveRow &v) { valves.push_back(v); });
    return valves;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

bool Holds(const SheetPage &page, std::string_view text)
{
    return std::any_of(page.texts.begin(), page.texts.end(),
        [&](const PlacedText &placed) { return placed.text == text; });
}

} // namespace

TEST(Book, TwelveValvesSummedUpAndEachOnItsOwnPage)
{
    ListAnswer answer;
    const std::vector<ValveRow> valves = ValvesOf(kTwelveValves, answer);
    const std::vector<std::string> lines = Lines(answer.text);
    ASSERT_EQ(valves.size(), 12u);
    const std::vector<Sheet> book = MakeBook(valves, "2026年12月10日", "0.1.0");
    ASSERT_EQ(book.size(), 12u); // the summary and the eleven that were calculated
    EXPECT_EQ(book[0].title, "调节阀流通能力计算汇总表");

    const SheetTable &summary = book[0].sections[0].table;
    ASSERT_EQ(summary.rows.size(), 12u);
    // The second block's openings are checked: the summary's second table.
    ASSERT_EQ(book[0].sections.size(), 2u);
    const SheetTable &openings = book[0].sections[1].table;
    ASSERT_EQ(openings.rows.size(), 3u);
    std::size_t sheet = 1, checked = 0;
    for (std::size_t k = 0; k < valves.size(); ++k) {
        const ValveRow &valve = valves[k];
        const std::vector<std::string> &row = summary.rows[k];
        SCOPED_TRACE(valve.tag);
        EXPECT_EQ(row[1], valve.tag);
        const std::string &line = lines[valve.line - 1];
        // Cv and C, then the opening check's fields: Cv at the normal and
        // the minimum flow, the rated value, the three openings, the verdict.
        std::vector<std::string> fields;
        for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1)
            fields.push_back(line.substr(at, (end = line.find('\t', at)) - at));
        const std::string answered = fields[0] + "\t" + fields[1];
        if (!valve.failure.empty()) {
            // The reason in place of the numbers.
            EXPECT_EQ(row,
                (std::vector<std::string> {
                    std::to_string(valve.line), valve.tag, "液体", "出错：" + valve.failure }));
            EXPECT_NE(answered.find(valve.failure), std::string::npos);
            continue;
        }
        ASSERT_EQ(row.size(), summary.heads.size());
        EXPECT_EQ(row[9] + "\t" + row[10], answered);
        const Sheet &s = book[sheet++];
        EXPECT_EQ(s.signatures[0].value, valve.tag);
        EXPECT_EQ(s.sections[0].lines[0],
            "整表计算：表中第 " + std::to_string(valve.line) + " 行，位号 " + valve.tag);
        const std::string cv = answered.substr(0, answered.find('\t'));
        EXPECT_EQ(s.sections[4].lines,
            (std::vector<std::string> { "Cv = " + cv, "C = " + answered.substr(cv.size() + 1) }));
        // Each value as the list wrote it, beside the value used, and how it
        // became it.
        const SheetTable &inputs = s.sections[1].table;
        EXPECT_EQ(inputs.heads[2], "表中所列");
        const bool steam = valve.medium == MediumKind::WaterSteam;
        EXPECT_TRUE(inputs.rows[0][2].ends_with(steam ? " MPa(G)" : " kPa(A)"))
            << inputs.rows[0][2];
        EXPECT_TRUE(s.sections[3].lines[0].starts_with(steam ? "P1 = (" : "P1 = "))
            << s.sections[3].lines[0];
        ASSERT_EQ(s.sections.size(), valve.checksOpenings ? 6u : 5u);
        if (!valve.checksOpenings)
            continue;
        // The summary's and the sheet's openings are the answer's.
        ASSERT_EQ(fields.size(), 9u) << line;
        const std::vector<std::string> &opened = openings.rows[checked++];
        EXPECT_EQ(opened[1], valve.tag);
        EXPECT_EQ(opened[2], "C " + fields[4] + "（建议）");
        EXPECT_EQ(std::vector(opened.begin() + 3, opened.end()),
            std::vector(fields.begin() + 5, fields.end()));
        const SheetSection &check = s.sections[5];
        EXPECT_EQ(check.heading, "六、开度验算");
        EXPECT_EQ(check.table.rows[0][5], fields[5]);
        EXPECT_TRUE(check.lines.back().starts_with("结论：" + fields[8] + "（"))
            << check.lines.back();
    }

    const std::vector<SheetPage> pages = LayOutSheets(book, NominalSheetWidth);
    ASSERT_EQ(pages.size(), 12u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(Holds(pages[i], "第 " + std::to_string(i + 1) + " 页 共 12 页")) << i;
        EXPECT_TRUE(Holds(pages[i], "Quorvel 0.1.0")) << i;
        for (const PlacedText &text : pages[i].texts)
            EXPECT_LE(text.x + NominalSheetWidth(text.style, text.text), kSheetAreaWidthMm + 1e-9)
                << text.text;
    }
}

TEST(Book, ASummaryLongerThanAPageGoesOnAtARowUnderItsHeads)
{
    std::string list = "位号\tP1\tP2\tG\tQ\r\n";
    for (int i = 1; i <= 90; ++i)
        list += "FV-" + std::to_string(i) + "\t5\t4\t1\t" + std::to_string(i) + "\r\n";
    ListAnswer answer;
    const std::vector<ValveRow> valves = ValvesOf(list, answer);
    const std::vector<Sheet> book = MakeBook(valves, "", "0.1.0");
    const std::vector<SheetPage> pages = LayOutSheets(std::span(book).first(1), NominalSheetWidth);
    ASSERT_EQ(pages.size(), 2u);
    std::vector<int> pageOf(91, -1);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(Holds(pages[p], "流动状态")) << "the heads on page " << p + 1;
        for (const PlacedText &text : pages[p].texts)
            if (text.text.starts_with("FV-")) {
                const int row = std::stoi(text.text.substr(3));
                EXPECT_EQ(pageOf[std::size_t(row)], -1) << text.text;
                pageOf[std::size_t(row)] = int(p);
                // The row's number stands on the same page, at the same height.
                EXPECT_TRUE(std::any_of(
                    pages[p].texts.begin(), pages[p].texts.end(), [&](const PlacedText &t) {
                        return t.y == text.y && t.text == std::to_string(row + 1);
                    }));
            }
        EXPECT_LE(pages[p].height, kSheetAreaHeightMm - SheetLineHeight(SheetStyle::Foot));
    }
    EXPECT_TRUE(std::is_sorted(pageOf.begin() + 1, pageOf.end()));
    EXPECT_EQ(pageOf[1], 0);
    EXPECT_EQ(pageOf[90], 1);
}

} // namespace quorvel::test

namespace quorvel::test {

// A canvas that keeps what it is told, measuring in the nominal Song face
// whose box is its size, four fifths of it above the baseline.
class RecordingCanvas final : public SheetCanvas {
public:
    struct Drawn {
        SheetStyle style;
        double x, baseline;
        std::string text;
    };
    double TextWidth(SheetStyle style, std::string_view text) override
    {
        return NominalSheetWidth(style, text);
    }
    SheetFontMetrics Metrics(SheetStyle style) override
    {
        const double size = SheetPoints(style) * 25.4 / 72;
        return { size * 0.8, size };
    }
    bool BeginPage() override
    {
        EXPECT_FALSE(open_);
        open_ = true;
        pages.emplace_back();
        return true;
    }
    void DrawRule(const PlacedRule &rule) override
    {
        EXPECT_TRUE(open_);
        rules.push_back(rule);
    }
    void DrawText(SheetStyle style, double x, double baseline, std::string_view text) override
    {
        EXPECT_TRUE(open_);
        pages.back().push_back({ style, x, baseline, std::string(text) });
    }
    bool EndPage() override
    {
        EXPECT_TRUE(open_);
        open_ = false;
        return true;
    }

    std::vector<std::vector<Drawn>> pages;
    std::vector<PlacedRule> rules;

private:
    bool open_ = false;
};

// The book drawn through a canvas with no toolkit: each page begun and
// ended once, every text of the laid-out page drawn once, on the baseline
// that centres its font's box in its line, inside the printable area.
TEST(Book, DrawnThroughACanvasAsLaidOut)
{
    ListAnswer answer;
    const std::vector<Sheet> book = MakeBook(ValvesOf(kTwelveValves, answer), "", "0.1.0");
    RecordingCanvas canvas;
    ASSERT_TRUE(DrawSheets(book, canvas));
    const std::vector<SheetPage> pages = LayOutSheets(book, NominalSheetWidth);
    ASSERT_EQ(canvas.pages.size(), 12u);
    ASSERT_EQ(pages.size(), 12u);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto &drawn = canvas.pages[p];
        ASSERT_EQ(drawn.size(), pages[p].texts.size()) << p;
        EXPECT_EQ(drawn.back().text, "Quorvel 0.1.0");
        for (std::size_t t = 0; t < drawn.size(); ++t) {
            const PlacedText &placed = pages[p].texts[t];
            const double size = SheetPoints(placed.style) * 25.4 / 72;
            EXPECT_EQ(drawn[t].text, placed.text);
            EXPECT_EQ(drawn[t].x, placed.x);
            EXPECT_NEAR(drawn[t].baseline,
                placed.y + (SheetLineHeight(placed.style) - size) / 2 + size * 0.8, 1e-9)
                << placed.text;
            EXPECT_LE(drawn[t].baseline, kSheetAreaHeightMm) << placed.text;
        }
    }
    EXPECT_EQ(canvas.pages[0][0].text, "调节阀流通能力计算汇总表");
}

} // namespace quorvel::test
