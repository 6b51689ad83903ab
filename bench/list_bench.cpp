// Valve lists of 10,000 lines through the form's list function, as
// Ctrl+Shift+V calculates them: one read by position (headers, blanks,
// captions, four and five fields, failures), and an instrument index read
// by its headers, in blocks of 1,000 rows with units to convert, and a
// process table whose every value is derived, at three flows with the
// valve's openings checked. The time per line is the
// time divided by 10,000.
#include "ui/valve_list.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string MixedList(int lines)
{
    std::string list = "介质\tP1\tP2\tG\tQ\tt\r\n";
    for (int i = 1; i < lines; ++i) {
        const std::string n = std::to_string(i % 97 + 2);
        switch (i % 8) {
        case 0:
            list += "\r\n";
            break;
        case 1:
            list += n + ".5\t4\t0.85\t" + n + "0\r\n";
            break;
        case 2:
            list += "气体\t1" + n + "\t8.2\t1.3\t1000\t27\r\n";
            break;
        case 3:
            list += "气体\t" + n + "\t1\t0.6\t250.5\t-12\t1.2\t1.0\r\n";
            break;
        case 4:
            list += "水蒸汽\t12\t" + n + "\t2400\t180\r\n";
            break;
        case 5:
            list += "其他蒸汽\t10\t8\t" + n + "0\t1000\t100\r\n";
            break;
        case 6:
            list += "液体\t" + n + "\t" + n + "\t1\t10\r\n";
            break; // no pressure drop
        default:
            list += "１０\t２\t１\t" + n + "\t0\r\n";
            break;
        }
    }
    return list;
}

// Blocks of liquid and gas valves in MPa(G), kPa and m3/h, and of steam
// valves in bar(A) and t/h, each under a header of two rows.
std::string IndexList(int lines)
{
    std::string list;
    for (int i = 0; i < lines; ++i) {
        const std::string n = std::to_string(i % 97 + 2);
        const int block = i / 1000;
        if (i % 1000 == 0) {
            list += block % 2 == 0
                ? "序号\t位号\t介质\t阀前压力\t压差\t比重\t流量\t温度\t用途\r\n"
                  "\t\t\tMPa(G)\tkPa\t\tm3/h\t℃\t\r\n"
                : "序号\t位号\t介质\tP1(bar(A))\tP2(bar(A))\t流量(t/h)\t过热度(℃)\r\n";
            i += block % 2 == 0 ? 1 : 0;
            continue;
        }
        const std::string row = std::to_string(i) + "\tFV-" + std::to_string(i) + "\t";
        if (block % 2 == 0)
            list += row + (i % 3 ? "液体" : "气体") + "\t0." + n + "\t" + n + "\t0.85\t" + n + "0\t"
                + n + "\t冷却水\r\n";
        else
            list += row + (i % 5 ? "蒸汽" : "循环水") + "\t1" + n + "\t" + n + "\t2." + n + "\t"
                + (i % 4 ? n : "") + "\r\n";
    }
    return list;
}

// A process table as a process engineer writes it, every value derived:
// liquids by mass flow and density, gases by mass flow and molecular
// weight, steam by its temperature (superheat from the saturation
// temperature at P1), under a group over three flows with a units row;
// each row calculated at the three flows and its openings checked, against
// a rated C where the row gives one and a proposed one where it does not,
// linear or equal percentage.
std::string ProcessList(int lines)
{
    std::string list = "位号\t介质\t相态\t流量(kg/h)\t\t\t阀前压力\t阀后压力\t操作温度\t操作密度\t"
                       "分子量\t额定C\t流量特性\r\n"
                       "\t\t\t最大\t正常\t最小\tMPa(G)\tMPa(G)\t℃\tkg/m3\t\t\t\r\n";
    for (int i = 2; i < lines; ++i) {
        const std::string n = std::to_string(i % 97 + 2);
        const std::string row = "FV-" + std::to_string(i) + "\t";
        const std::string check
            = std::string(i % 2 ? "\t\t" : "\t63\t") + (i % 4 < 2 ? "线性" : "等百分比");
        switch (i % 3) {
        case 0:
            list += row + "混合C4\t液相\t2" + n + "00\t20000\t14000\t0.56\t0.51\t40\t5" + n + "\t"
                + check + "\r\n";
            break;
        case 1:
            list += row + "氮气\t气相\t1" + n + "0\t900\t600\t0.6\t0.2\t30\t6.5\t28.01" + check
                + "\r\n";
            break;
        default:
            list += row + "蒸汽\t气相\t9" + n + "0\t6000\t4500\t0.97\t0.92\t2" + n + "\t4.21\t"
                + check + "\r\n";
            break;
        }
    }
    return list;
}

void CalculateValveList(benchmark::State &state, std::string (*make)(int))
{
    const std::string list = make(10'000);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::CalculateValveList(list, quorvel::MediumKind::Liquid));
    state.SetItemsProcessed(state.iterations() * 10'000);
}

BENCHMARK_CAPTURE(CalculateValveList, by_position, MixedList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CalculateValveList, index_by_header, IndexList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CalculateValveList, process_data_three_flows_openings, ProcessList)
    ->Unit(benchmark::kMillisecond);

} // namespace
