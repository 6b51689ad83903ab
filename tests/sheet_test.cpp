// The calculation sheet's content: the medium and regime, the inputs used,
// the steps with their numbers, and the results, for each formula case;
// random inputs end in the result boxes' numbers and fit one page. Expected
// numbers are those of the calculation's reference script.
#include "ui/sheet.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "tests/case_name.h"
#include "ui/sheet_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace quorvel::test {

struct SheetCase {
    std::string name;
    MediumKind medium;
    std::array<double, 5> values;
    std::vector<std::string> state; // section 一
    std::string step; // one line of section 四
    std::string cv, c;
};

class SheetTest : public testing::TestWithParam<SheetCase> { };

TEST_P(SheetTest, ShowsTheCaseItsStepsAndTheResults)
{
    const SheetCase &c = GetParam();
    const Sheet sheet = MakeSheet(c.medium, c.values, "2026年12月10日", "0.1.0");
    ASSERT_EQ(sheet.sections.size(), 5u);
    EXPECT_EQ(sheet.title, "调节阀流通能力计算书");
    EXPECT_EQ(sheet.sections[0].lines, c.state);
    const auto &steps = sheet.sections[3].lines;
    EXPECT_NE(std::find(steps.begin(), steps.end(), c.step), steps.end()) << c.step;
    EXPECT_EQ(sheet.sections[4].lines, (std::vector<std::string> { "Cv = " + c.cv, "C = " + c.c }));
    std::vector<std::string> signatures;
    for (const SheetSignature &signature : sheet.signatures)
        signatures.push_back(signature.label + signature.value);
    EXPECT_EQ(signatures, (std::vector<std::string> { "位号", "计算", "校核", "审核", "日期" }));
    EXPECT_EQ(sheet.footer, "Quorvel 0.1.0");
    EXPECT_EQ(SheetDate(std::chrono::year(2026) / 12 / 1), "2026年12月1日");
}

INSTANTIATE_TEST_SUITE_P(Sheet, SheetTest,
    testing::Values(SheetCase { "liquid", MediumKind::Liquid, { 5, 4, 1, 10, 0 }, { "介质：液体" },
                        "1.17Q = 1.17 × Q = 1.16999995708466 × 10 = 11.6999995708466",
                        "11.6999995708466", "10" },
        SheetCase { "gas_subcritical", MediumKind::Gas, { 10, 8, 1, 1000, 27 },
            { "介质：气体", "ΔP = P1 − P2 = 10 − 8 = 2", "P1/2 = P1 / 2 = 10 / 2 = 5",
                "ΔP < P1/2，为亚临界流" },
            "T = 273 + t = 273 + 27 = 300", "10.0583670590527", "8.59689470350021" },
        SheetCase { "gas_critical", MediumKind::Gas, { 10, 4, 1, 1000, 27 },
            { "介质：气体", "ΔP = P1 − P2 = 10 − 4 = 6", "P1/2 = P1 / 2 = 10 / 2 = 5",
                "ΔP ≥ P1/2，为临界流" },
            "249P1 = 249 × P1 = 249 × 10 = 2490", "6.95602733963405", "5.94532273058087" },
        SheetCase { "water_steam_subcritical", MediumKind::WaterSteam, { 10, 8, 0, 1000, 100 },
            { "介质：水蒸汽", "ΔP = P1 − P2 = 10 − 8 = 2", "P1/2 = P1 / 2 = 10 / 2 = 5",
                "ΔP < P1/2，为亚临界流" },
            "K = 0.0013t + 1（单精度） = 0.13 + 1 = 1.12999999523163", "13.7771274717341",
            "11.77532305733" },
        SheetCase { "water_steam_critical", MediumKind::WaterSteam, { 10, 2, 0, 1000, 0 },
            { "介质：水蒸汽", "ΔP = P1 − P2 = 10 − 2 = 8", "P1/2 = P1 / 2 = 10 / 2 = 5",
                "ΔP ≥ P1/2，为临界流" },
            "11.9P1 = 11.9 × P1 = 11.9 × 10 = 119", "8.40336134453782", "7.18236012353659" },
        SheetCase { "other_steam", MediumKind::OtherSteam, { 10, 8, 200, 1000, 100 },
            { "介质：其他蒸汽" }, "t+G = t + G = 100 + 200 = 300", "10.1218584412528",
            "8.65116135928225" }),
    CaseName {});

// A C that overflows after Cv was produced: the window shows Cv and the
// error report, and there is no sheet.
TEST(Sheet, NoneForAFailedCalculation)
{
    EXPECT_THROW(MakeSheet(MediumKind::Gas, { 7e305, 0, 1, 1, 27 }, "", ""), RuntimeError);
}

TEST(Sheet, RandomInputsEndInTheResultBoxesNumbersAndFitThePage)
{
    std::mt19937_64 random(20261210);
    std::uniform_int_distribution<int> exponent(-300, 300), medium(0, 3);
    std::uniform_real_distribution<double> mantissa(-2, 10);
    int sheets = 0;
    for (int i = 0; i < 4000; ++i) {
        std::array<double, 5> values {};
        for (double &v : values)
            v = mantissa(random) * std::pow(10.0, exponent(random) / (i % 3 + 1));
        const auto kind = static_cast<MediumKind>(medium(random));
        SizingResult result;
        try {
            ComputeFlowCoefficients(
                kind, { values[0], values[1], values[2], values[3], values[4] }, result);
        } catch (const RuntimeError &) {
            EXPECT_THROW(MakeSheet(kind, values, "", ""), RuntimeError);
            continue;
        }
        ++sheets;
        const Sheet sheet = MakeSheet(kind, values, "2026年12月10日", "0.1.0");
        const std::string cv = NumberToText(result.Cv), c = NumberToText(result.C);
        EXPECT_EQ(sheet.sections[4].lines, (std::vector<std::string> { "Cv = " + cv, "C = " + c }));
        const auto &steps = sheet.sections[3].lines;
        ASSERT_FALSE(steps.empty());
        EXPECT_TRUE(steps.back().ends_with(" " + c)) << steps.back();
        for (const SheetSection &section : sheet.sections)
            for (const std::string &line : section.lines)
                EXPECT_LE(SheetWidth(line), kSheetColumns) << line;
        const std::vector<SheetPage> pages = LayOutSheets(std::span(&sheet, 1), NominalSheetWidth);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_LE(pages[0].height, kSheetAreaHeightMm - SheetLineHeight(SheetStyle::Foot));
        for (const PlacedText &text : pages[0].texts)
            EXPECT_LE(text.x + NominalSheetWidth(text.style, text.text), kSheetAreaWidthMm)
                << text.text;
    }
    EXPECT_GT(sheets, 400);
}

} // namespace quorvel::test
