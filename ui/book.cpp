#include "ui/book.h"

#include "runtime/text.h"

#include <algorithm>

namespace quorvel {

namespace {

// The heads of the summary's table: the row, the valve, its case, the five
// inputs by their symbols, and the two coefficients.
std::vector<std::string> SummaryHeads()
{
    std::vector<std::string> heads { "行", "位号", "介质", "流动状态" };
    for (const InputSpec &input : kInputs)
        heads.emplace_back(input.symbol);
    heads.insert(heads.end(), { "Cv", "C" });
    return heads;
}

std::string_view RegimeName(const SizingResult &result)
{
    if (!result.Case || !result.Case->Regime)
        return "—";
    return *result.Case->Regime == FlowRegime::Subcritical ? "亚临界" : "临界";
}

// What each input column holds, by medium: "P1：液体 kgf/cm2，气体、水蒸汽、其他蒸汽 kgf/cm2 abs".
std::string InputNote(const InputSpec &input)
{
    struct Held {
        std::string what;
        std::string media;
    };
    std::vector<Held> held;
    for (const MediumSpec &medium : kMedia) {
        const InputLook &look = LookOf(input, medium.medium);
        if (!look.shown)
            continue;
        const std::string caption(CaptionName(look));
        const std::string what
            = look.unit.empty() ? caption : caption + " " + std::string(look.unit);
        auto same
            = std::find_if(held.begin(), held.end(), [&](const Held &h) { return h.what == what; });
        if (same == held.end())
            held.push_back({ what, std::string(medium.name) });
        else
            same->media += "、" + std::string(medium.name);
    }
    std::string note = std::string(input.symbol) + "：";
    for (const Held &h : held)
        note += (&h == &held.front() ? "" : "；") + h.media + " " + h.what;
    return note;
}

Sheet Summary(std::span<const ValveRow> valves, std::string_view date, std::string_view version)
{
    Sheet summary;
    summary.title = "调节阀流通能力计算汇总表";
    summary.date = date;
    SheetSection table { "一、各阀门的计算结果", {}, {} };
    table.table.heads = SummaryHeads();
    table.table.small = true;
    std::size_t calculated = 0;
    for (const ValveRow &valve : valves) {
        std::vector<std::string> row { std::to_string(valve.line), valve.tag,
            std::string(MediumOf(valve.medium).name) };
        if (valve.Calculated()) {
            ++calculated;
            row.emplace_back(RegimeName(valve.result));
            for (std::size_t i = 0; i < kInputCount; ++i)
                row.push_back(
                    LookOf(kInputs[i], valve.medium).shown ? NumberToText(valve.values[i]) : "");
            row.push_back(NumberToText(valve.result.Cv));
            row.push_back(NumberToText(valve.result.C));
        } else {
            row.push_back("出错：" + valve.failure); // spans the columns it lacks
        }
        table.table.rows.push_back(std::move(row));
    }
    table.lines.push_back("共 " + std::to_string(valves.size()) + " 个阀门："
        + std::to_string(calculated) + " 个计算完成，" + std::to_string(valves.size() - calculated)
        + " 个出错。");
    table.lines.push_back("各值为计算所用，单位如下：");
    for (const InputSpec &input : kInputs)
        for (const std::string &line : Equation({ InputNote(input) }))
            table.lines.push_back(line);
    summary.sections.push_back(std::move(table));
    // The openings of the valves whose blocks check them.
    SheetSection openings { "二、开度验算", {}, {} };
    openings.table.heads
        = { "行", "位号", "额定", "开度(最大)%", "开度(正常)%", "开度(最小)%", "验算" };
    openings.table.small = true;
    for (const ValveRow &valve : valves) {
        if (!valve.Calculated() || !valve.checksOpenings)
            continue;
        const OpeningCheck &check = valve.opening;
        std::vector<std::string> row { std::to_string(valve.line), valve.tag, RatedText(check) };
        for (const PointCheck &at : check.points)
            row.push_back(at.opening ? NumberToText(*at.opening) : "");
        row.push_back(check.Verdict());
        openings.table.rows.push_back(std::move(row));
    }
    if (!openings.table.rows.empty())
        summary.sections.push_back(std::move(openings));
    summary.signatures = { { "计算", "" }, { "校核", "" }, { "审核", "" }, { "日期", "" } };
    summary.footer = "Quorvel " + std::string(version);
    return summary;
}

// Where a valve's values came from, for its sheet.
SheetOrigin OriginOf(const ValveRow &valve)
{
    return { valve.tag, valve.line, valve.written, valve.derivation,
        valve.checksOpenings ? &valve.opening : nullptr };
}

} // namespace

std::vector<Sheet> MakeBook(
    std::span<const ValveRow> valves, std::string_view date, std::string_view version)
{
    std::vector<Sheet> book { Summary(valves, date, version) };
    for (const ValveRow &valve : valves)
        if (valve.Calculated()) {
            const SheetOrigin origin = OriginOf(valve);
            book.push_back(MakeSheet(
                valve.medium, valve.values, valve.steps, valve.result, date, version, &origin));
        }
    return book;
}

} // namespace quorvel
