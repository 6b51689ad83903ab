// A valve list of liquids and gases under an instrument index's header, in
// MPa(G), kPa and m3/h, read as Ctrl+Shift+V reads it: the rows that a
// calculation book is made from.
#pragma once

#include "ui/valve_list.h"

#include <string>
#include <vector>

namespace quorvel::bench {

inline std::vector<ValveRow> IndexValves(int count)
{
    std::string list = "位号\t介质\tP1(MPa(G))\tΔP(kPa)\t比重\t流量(m3/h)\t温度(℃)\r\n";
    for (int i = 0; i < count; ++i)
        list += "FV-" + std::to_string(1000 + i) + "\t" + (i % 2 ? "气体" : "液体") + "\t0."
            + std::to_string(i % 9 + 1) + "\t" + std::to_string(i % 40 + 10) + "\t0.9\t"
            + std::to_string(i % 300 + 5) + "\t40\r\n";
    std::vector<ValveRow> valves;
    CalculateValveList(
        list, MediumKind::Liquid, [&](const ValveRow &valve) { valves.push_back(valve); });
    return valves;
}

} // namespace quorvel::bench
