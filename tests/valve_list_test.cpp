// Valve lists shaped as instrument indexes are: each list, and the answer
// line each of its rows must get. The numbers a row must give are worked
// out here from the conversions as an engineer writes them (kPa = MPa ×
// 1000, gauge + 101.325 kPa, kgf/cm2 = kPa / 98.0665), and calculated.
#include "ui/valve_list.h"

#include "runtime/text.h"
#include "tests/case_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel::test {

using M = MediumKind;

// What a row's answer line must be: a header's, a blank, a refusal, or the
// coefficients of a valve of these values.
struct AnswerLine {
    std::string text;
    AnswerLine(const char *literal)
        : text(literal)
    {
    }
    AnswerLine(M medium, std::array<double, 5> values)
    {
        SizingResult r;
        ComputeFlowCoefficients(medium, InputsFrom(values), r);
        text = NumberToText(r.Cv) + "\t" + NumberToText(r.C);
    }
};

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
    std::string expected;
    for (const AnswerLine &line : c.lines)
        expected += line.text + "\n";
    EXPECT_EQ(answer.text, expected);
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
            { "P1：第 3 列，MPa 表压 → kgf/cm2 abs", "P2：P1 − ΔP，ΔP 第 4 列，kPa → kgf/cm2" } },
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
            { "Cv\tC", "Cv\tC", { M::Liquid, { kgf(500), kgf(300), 0.98, 12, 0 } } },
            { "第 3 列（流量（m3/h） 正常）", "第 4 列（流量（m3/h） 最小）" } },
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
                "出错：第 3 行 Q（第 6 列）的单位“t/h”不适用于液体\t",
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
            "介质\tP1(MPa(A))\tP2(MPa(A))\tQ(psi)\r\n水蒸汽\t1\t0.8\t100\r\n",
            { "Cv\tC", { M::WaterSteam, { 10, 8, 0, 1000, 0 } }, "", "Cv\tC",
                "出错：第 5 行 Q（第 4 列）的单位“psi”不认识\t" } },
        IndexCase { "two_blocks_a_liquid_pressure_marked_once_and_a_density_without_unit",
            M::Liquid,
            "P1(MPa(G))\tP2(MPa)\tG\tQ\r\n5\t4\t1\t10\r\n" + kTable
                + "P1\tP2\t密度\tQ\r\n5\t4\t850\t10\r\n",
            { "Cv\tC", "出错：第 2 行 P1 和 P2（第 1、2 列）的单位一个注明了表压或绝压，一个没有\t",
                "Cv\tC", "Cv\tC",
                "出错：第 5 行 G（第 3 列）是密度，须注明单位 kg/m3 或 g/cm3\t" } },
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
