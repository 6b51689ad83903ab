#include "ui/opening.h"

#include "runtime/arith.h"
#include "runtime/error.h"
#include "ui/steps.h"

#include <cmath>

namespace quorvel {

namespace {

// The R10 series within a decade, in hundredths, so that each value is a
// whole number scaled by a power of ten.
constexpr int kR10Hundredths[] = { 100, 125, 160, 200, 250, 315, 400, 500, 630, 800 };

// φ: the coefficient needed over the rated one of the same kind.
double Phi(const SizingResult &at, RatedKind kind, double ratedCoefficient, StepNote note)
{
    if (kind == RatedKind::C)
        return note(
            "φ", "C / C额定", "{} / {}", { at.C, ratedCoefficient }, Div(at.C, ratedCoefficient));
    return note(
        "φ", "Cv / Cv额定", "{} / {}", { at.Cv, ratedCoefficient }, Div(at.Cv, ratedCoefficient));
}

// The rated value as φ takes it: a Kv as the Cv it stands for.
double RatedCoefficient(RatedKind kind, double rated, StepNote note)
{
    if (kind != RatedKind::Kv)
        return rated;
    return note("Cv额定", "1.156 × Kv额定", "1.156 × {}", { rated }, Mul(kCvPerKv, rated));
}

} // namespace

std::string_view FlowPointName(FlowPoint point)
{
    static constexpr std::string_view kNames[kFlowPoints] = { "最大", "正常", "最小" };
    return kNames[std::size_t(point)];
}

std::string_view CharacteristicName(Characteristic characteristic)
{
    static constexpr std::string_view kNames[] = { "线性", "等百分比" };
    return kNames[std::size_t(characteristic)];
}

std::string_view RatedSymbol(RatedKind kind)
{
    static constexpr std::string_view kSymbols[] = { "C", "Cv", "Kv" };
    return kSymbols[std::size_t(kind)];
}

std::string OpeningCheck::Verdict() const
{
    if (!failure.empty())
        return "出错：" + failure;
    if (flags.empty())
        return "合格";
    std::string verdict;
    for (const std::string &flag : flags)
        verdict += (verdict.empty() ? "" : "；") + flag;
    return verdict;
}

double Opening(
    Characteristic characteristic, double phi, double rangeability, StepRecorder *recorder)
{
    const StepNote note { recorder };
    if (characteristic == Characteristic::Linear) {
        const double rise = Sub(Mul(rangeability, phi), 1);
        const double travel = Div(rise, Sub(rangeability, 1));
        return note("l", "(R·φ − 1) / (R − 1) × 100", "({} × {} − 1) / ({} − 1) × 100",
            { rangeability, phi, rangeability }, Mul(travel, 100));
    }
    const double travel = Add(1, Div(Log(phi), Log(rangeability)));
    return note("l", "(1 + ln φ / ln R) × 100", "(1 + ln {} / ln {}) × 100", { phi, rangeability },
        Mul(travel, 100));
}

std::optional<double> ProposedRated(
    const SizingResult &atMax, RatedKind kind, Characteristic characteristic, double rangeability)
{
    const double needed = kind == RatedKind::C ? atMax.C : atMax.Cv;
    if (!Greater(needed, 0))
        return std::nullopt;
    // Upwards from a power of ten below what a φ of 1 would need (a Kv is
    // 1 / 1.156 of its Cv); the opening falls as the rated value grows, and
    // is above 90 % wherever φ is above 1.
    for (int exponent = int(std::floor(std::log10(needed * 0.8))) - 2;; ++exponent) {
        const double scale = Pow(10, std::abs(exponent));
        for (int hundredths : kR10Hundredths) {
            const double rated = exponent >= 0 ? Mul(hundredths, scale) : Div(hundredths, scale);
            const double phi
                = Phi(atMax, kind, RatedCoefficient(kind, rated, { nullptr }), { nullptr });
            if (!Greater(Opening(characteristic, phi, rangeability, nullptr), kHighestOpeningAtMax))
                return rated;
        }
    }
}

void CheckOpenings(OpeningCheck &check, bool record)
{
    if (!check.failure.empty() || !check.points[0].Calculated())
        return;
    const Characteristic characteristic = check.characteristic;
    const double r = check.rangeability;
    double ratedCoefficient = 0;
    try {
        if (!check.rated) {
            check.rated = ProposedRated(check.points[0].result, check.kind, characteristic, r);
            check.proposed = true;
            if (!check.rated)
                return void(check.failure = "最大流量下的流通能力不大于 0，不能建议额定值");
        }
        StepPartsRecorder steps(check.ratedSteps);
        ratedCoefficient
            = RatedCoefficient(check.kind, *check.rated, { record ? &steps : nullptr });
    } catch (const RuntimeError &e) {
        return void(check.failure = "额定值计算时" + std::string(ErrorText(e.kind())));
    }
    const double lowest = Div(1, r); // R > 1, so this never fails
    bool aboveFull = false, belowRange = false;
    for (FlowPoint point : kFlowPointList) {
        PointCheck &at = check.points[std::size_t(point)];
        const std::string name(FlowPointName(point));
        if (at.given && !at.Calculated()) {
            check.flags.push_back(name + "流量出错，未验算");
            continue;
        }
        if (!at.given)
            continue;
        StepPartsRecorder steps(at.steps);
        StepRecorder *recorder = record ? &steps : nullptr;
        try {
            at.phi = Phi(at.result, check.kind, ratedCoefficient, { recorder });
            belowRange = belowRange || Less(*at.phi, lowest);
            // An equal-percentage valve never shuts: at φ = 0 there is no opening.
            if (characteristic == Characteristic::Linear || Greater(*at.phi, 0))
                at.opening = Opening(characteristic, *at.phi, r, recorder);
        } catch (const RuntimeError &e) {
            check.flags.push_back(name + "流量的开度计算时" + std::string(ErrorText(e.kind())));
            continue;
        }
        aboveFull = aboveFull || (at.opening && Greater(*at.opening, 100));
        if (point == FlowPoint::Max && at.opening && Greater(*at.opening, kHighestOpeningAtMax))
            check.flags.push_back("最大流量开度大于 90%");
        if (point == FlowPoint::Min && (!at.opening || Less(*at.opening, kLowestOpeningAtMin)))
            check.flags.push_back("最小流量开度小于 10%");
    }
    if (aboveFull)
        check.flags.push_back("开度大于 100%，阀门偏小");
    if (belowRange)
        check.flags.push_back("φ 小于 1/R，低于可调范围");
}

} // namespace quorvel
