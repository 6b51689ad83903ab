// A valve list of 10,000 mixed lines through the form's list function, as
// Ctrl+Shift+V calculates it: headers, blanks, captions, four and five
// fields, failures. The time per line is the time divided by 10,000.
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

void CalculateValveList(benchmark::State &state)
{
    const std::string list = MixedList(10'000);
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::CalculateValveList(list, quorvel::MediumKind::Liquid));
    state.SetItemsProcessed(state.iterations() * 10'000);
}

BENCHMARK(CalculateValveList)->Unit(benchmark::kMillisecond);

} // namespace
