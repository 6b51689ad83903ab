// The opening check (开度验算) of a valve in a list: from the coefficient
// the valve needs at its maximum, normal and minimum flows and the rated
// coefficient of the valve chosen (given, or proposed from the R10 series),
// the relative coefficient φ and the opening at each flow by the valve's
// ideal inherent characteristic, and the verdict against the usual limits.
// Computed in the checked arithmetic (runtime/arith.h), silently for the
// list's answer or telling each step with its numbers for the book.
#pragma once

#include "calc/sizing.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

enum class FlowPoint { Max, Normal, Min };
inline constexpr std::size_t kFlowPoints = 3;
inline constexpr std::array kFlowPointList { FlowPoint::Max, FlowPoint::Normal, FlowPoint::Min };
// "最大", "正常", "最小".
std::string_view FlowPointName(FlowPoint point);

enum class Characteristic { Linear, EqualPercentage };
std::string_view CharacteristicName(Characteristic characteristic);

// What a rated coefficient is: a C, a Cv, or a Kv taken as Cv = 1.156 × Kv.
enum class RatedKind { C, Cv, Kv };
std::string_view RatedSymbol(RatedKind kind); // "C", "Cv", "Kv"

inline constexpr double kCvPerKv = 1.156;
inline constexpr double kDefaultRangeability = 30;
// In % of travel: the opening at the maximum flow at most, at the minimum
// flow at least.
inline constexpr double kHighestOpeningAtMax = 90, kLowestOpeningAtMin = 10;

// One flow point of a valve: its flow, the coefficients at it, φ and the
// opening.
struct PointCheck {
    bool given = false; // the list gave this flow
    std::string failure; // why the point has no coefficients
    double Q = 0;
    SizingResult result;
    std::optional<double> phi, opening;
    // Told only to a caller that asks: how the list's cells became Q, and
    // the steps from C to the opening, each as an equation's parts.
    std::vector<std::vector<std::string>> derivation, steps;

    bool Calculated() const { return given && failure.empty() && result.CProduced; }
};

struct OpeningCheck {
    std::array<PointCheck, kFlowPoints> points; // by FlowPoint
    RatedKind kind = RatedKind::C;
    std::optional<double> rated; // in its kind, given or proposed
    bool proposed = false;
    Characteristic characteristic = Characteristic::EqualPercentage;
    bool characteristicDefault = true;
    double rangeability = kDefaultRangeability;
    bool rangeabilityDefault = true;
    // Why no opening could be worked out ("" when they were).
    std::string failure;
    // The verdict's reasons; none: 合格.
    std::vector<std::string> flags;
    std::vector<std::vector<std::string>> ratedSteps; // Cv额定 = 1.156 × Kv额定, for the book

    bool Passed() const { return failure.empty() && flags.empty(); }
    // "合格", or the reasons joined by "；", or "出错：" and the failure.
    std::string Verdict() const;
};

// The opening in % of travel at φ for a characteristic of rangeability R:
// linear (R·φ − 1) / (R − 1) × 100, equal percentage (1 + ln φ / ln R) × 100.
// Tells `recorder`, when given, its step. Raises RuntimeError where the
// arithmetic fails (ln of a φ of 0).
double Opening(
    Characteristic characteristic, double phi, double rangeability, StepRecorder *recorder);

// The smallest rated value of a kind in the R10 series (1.00, 1.25, 1.60,
// 2.00, 2.50, 3.15, 4.00, 5.00, 6.30, 8.00 × 10ⁿ) that opens at most
// kHighestOpeningAtMax at the maximum flow's coefficients; nullopt when
// they are not above 0. Raises RuntimeError where the arithmetic fails.
std::optional<double> ProposedRated(
    const SizingResult &atMax, RatedKind kind, Characteristic characteristic, double rangeability);

// With the points calculated and the rated value, the characteristic and R
// set (rated unset: proposed in its kind): φ and the opening at each
// calculated point, and the verdict. Records every step when `record`.
void CheckOpenings(OpeningCheck &check, bool record);

} // namespace quorvel
