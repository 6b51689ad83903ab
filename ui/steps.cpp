#include "ui/steps.h"

#include "runtime/text.h"

namespace quorvel {

std::string StepNumber(double value, bool inFormula)
{
    const std::string text = NumberToText(value);
    return inFormula && text.starts_with('-') ? "(" + text + ")" : text;
}

void RecordedSteps::Record(const Step &step)
{
    const auto same
        = [&](const Step &kept) { return kept.symbol == step.symbol && kept.value == step.value; };
    if (std::any_of(regimeTest.begin(), regimeTest.end(), same)
        || std::any_of(working.begin(), working.end(), same))
        return;
    (step.role == StepRole::RegimeTest ? regimeTest : working).push_back(step);
}

std::vector<std::string> StepSymbols(const Step &step)
{
    std::vector<std::string> parts { std::string(step.symbol) };
    if (step.formula != step.symbol)
        parts.emplace_back(step.formula);
    return parts;
}

std::vector<std::string> StepParts(const Step &step)
{
    std::vector<std::string> parts = StepSymbols(step);
    // The formula with each "{}" its operand, in order.
    std::string substituted;
    std::size_t operand = 0;
    for (std::size_t i = 0; i < step.substituted.size(); ++i) {
        if (step.substituted.compare(i, 2, "{}") == 0 && operand < step.operandCount) {
            substituted += StepNumber(step.operands[operand++], true);
            ++i;
        } else {
            substituted += step.substituted[i];
        }
    }
    parts.push_back(std::move(substituted));
    parts.push_back(StepNumber(step.value));
    return parts;
}

} // namespace quorvel
