// What choosing a medium does to the window: for each medium, the list of
// property assignments, applied in this order. Every label a list leaves
// visible gets its caption from that same list, so what shows after a
// choice depends on the chosen medium alone.
#pragma once

#include "calc/sizing.h"
#include "ui/controls.h"

#include <span>
#include <string_view>

namespace quorvel {

enum class StepAction { Show, Hide, SetCaption };

struct MediumStep {
    ControlId control;
    StepAction action;
    std::string_view caption = {};
};

struct MediumSpec {
    MediumKind medium;
    ControlId option;
    std::span<const MediumStep> steps;
};

namespace detail {
using enum ControlId;
using enum StepAction;

inline constexpr MediumStep kLiquidSteps[] = {
    { Label5, Show },
    { Label5, SetCaption, "介质比重:" },
    { Text3, Show },
    { Label9, SetCaption, "kgf/cm2" },
    { Label10, SetCaption, "kgf/cm2" },
    { Label12, SetCaption, "m3/h" },
    { Label14, Hide },
    { Label13, Hide },
    { Label11, Hide },
    { Text7, Hide },
};

inline constexpr MediumStep kGasSteps[] = {
    { Label5, Show },
    { Label5, SetCaption, "介质比重:" },
    { Text3, Show },
    { Label13, SetCaption, "介质温度:" },
    { Label9, SetCaption, "kgf/cm2 abs" },
    { Label10, SetCaption, "kgf/cm2 abs" },
    { Label12, SetCaption, "m3/h" },
    { Label11, SetCaption, "℃" },
    { Label14, Hide },
    { Label13, Show },
    { Label11, Show },
    { Text7, Show },
};

inline constexpr MediumStep kWaterSteamSteps[] = {
    { Label9, SetCaption, "kgf/cm2 abs" },
    { Label10, SetCaption, "kgf/cm2 abs" },
    { Label12, SetCaption, "kg/h" },
    { Label13, SetCaption, "过热温度:" },
    { Label11, SetCaption, "℃" },
    { Label14, Hide },
    { Label5, Hide },
    { Text3, Hide },
    { Label13, Show },
    { Label11, Show },
    { Text7, Show },
};

inline constexpr MediumStep kOtherSteamSteps[] = {
    { Label9, SetCaption, "kgf/cm2 abs" },
    { Label10, SetCaption, "kgf/cm2 abs" },
    { Label12, SetCaption, "kg/h" },
    { Label13, SetCaption, "入口比容:" },
    { Label5, SetCaption, "出口比容:" },
    { Label11, SetCaption, "cm3/g" },
    { Label14, SetCaption, "cm3/g" },
    { Label14, Show },
    { Label5, Show },
    { Text3, Show },
    { Label13, Show },
    { Label11, Show },
    { Text7, Show },
};
} // namespace detail

inline constexpr MediumSpec kMedia[] = {
    { MediumKind::Liquid, ControlId::Option1, detail::kLiquidSteps },
    { MediumKind::Gas, ControlId::Option2, detail::kGasSteps },
    { MediumKind::WaterSteam, ControlId::Option3, detail::kWaterSteamSteps },
    { MediumKind::OtherSteam, ControlId::Option4, detail::kOtherSteamSteps },
};

// A control as a medium leaves it: every list sets the caption of each
// label it leaves visible, and the window starts as liquid leaves it.
struct Shown {
    bool visible;
    std::string_view caption;
};
constexpr Shown ShownUnder(const MediumSpec &medium, ControlId id)
{
    Shown shown { Spec(id).visible, Spec(id).caption };
    for (const MediumStep &step : medium.steps) {
        if (step.control != id)
            continue;
        switch (step.action) {
        case StepAction::Show:
        case StepAction::Hide:
            shown.visible = step.action == StepAction::Show;
            break;
        case StepAction::SetCaption:
            shown.caption = step.caption;
            break;
        }
    }
    return shown;
}

constexpr const MediumSpec &MediumOf(MediumKind kind)
{
    return kMedia[static_cast<std::size_t>(kind)];
}
static_assert([] {
    for (const MediumSpec &m : kMedia)
        if (MediumOf(m.medium).option != m.option)
            return false;
    return true;
}());

} // namespace quorvel
