// One valve list that every system prints as a calculation book: twelve
// valves in three blocks, steam in MPa(G) and t/h (one liquid among them,
// which cannot be read so and fails), then liquids, their openings checked
// at three flows, and gases, both in kPa and m3/h with a pressure drop.
// Eleven sheets and the summary: twelve pages.
#pragma once

#include <string_view>

namespace quorvel::test {

inline constexpr std::string_view kTwelveValves
    = "序号\t位号\t介质\tP1(MPa(G))\tP2(MPa(G))\t流量(t/h)\t过热度(℃)\r\n"
      "1\tPV-101\t蒸汽\t1.0\t0.6\t2.5\t30\r\n"
      "2\tPV-102\t蒸汽\t1.2\t0.4\t3\t0\r\n"
      "3\tPV-103\t液体\t0.8\t0.5\t4\t\r\n"
      "4\tPV-104\t蒸汽\t0.6\t0.45\t1.5\t12\r\n"
      "5\tPV-105\t蒸汽\t2.5\t1.0\t8\t60\r\n"
      "6\tPV-106\t蒸汽\t0.3\t0.2\t0.8\t\r\n"
      "\r\n"
      "序号\t位号\t介质\tP1(kPa(A))\tΔP(kPa)\t比重\t流量(m3/h)\t正常流量(m3/h)\t最小流量(m3/h)\r\n"
      "7\tFV-201\t液体\t600\t80\t0.98\t12\t9\t3\r\n"
      "8\tFV-202\t液体\t400\t35\t1.02\t30\t24\t8\r\n"
      "9\tFV-203\t液体\t350\t60\t0.85\t7.5\t6\t0.5\r\n"
      "\r\n"
      "序号\t位号\t介质\tP1(kPa(A))\tΔP(kPa)\t比重\t流量(m3/h)\t温度(℃)\r\n"
      "10\tFV-204\t气体\t500\t120\t0.6\t900\t40\r\n"
      "11\tFV-205\t气体\t800\t500\t1.1\t2400\t25\r\n"
      "12\tFV-206\t气体\t300\t40\t0.7\t350\t60\r\n";

} // namespace quorvel::test
