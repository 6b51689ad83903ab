#include "ui/valve_list.h"

#include "runtime/error.h"
#include "runtime/text.h"
#include "ui/media.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

namespace quorvel {

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";

std::string_view Trim(std::string_view s)
{
    for (;;) {
        if (s.starts_with(' ') || s.starts_with('\t'))
            s.remove_prefix(1);
        else if (s.starts_with(kIdeographicSpace))
            s.remove_prefix(kIdeographicSpace.size());
        else if (s.ends_with(' ') || s.ends_with('\t'))
            s.remove_suffix(1);
        else if (s.ends_with(kIdeographicSpace))
            s.remove_suffix(kIdeographicSpace.size());
        else
            return s;
    }
}

const MediumSpec *MediumCaptioned(std::string_view field)
{
    field = Trim(field);
    const auto found = std::find_if(
        std::begin(kMedia), std::end(kMedia), [&](const MediumSpec &m) { return m.name == field; });
    return found == std::end(kMedia) ? nullptr : found;
}

// Cv and C of one valve; false when it failed.
bool AnswerValve(
    const MediumSpec &medium, std::span<const std::string_view> values, std::string &out)
{
    // The box each value goes into, as a paste into Text1 places it.
    std::array<std::string_view, kInputCount> boxes {};
    for (std::size_t i = 0, v = 0; i < boxes.size() && v < values.size(); ++i)
        if (values.size() >= boxes.size() || LookOf(kInputs[i], medium.medium).shown)
            boxes[i] = values[v++];

    SizingResult result;
    std::string_view error;
    try {
        std::array<double, boxes.size()> in {};
        for (std::size_t i = 0; i < boxes.size(); ++i)
            in[i] = Val(boxes[i]);
        ComputeFlowCoefficients(medium.medium, InputsFrom(in), result);
    } catch (const RuntimeError &e) {
        error = ErrorText(e.kind());
    }
    const auto coefficient = [&](bool produced, double value) {
        if (produced)
            out += NumberToText(value);
        else if (!error.empty())
            out.append("出错：").append(std::exchange(error, std::string_view()));
    };
    coefficient(result.CvProduced, result.Cv);
    out += '\t';
    coefficient(result.CProduced, result.C);
    out += '\n';
    return result.CvProduced && result.CProduced;
}

} // namespace

ListAnswer CalculateValveList(std::string_view list, MediumKind selected)
{
    ListAnswer answer;
    std::vector<std::string_view> fields;
    std::string unquoted;
    ForEachLine(list, [&](std::string_view row) {
        // Beyond the limit nothing more is calculated; the rows are counted.
        if (++answer.lines > kMaxListLines) {
            answer.text.clear();
            return;
        }
        SplitFields(row, fields, unquoted);
        if (std::all_of(fields.begin(), fields.end(),
                [](std::string_view field) { return Trim(field).empty(); })) {
            answer.text += '\n';
            return;
        }
        if (std::none_of(fields.begin(), fields.end(), StartsWithNumber)) {
            answer.text += "Cv\tC\n";
            return;
        }
        const MediumSpec *medium = MediumCaptioned(fields.front());
        const auto values = std::span(fields).subspan(medium ? 1 : 0);
        ++answer.valves;
        if (!AnswerValve(medium ? *medium : MediumOf(selected), values, answer.text))
            answer.failed.push_back(answer.lines);
    });
    return answer;
}

} // namespace quorvel
