// Valve lists shaped as instrument indexes are: each list, and the answer
// line each of its rows must get. The numbers a row must give are worked
// out here from the conversions as an engineer writes them (kPa = MPa ×
// 1000, gauge + 101.325 kPa, kgf/cm2 = kPa / 98.0665), and calculated.
#include "ui/valve_list.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "tests/case_name.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::test {

using M = MediumKind;

// What a row's answer line must be: a header's, a blank, a refusal, or the
// coefficients of a valve of these values, alone or, in a block that
// checks openings, followed by that check's fields.
struct AnswerLine {
    std::string text;
    bool followed = false;
    AnswerLine(const char *literal)
        : text(literal)
    {
    }
    AnswerLine(M medium, std::array<double, 5> values, bool followedByChecks = false)
        : followed(followedByChecks)
    {
        SizingResult r;
        ComputeFlowCoefficients(medium, InputsFrom(values), r);
        text = NumberToText(r.Cv) + "\t" + NumberToText(r.C);
    }
    bool Matches(std::string_view line) const
    {
        return followed ? line.starts_with(text + "\t") : line == text;
    }
};

// The fields a block that checks openings answers, with a proposed C.
constexpr const char *kOpeningHeads
    = "Cv\tC\tCv(正常)\tCv(最小)\t建议额定C\t开度(最大)%\t开度(正常)%\t开度(最小)%\t开度验算";

std::vector<std::string> LinesOf(const std::string &text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

constexpr double kgf(double kpa)
{
    return kpa / 98.0665;
}
constexpr double gauge(double mpa)
{
    return (mpa * 1000 + 101.325) / 98.0665;
}

struct IndexCase {
    std::string name;
    M selected;
    std::string list;
    std::vector<AnswerLine> lines;
    std::vector<std::string> read = {}; // lines the first block's reading must hold
};

class HeaderTest : public testing::TestWithParam<IndexCase> { };

TEST_P(HeaderTest, EachRowIsReadAsItsHeaderSays)
{
    const IndexCase &c = GetParam();
    const ListAnswer answer = CalculateValveList(c.list, c.selected);
    const std::vector<std::string> lines = LinesOf(answer.text);
    ASSERT_EQ(lines.size(), c.lines.size()) << answer.text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(c.lines[i].Matches(lines[i])) << lines[i] << "\nis not\n" << c.lines[i].text;
    for (const std::string &line : c.read) {
        ASSERT_FALSE(answer.blocks.empty());
        const auto &block = answer.blocks.front();
        std::vector<std::string> said = block.read;
        said.insert(said.end(), block.ignored.begin(), block.ignored.end());
        EXPECT_NE(std::find(said.begin(), said.end(), line), said.end())
            << line << "\nnot in:\n"
            << testing::PrintToString(said);
    }
}

const std::string kTable = "调节阀数据表\r\n";

INSTANTIATE_TEST_SUITE_P(List, HeaderTest,
    testing::Values(IndexCase { "tag_and_number_columns", M::Gas,
                        "序号\t位号\t介质\tP1\tP2\tG\tQ\r\n1\tFV-101\t液体\t5\t4\t1\t10\r\n",
                        { "Cv\tC", { M::Liquid, { 5, 4, 1, 10, 0 } } },
                        { "位号：第 2 列", "介质：第 3 列", "第 1 列（序号）" } },
        IndexCase { "gauge_mpa_and_a_drop_in_kpa", M::Liquid,
            "位号\t介质\tP1(MPa(G))\tΔP(kPa)\tG\tQ(Nm3/h)\t温度(℃)\r\n"
            "FV-201\t气体\t0.5\t50\t0.6\t1200\t40\r\n",
            { "Cv\tC", { M::Gas, { gauge(0.5), gauge(0.5) - kgf(50), 0.6, 1200, 40 } } },
            { "P1：第 3 列，MPa 表压 → kgf/cm2 abs",
                "P2：P1 − 第 4 列，P1 − ΔP（kPa → kgf/cm2 abs）" } },
        IndexCase { "a_drop_without_units", M::Liquid, "P1\tΔP\tG\tQ\r\n5\t1\t1\t10\r\n",
            { "Cv\tC", { M::Liquid, { 5, 4, 1, 10, 0 } } } },
        IndexCase { "a_units_row_and_columns_in_another_order", M::Liquid,
            "介质\tQ\tP2\tP1\t过热温度\r\n\tt/h\tbar(A)\tMPa(A)\tK\r\n水蒸汽\t2.4\t6\t1.0\t30\r\n",
            { "Cv\tC", "Cv\tC",
                { M::WaterSteam, { 1.0 * 1000 / 98.0665, 6 * 100 / 98.0665, 0, 2400, 30 } } },
            { "Q：第 2 列，t/h → kg/h" } },
        IndexCase { "a_group_header_in_full_width_brackets", M::Liquid,
            "位号\t流量（m3/h）\t\t\t压力（kPa(A)）\t\t比重(水=1)\r\n"
            "\t最大\t正常\t最小\t入口\t出口\t\r\nLV-1\t12\t10\t8\t500\t300\t0.98\r\n",
            { kOpeningHeads, kOpeningHeads,
                { M::Liquid, { kgf(500), kgf(300), 0.98, 12, 0 }, true } },
            { "Q（正常流量）：第 3 列，m3/h", "Q（最小流量）：第 4 列，m3/h" } },
        IndexCase { "english_names_kgf_absolute_and_gauge_and_kelvin", M::Liquid,
            "Medium\tInlet Pressure(kgf/cm2 abs)\tOutlet Pressure "
            "(kgf/cm²(G))\tSG\tFlow\tTemp(K)\r\n"
            "Gas\t10\t7\t1\t1000\t300.15\r\n",
            { "Cv\tC", { M::Gas, { 10, 7 + 101.325 / 98.0665, 1, 1000, 300.15 - 273.15 } } } },
        IndexCase { "a_liquid_density_and_pressures_on_a_second_line", M::Liquid,
            "介质\t\"P1\nMPa\"\t阀后压力/MPa\t密度(kg/m3)\t流量\r\n液体\t0.5\t0.3\t850\t20\r\n",
            { "Cv\tC", { M::Liquid, { kgf(500), kgf(300), 0.85, 20, 0 } } } },
        IndexCase { "units_a_medium_cannot_read", M::Liquid,
            "位号\t介质\tP1(MPa)\tP2(MPa)\tG\tQ(t/h)\r\nA\t气体\t0.5\t0.3\t1\t10\r\n"
            "B\t液体\t0.5\t0.3\t1\t10\r\nC\t其他蒸汽\t0.5\t0.3\t1\t10\r\n",
            { "Cv\tC", "出错：第 2 行 P1（第 3 列）的单位“MPa”未注明表压或绝压\t",
                { M::Liquid, { kgf(500), kgf(300), 1, 10 * 1000 / (1000 * 1.0), 0 } },
                "出错：第 4 行 P1（第 3 列）的单位“MPa”未注明表压或绝压\t" } },
        IndexCase { "cells_that_hold_no_number", M::Liquid,
            "位号\tP1\tP2\tG\tQ\r\nFV-1\t—\t4\t1\t10\r\nFV-2\t5\t/\t1\t10\r\n"
            "FV-3\t5\t4\t\t10\r\nFV-4\t12abc\t４\t1\t10\r\n",
            { "Cv\tC", "出错：第 2 行 P1（第 2 列）不是数值：“—”\t",
                "出错：第 3 行 P2（第 3 列）不是数值：“/”\t", "出错：第 4 行 G（第 4 列）是空的\t",
                { M::Liquid, { 12, 4, 1, 10, 0 } } } },
        IndexCase { "columns_the_header_lacks", M::Liquid,
            "介质\tP1\tP2\tQ\tt\r\n液体\t5\t4\t10\t\r\n水蒸汽\t10\t8\t1000\t100\r\n"
            "其他蒸汽\t10\t8\t1000\t100\r\n",
            { "Cv\tC", "出错：第 2 行 表头中没有 G（介质比重）列\t",
                "出错：第 3 行 表头中只有温度列，没有水蒸汽的过热温度列\t",
                "出错：第 4 行 表头中没有 G（出口比容）列\t" } },
        IndexCase { "saturated_steam_and_an_unknown_unit", M::Liquid,
            "介质\tP1\tP2\tQ\t过热度\r\n水蒸汽\t10\t8\t1000\t\r\n\r\n"
            "介质\tP1(MPa(A))\tP2(MPa(A))\tQ(bbl/d)\r\n水蒸汽\t1\t0.8\t100\r\n",
            { "Cv\tC", { M::WaterSteam, { 10, 8, 0, 1000, 0 } }, "", "Cv\tC",
                "出错：第 5 行 Q（第 4 列）的单位“bbl/d”不认识\t" } },
        IndexCase { "two_blocks_a_liquid_pressure_marked_once_and_a_density_without_unit",
            M::Liquid,
            "P1(MPa(G))\tP2(MPa)\tG\tQ\r\n5\t4\t1\t10\r\n" + kTable
                + "P1\tP2\t密度\tQ\r\n5\t4\t850\t10\r\n",
            { "Cv\tC", "出错：第 2 行 P1 和 P2（第 1、2 列）的单位一个注明了表压或绝压，一个没有\t",
                "Cv\tC", "Cv\tC",
                "出错：第 5 行 ρ（第 3 列）是密度，须注明单位 kg/m3 或 g/cm3\t" } },
        IndexCase { "a_medium_by_another_name_or_none_the_list_knows", M::OtherSteam,
            "位号\t介质\tP1\tP2\tG\tQ\tt\r\nP-1\t循环水\t10\t8\t200\t1000\t100\r\n"
            "P-2\t气相\t10\t8\t1\t1000\t27\r\n",
            { "Cv\tC", { M::OtherSteam, { 10, 8, 200, 1000, 100 } },
                { M::Gas, { 10, 8, 1, 1000, 27 } } } },
        IndexCase { "no_header_that_names_columns", M::Liquid,
            kTable
                + "5\t4\t1\t10\r\n气相\t10\t8\t1\t1000\t27\r\n液体\t5\tjunk\t1\t10\r\n"
                  "水蒸汽\t10\t8\tjunk\t1000\t100\r\n",
            { "Cv\tC", { M::Liquid, { 5, 4, 1, 10, 0 } }, { M::Gas, { 10, 8, 1, 1000, 27 } },
                "出错：第 4 行 P2（第 3 列）不是数值：“junk”\t",
                { M::WaterSteam, { 10, 8, 0, 1000, 100 } } } }),
    CaseName {});

} // namespace quorvel::test

namespace quorvel::test {

// The saturation temperature in ℃ by another route than the program's: the
// standard's saturation-pressure equation (IAPWS-IF97 equation 30), solved
// for the temperature by bisection.
double SaturationCelsius(double mpa)
{
    const double n[] = { 0, 0.11670521452767e4, -0.72421316703206e6, -0.17073846940092e2,
        0.12020824702470e5, -0.32325550322333e7, 0.14915108613530e2, -0.48232657361591e4,
        0.40511340542057e6, -0.23855557567849, 0.65017534844798e3 };
    const auto pressure = [&](double kelvin) {
        const double v = kelvin + n[9] / (kelvin - n[10]);
        const double a = v * v + n[1] * v + n[2], b = n[3] * v * v + n[4] * v + n[5],
                     c = n[6] * v * v + n[7] * v + n[8];
        return std::pow(2 * c / (-b + std::sqrt(b * b - 4 * a * c)), 4);
    };
    double low = 273.16, high = 647.096;
    for (int i = 0; i < 100; ++i)
        (pressure((low + high) / 2) < mpa ? low : high) = (low + high) / 2;
    return low - 273.15;
}

constexpr double kPsi = 6.894757293168, kLb = 0.45359237;
double psig(double psi)
{
    return (psi * kPsi + 101.325) / 98.0665;
}

// A process table's row as the process engineer writes it: the medium it
// must be calculated as and the five values it must come to, each worked
// out here as an engineer converts by hand; or part of the reason it must
// fail. And lines the message and the book must hold.
struct ProcessCase {
    std::string name;
    M selected;
    std::string list; // a header and one valve
    M medium = M::Liquid;
    std::array<double, 5> values = {};
    std::string failure = {};
    std::vector<std::string> read = {};
    std::string book = {};
};

class ProcessDataTest : public testing::TestWithParam<ProcessCase> { };

TEST_P(ProcessDataTest, EachValueIsDerivedAsAnEngineerWould)
{
    const ProcessCase &c = GetParam();
    ValveRow seen;
    const ListAnswer answer
        = CalculateValveList(c.list, c.selected, [&](const ValveRow &v) { seen = v; });
    if (!c.failure.empty()) {
        EXPECT_NE(seen.failure.find(c.failure), std::string::npos) << seen.failure;
        return;
    }
    ASSERT_TRUE(seen.Calculated()) << seen.failure;
    EXPECT_EQ(seen.medium, c.medium);
    for (std::size_t i = 0; i < kInputCount; ++i)
        EXPECT_NEAR(seen.values[i], c.values[i], 1e-9 * std::max(1.0, std::abs(c.values[i])))
            << kInputs[i].symbol;
    EXPECT_TRUE(AnswerLine(seen.medium, seen.values, seen.checksOpenings)
                    .Matches(LinesOf(answer.text).back()));
    ASSERT_FALSE(answer.blocks.empty());
    for (const std::string &line : c.read)
        EXPECT_NE(std::find(answer.blocks[0].read.begin(), answer.blocks[0].read.end(), line),
            answer.blocks[0].read.end())
            << line << "\nnot in:\n"
            << testing::PrintToString(answer.blocks[0].read);
    if (!c.book.empty()) {
        std::vector<std::string> lines;
        for (const auto &parts : seen.derivation) {
            std::string line = parts.front();
            for (std::size_t i = 1; i < parts.size(); ++i)
                line += " = " + parts[i];
            lines.push_back(line);
        }
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.book), lines.end())
            << c.book << "\nnot in:\n"
            << testing::PrintToString(lines);
    }
}

const std::string kC4Header
    = "位号\t介质\t相态\t流量(kg/h)\t\t\t阀前压力\t阀后压力\t操作温度\t操作密度\r\n"
      "\t\t\t最大\t正常\t最小\tMPa(G)\tMPa(G)\t℃\tkg/m3\r\n";

INSTANTIATE_TEST_SUITE_P(List, ProcessDataTest,
    testing::Values(
        ProcessCase { "a_liquid_s_mass_flow_and_density_under_a_group_s_unit", M::Gas,
            kC4Header + "290-LV-10101\t混合C4\t液相\t22000\t20000\t14000\t0.56\t0.51\t40\t550\r\n",
            M::Liquid, { gauge(0.56), gauge(0.51), 0.55, 40, 0 }, {},
            { "Q（最大流量）：第 4 列 ÷ 第 10 列，W / ρ（kg/h、kg/m3 → m3/h）",
                "G：第 10 列，ρ / 1000（kg/m3）", "相态：第 3 列" },
            "Q = W / ρ = 22000 / 550 = 40" },
        ProcessCase { "steam_s_temperature_gives_its_superheat", M::Liquid,
            kC4Header + "290-FV-10601\t蒸汽\t气相\t9679\t6452.56\t4517\t0.97\t0.92\t250\t4.21\r\n",
            M::WaterSteam, { gauge(0.97), gauge(0.92), 0, 9679, 250 - SaturationCelsius(1.071325) },
            {}, { "t：第 9 列 − ts(第 7 列)，t − ts(P1)（℃、MPa 表压 → ℃）" },
            "p = P1 / 1000 = 1071.325 / 1000 = 1.071325" },
        ProcessCase { "a_gas_phase_is_never_a_liquid", M::Liquid,
            "位号\t介质\t相态\tP1(MPa(G))\tP2(MPa(G))\t相对密度\t流量(m3/h)\t温度(℃)\r\n"
            "PV-201\t氮气\t气相\t0.6\t0.2\t0.967\t500\t30\r\n",
            M::Gas, { gauge(0.6), gauge(0.2), 0.967, 500, 30 } },
        ProcessCase { "low_pressure_steam_in_its_vapour_phase", M::Liquid,
            "Tag\tFluid\tPhase\tP1(MPaA)\tP2(MPaA)\tFlow(t/h)\tSuperheat(K)\r\n"
            "FV-7\tLP Steam\tVapour\t1\t0.6\t2\t30\r\n",
            M::WaterSteam, { 1000 / 98.0665, 600 / 98.0665, 0, 2000, 30 } },
        ProcessCase { "a_standard_density_and_the_data_sheet_s_kpa_words", M::Liquid,
            "介质\tP1(kPa abs.)\tP2(kPa gauge)\t标准密度(kg/Nm3)\t流量(Nm3/h)\t温度(DEG C)\r\n"
            "气体\t700\t300\t1.25\t1000\t20\r\n",
            M::Gas, { kgf(700), kgf(300 + 101.325), 1.25 / 1.293, 1000, 20 } },
        ProcessCase { "us_units_a_molecular_weight_and_a_mass_flow", M::Liquid,
            "Medium\tInlet Pressure (psia)\tOutlet Pressure (psig)\tMW\tMass Flow (lb/h)\t"
            "Temperature (DEG F)\r\nGas\t100\t50\t44.01\t1000\t100\r\n",
            M::Gas,
            { 100 * kPsi / 98.0665, psig(50), 44.01 / 28.96, 1000 * kLb * 22.414 / 44.01,
                (100 - 32) / 1.8 },
            {}, { "G：第 4 列，M / 28.96（无单位）" },
            "Q = W × 22.414 / M = 453.59237 × 22.414 / 44.01 = "
                + NumberToText(1000 * kLb * 22.414 / 44.01) },
        ProcessCase { "a_gas_s_operating_density", M::Liquid,
            "介质\tP1(MPaA)\tP2(MPaA)\t密度(kg/m3)\tQ(Nm3/"
            "h)\tt(℃)\r\n气体\t0.5\t0.3\t5.8\t800\t40\r\n",
            M::Gas,
            { kgf(500), kgf(300), 5.8 * (101.325 / 500) * ((273.15 + 40) / 273.15) / 1.293, 800,
                40 } },
        ProcessCase { "a_gas_s_mass_flow_by_its_gravity_named_in_quotes", M::Liquid,
            "介质\tP1(barg)\tP2(bara)\t比重\"G\"\t流量(t/h)\tt\r\n气体\t5\t3\t0.6\t2\t30\r\n",
            M::Gas, { (500 + 101.325) / 98.0665, kgf(300), 0.6, 2000 / (1.293 * 0.6), 30 } },
        ProcessCase { "a_liquid_s_mass_flow_by_its_gravity", M::Liquid,
            "P1(psi)\tP2(psi)\tSG\tFlow(lb/hr)\r\n100\t80\t0.8\t50000\r\n", M::Liquid,
            { 100 * kPsi / 98.0665, 80 * kPsi / 98.0665, 0.8, 50000 * kLb / (1000 * 0.8), 0 } },
        ProcessCase { "gallons_a_minute_and_pounds_a_cubic_foot", M::Liquid,
            "P1(kPa)\tP2(kPa)\tDensity (lb/ft3)\tFlow (gpm)\r\n500\t300\t62.4\t100\r\n", M::Liquid,
            { kgf(500), kgf(300), 62.4 * 16.018463373960 / 1000, 100 * 0.22712470704, 0 } },
        ProcessCase { "other_steam_s_densities", M::Liquid,
            "介质\tP1(MPa(A))\tP2(MPa(A))\t出口密度(kg/m3)\t流量(kg/h)\t入口密度(kg/m3)\r\n"
            "其他蒸汽\t1\t0.6\t3.2\t2000\t5.1\r\n",
            M::OtherSteam, { kgf(1000), kgf(600), 1000 / 3.2, 2000, 1000 / 5.1 } },
        ProcessCase { "just_below_saturation_is_saturated", M::Liquid,
            "介质\tP1(MPa(A))\tP2(MPa(A))\t流量(kg/h)\t温度(℃)\r\n水蒸汽\t1\t0.8\t1000\t"
                + NumberToText(SaturationCelsius(1) - 0.5) + "\r\n",
            M::WaterSteam, { kgf(1000), kgf(800), 0, 1000, 0 } },
        ProcessCase { "a_zero_density", M::Liquid,
            "P1\tP2\t密度(kg/m3)\t流量(kg/h)\r\n5\t4\t0\t1000\r\n", {}, {},
            "Q = W / ρ 时除数为零" },
        ProcessCase { "steam_below_saturation", M::Liquid,
            "介质\tP1(MPa(A))\tP2(MPa(A))\t流量(kg/h)\t温度(℃)\r\n水蒸汽\t1\t0.8\t1000\t150\r\n",
            {}, {}, "低于 P1 下的饱和温度 ts = 179.88" },
        ProcessCase { "an_unmarked_psi_for_a_gas", M::Liquid,
            "介质\tP1(psi)\tP2(psi)\tG\tQ\tt\r\n气体\t100\t50\t1\t100\t20\r\n", {}, {},
            "的单位“psi”未注明表压或绝压" },
        ProcessCase { "two_units_in_one", M::Liquid,
            "介质\tP1(KG/CM2/MMWC)\tP2\tG\tQ\r\n液体\t5\t4\t1\t10\r\n", {}, {},
            "的单位“KG/CM2/MMWC”不认识" },
        ProcessCase { "a_gas_s_mass_flow_without_its_gravity", M::Liquid,
            "介质\tP1(MPaA)\tP2(MPaA)\t流量(kg/h)\tt\r\n气体\t0.5\t0.3\t100\t20\r\n", {}, {},
            "表头中没有 G（介质比重）列" },
        ProcessCase { "a_density_that_is_no_number", M::Liquid,
            "P1\tP2\t密度(kg/m3)\t流量(kg/h)\r\n5\t4\t—\t1000\r\n", {}, {}, "不是数值：“—”" }),
    CaseName {});

} // namespace quorvel::test

namespace quorvel::test {

// The ideal characteristics' openings, as the valve engineer's tables give them.
TEST(Opening, AgainstHandValues)
{
    struct {
        Characteristic characteristic;
        double phi, r, opening;
    } const cases[] = {
        { Characteristic::Linear, 0.5, 30, 48.275862068965516 },
        { Characteristic::EqualPercentage, 0.5, 30, 79.62049529094939 },
        { Characteristic::EqualPercentage, 0.8, 30, 93.43926487426731 },
        { Characteristic::EqualPercentage, 0.1, 30, 32.30075074711546 },
        { Characteristic::Linear, 1.0 / 50, 50, 0 },
        { Characteristic::EqualPercentage, 1, 50, 100 },
    };
    for (const auto &c : cases)
        EXPECT_NEAR(Opening(c.characteristic, c.phi, c.r, nullptr), c.opening, 1e-12)
            << CharacteristicName(c.characteristic) << " φ " << c.phi;
    EXPECT_THROW(Opening(Characteristic::EqualPercentage, 0, 30, nullptr), RuntimeError);
}

// l at φ, worked by hand from the ideal characteristics.
double EqualPercentage(double phi, double r = 30)
{
    return (1 + std::log(phi) / std::log(r)) * 100;
}
double Linear(double phi, double r = 30)
{
    return (r * phi - 1) / (r - 1) * 100;
}

// A block whose openings are checked, and what its one valve must answer.
// P1 5, P2 4 and G 1 make a liquid's C its flow (C = Q × (G/ΔP)^0.5), and
// its Cv 1.17 (held in single precision) times that.
struct OpeningCase {
    std::string name;
    std::string list;
    std::optional<double> rated;
    bool proposed = false;
    std::array<std::optional<double>, 3> openings = {}; // max, normal, min
    std::string verdict = "合格";
    std::string field = {}; // a field the answer line must hold
    std::vector<std::string> read = {};
};

class OpeningTest : public testing::TestWithParam<OpeningCase> { };

TEST_P(OpeningTest, EachPointIsCheckedAsTheValveEngineerChecksIt)
{
    const OpeningCase &c = GetParam();
    ValveRow seen;
    const ListAnswer answer
        = CalculateValveList(c.list, M::Liquid, [&](const ValveRow &v) { seen = v; });
    ASSERT_TRUE(seen.Calculated()) << seen.failure;
    ASSERT_TRUE(seen.checksOpenings);
    const OpeningCheck &check = seen.opening;
    EXPECT_EQ(check.Verdict(), c.verdict);
    EXPECT_EQ(check.proposed, c.proposed);
    if (c.rated) {
        EXPECT_EQ(check.rated, c.rated);
    }
    for (std::size_t p = 0; p < kFlowPoints; ++p) {
        ASSERT_EQ(check.points[p].opening.has_value(), c.openings[p].has_value()) << p;
        if (c.openings[p]) {
            EXPECT_NEAR(*check.points[p].opening, *c.openings[p], 1e-9) << p;
        }
    }
    // The answer line: Cv and C, Cv at the normal and minimum flows, the
    // rated value, the three openings, the verdict.
    std::vector<std::string> fields;
    const std::string line = LinesOf(answer.text).back();
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1)
        fields.push_back(line.substr(at, (end = line.find('\t', at)) - at));
    ASSERT_EQ(fields.size(), 9u) << line;
    EXPECT_EQ(fields[8], c.verdict);
    for (std::size_t p = 0; p < kFlowPoints; ++p)
        EXPECT_EQ(fields[5 + p], c.openings[p] ? NumberToText(*check.points[p].opening) : "");
    if (!c.field.empty()) {
        EXPECT_NE(std::find(fields.begin(), fields.end(), c.field), fields.end())
            << c.field << " not in " << line;
    }
    // The header row names the fields, the rated value's and the verdict's too.
    const std::string heads = LinesOf(answer.text).front();
    EXPECT_NE(heads.find("\t开度(最大)%\t开度(正常)%\t开度(最小)%\t开度验算"), std::string::npos);
    EXPECT_NE(heads.find("额定"), std::string::npos);
    for (const std::string &said : c.read)
        EXPECT_NE(std::find(answer.blocks[0].read.begin(), answer.blocks[0].read.end(), said),
            answer.blocks[0].read.end())
            << said << "\nnot in:\n"
            << testing::PrintToString(answer.blocks[0].read);
}

const double kCvOf80 = double(1.17f) * 80; // a liquid's Cv at Q 80, G 1, ΔP 1

INSTANTIATE_TEST_SUITE_P(List, OpeningTest,
    testing::Values(
        OpeningCase { "a_group_over_three_flows_and_a_rated_c",
            "位号\tP1\tP2\tG\t流量\t\t\t额定C\r\n\t\t\t\t最大\t正常\t最小\t\r\n"
            "V-1\t5\t4\t1\t80\t50\t10\t100\r\n",
            100, false, { EqualPercentage(0.8), EqualPercentage(0.5), EqualPercentage(0.1) },
            "最大流量开度大于 90%", "100",
            { "Q（正常流量）：第 6 列，无单位，按窗口的单位",
                "额定 C：第 8 列（空格按 R10 系列建议）", "流量特性：表中未给，按等百分比（默认）",
                "可调比 R：表中未给，按 R = 30（默认）" } },
        OpeningCase { "three_named_flows_linear",
            "位号\tP1\tP2\tG\t最大流量\t正常流量\t最小流量\t额定流通能力\t流量特性\r\n"
            "V-2\t5\t4\t1\t60\t50\t10\t100\t直线\r\n",
            100, false, { Linear(0.6), Linear(0.5), Linear(0.1) }, "最小流量开度小于 10%", {},
            { "流量特性：第 9 列（空格按等百分比）" } },
        OpeningCase { "a_rated_cv_and_an_english_min_flow",
            "Tag\tP1\tP2\tSG\tMax Flow\tMin Flow\tRated Cv\tCharacteristic\r\n"
            "V-3\t5\t4\t1\t80\t20\t187.2\tEQ%\r\n",
            187.2, false,
            { EqualPercentage(kCvOf80 / 187.2), {}, EqualPercentage(kCvOf80 / 4 / 187.2) } },
        OpeningCase { "a_kvs_and_a_rangeability",
            "位号\tP1\tP2\tG\tQ\tKvs\t可调比\r\nV-4\t5\t4\t1\t80\t160\t50\r\n", 160, false,
            { EqualPercentage(kCvOf80 / (1.156 * 160), 50), {}, {} }, "合格", "160",
            { "额定 Kv：第 6 列，按 Cv = 1.156 × Kv（空格按 R10 系列建议）",
                "可调比 R：第 7 列（空格按 R = 30）" } },
        // φ at most 30^−0.1 = 0.7117: C 80 needs a rated C of 112.4 at least.
        OpeningCase { "a_rated_c_proposed",
            "位号\tP1\tP2\tG\t流量\t正常流量\r\nV-5\t5\t4\t1\t80\t40\r\n", 125, true,
            { EqualPercentage(0.64), EqualPercentage(0.32), {} }, "合格", "125",
            { "额定 C：表中未给，按 R10 系列建议（须按所选产品的系列核对）" } },
        // Linear: φ at most 0.9033, a rated C of 88.6 at least.
        OpeningCase { "a_proposal_for_a_linear_valve_and_an_empty_rated_cell",
            "位号\tP1\tP2\tG\t流量\t额定C\t特性\r\nV-6\t5\t4\t1\t80\t\t线性\r\n", 100, true,
            { Linear(0.8), {}, {} }, "合格", "建议 100" },
        OpeningCase { "every_reason_at_once",
            "位号\tP1\tP2\tG\tQmax\tQmin\t额定C\r\nV-7\t5\t4\t1\t80\t1\t50\r\n", 50, false,
            { EqualPercentage(1.6), {}, EqualPercentage(0.02) },
            "最大流量开度大于 90%；最小流量开度小于 10%；开度大于 100%，阀门偏小；φ 小于 "
            "1/R，低于可调范围" },
        OpeningCase { "a_minimum_that_is_no_number_beside_a_good_maximum",
            "位号\tP1\tP2\tG\t流量\t最小流量\t额定C\r\nV-8\t5\t4\t1\t80\tabc\t100\r\n", 100, false,
            { EqualPercentage(0.8), {}, {} }, "最大流量开度大于 90%；最小流量出错，未验算",
            "出错：Q（第 6 列）不是数值：“abc”" },
        OpeningCase { "a_quick_opening_valve_is_not_checked",
            "位号\tP1\tP2\tG\t流量\t正常流量\t流量特性\r\nV-9\t5\t4\t1\t80\t40\t快开\r\n", {},
            false, {}, "出错：流量特性（第 7 列）“快开”不是线性或等百分比，不验算开度" }),
    CaseName {});

} // namespace quorvel::test
