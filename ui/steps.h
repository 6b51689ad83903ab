// A calculation's recorded steps written out as a checker reads them: each
// step noted as it is computed (StepNote), and as an equation's parts, its
// numbers as the result boxes print them (NumberToText).
#pragma once

#include "calc/sizing.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Tells the recorder, when there is one, a step with its operands; passes
// the value on.
struct StepNote {
    StepRecorder *recorder;
    double operator()(std::string_view symbol, std::string_view formula,
        std::string_view substituted, std::initializer_list<double> operands, double value) const
    {
        if (recorder) {
            Step step { StepRole::Working, symbol, formula, substituted, {}, operands.size(),
                value };
            std::copy(operands.begin(), operands.end(), step.operands.begin());
            recorder->Record(step);
        }
        return value;
    }
};

// A number as the result boxes show it; a negative one in parentheses
// where it stands in a formula.
std::string StepNumber(double value, bool inFormula = false);

// "symbol = formula", or the formula alone where it is its own symbol.
std::vector<std::string> StepSymbols(const Step &step);

// A recorded step as an equation's parts: its symbol, its formula where
// that is not the symbol itself, the formula with its numbers, the value.
std::vector<std::string> StepParts(const Step &step);

// A calculation's steps as it told them, for its sheet: the flow regime's
// test apart from the rest, and the same value formed again (a root that
// Cv and C share) kept once.
class RecordedSteps : public StepRecorder {
public:
    void Record(const Step &step) override;
    std::vector<Step> regimeTest, working;
};

// Keeps each step it is told as its parts (StepParts), for a sheet.
class StepPartsRecorder : public StepRecorder {
public:
    explicit StepPartsRecorder(std::vector<std::vector<std::string>> &into)
        : into_(into)
    {
    }
    void Record(const Step &step) override { into_.push_back(StepParts(step)); }

private:
    std::vector<std::vector<std::string>> &into_;
};

} // namespace quorvel
