// The four media and the five inputs, once: for each input row of the
// window, its box, label, unit label and symbol, and for each medium its
// caption, its unit, whether it shows, and the names a valve list's header
// may give it. Choosing a medium applies that medium's list of property
// assignments, in its order, with the values from the inputs' table; every
// label a list leaves visible gets its caption from that same list, so what
// shows after a choice depends on the chosen medium alone (checked below).
#pragma once

#include "calc/sizing.h"
#include "ui/controls.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace quorvel {

inline constexpr std::size_t kMediumCount = 4;

constexpr std::size_t Index(MediumKind medium)
{
    return static_cast<std::size_t>(medium);
}

// What a list's column holds for an input, which decides the units it may
// come in.
enum class Quantity {
    Pressure,
    PressureDrop, // P2 is then P1 − ΔP
    Gravity,
    Density, // at the operating state, in kg/m3 or the like
    StdDensity, // a gas's at 0 ℃ and 101.325 kPa, in kg/Nm3
    MolecularWeight,
    Flow, // a volume a time, or for steam a mass
    MassFlow,
    Temperature,
    Superheat, // a difference of temperatures
    SpecificVolume,
};

// Names that a list's header may give an input, for one quantity. A cell
// names it when it reads as one of them, or as two of them, or one and the
// input's symbol, run together ("阀前压力P1"); spaces, colons and the case
// of ASCII letters do not count.
struct HeaderNames {
    Quantity quantity;
    std::span<const std::string_view> names;
};

// An input row as a medium shows it. An empty caption or unit is one the
// medium does not set: that label is hidden then.
struct InputLook {
    std::string_view caption; // the label's
    std::string_view unit; // the unit label's
    bool shown; // the label and the box
    std::span<const HeaderNames> header; // none: the medium does not use it
};

struct InputSpec {
    ControlId box, label, unitLabel;
    std::string_view symbol;
    double SizingInputs::*field;
    std::array<InputLook, kMediumCount> look; // by MediumKind
};

constexpr const InputLook &LookOf(const InputSpec &input, MediumKind medium)
{
    return input.look[Index(medium)];
}

// A caption without its colon, as a text names the input: "介质比重".
constexpr std::string_view CaptionName(const InputLook &look)
{
    return look.caption.substr(0, look.caption.size() - 1);
}

namespace detail {
using enum Quantity;
inline constexpr std::string_view kP1Names[] = { "P1", "阀前压力", "入口压力", "进口压力",
    "上游压力", "Inlet Pressure", "Upstream Pressure" };
inline constexpr std::string_view kP2Names[]
    = { "P2", "阀后压力", "出口压力", "下游压力", "Outlet Pressure", "Downstream Pressure" };
inline constexpr std::string_view kDropNames[]
    = { "ΔP", "DP", "压差", "压降", "阀压降", "Pressure Drop" };
inline constexpr std::string_view kGravityNames[]
    = { "G", "比重", "相对密度", "介质比重", "SG", "Specific Gravity", "Relative Density" };
inline constexpr std::string_view kDensityNames[]
    = { "密度", "介质密度", "操作密度", "Density", "Operating Density" };
inline constexpr std::string_view kStdDensityNames[] = { "标准密度", "标况密度", "标准状态密度",
    "ρN", "Std Density", "Standard Density", "Normal Density" };
inline constexpr std::string_view kMolecularWeightNames[]
    = { "分子量", "相对分子质量", "摩尔质量", "M", "MW", "Mol. Wt.", "Mol Wt", "Molecular Weight" };
inline constexpr std::string_view kFlowNames[] = { "Q", "流量", "最大流量", "流量最大", "Max流量",
    "流量Max", "Qmax", "Flow", "Flow Rate", "Max Flow", "Flow Max" };
inline constexpr std::string_view kMassFlowNames[]
    = { "质量流量", "最大质量流量", "Mass Flow", "Max Mass Flow" };
inline constexpr std::string_view kTemperatureNames[]
    = { "t", "温度", "介质温度", "入口温度", "操作温度", "Temperature", "Temp" };
// A steam's temperature, from which its superheat is worked out; "t" is
// the window's superheat for water steam, never a temperature.
inline constexpr std::string_view kSteamTemperatureNames[]
    = { "温度", "介质温度", "入口温度", "操作温度", "Temperature", "Temp" };
inline constexpr std::string_view kSuperheatNames[] = { "过热温度", "过热度", "Superheat" };
inline constexpr std::string_view kOutletVolumeNames[]
    = { "G", "出口比容", "Outlet Specific Volume" };
inline constexpr std::string_view kInletVolumeNames[]
    = { "t", "入口比容", "Inlet Specific Volume" };
inline constexpr std::string_view kOutletDensityNames[] = { "出口密度", "Outlet Density" };
inline constexpr std::string_view kInletDensityNames[] = { "入口密度", "Inlet Density" };

inline constexpr HeaderNames kP1Header[] = { { Pressure, kP1Names } };
inline constexpr HeaderNames kP2Header[] = { { Pressure, kP2Names }, { PressureDrop, kDropNames } };
inline constexpr HeaderNames kLiquidGHeader[]
    = { { Gravity, kGravityNames }, { Density, kDensityNames } };
inline constexpr HeaderNames kGasGHeader[]
    = { { Gravity, kGravityNames }, { MolecularWeight, kMolecularWeightNames },
          { StdDensity, kStdDensityNames }, { Density, kDensityNames } };
inline constexpr HeaderNames kOutletVolumeHeader[]
    = { { SpecificVolume, kOutletVolumeNames }, { Density, kOutletDensityNames } };
inline constexpr HeaderNames kQHeader[] = { { Flow, kFlowNames }, { MassFlow, kMassFlowNames } };
inline constexpr HeaderNames kTemperatureHeader[] = { { Temperature, kTemperatureNames } };
inline constexpr HeaderNames kSuperheatHeader[]
    = { { Superheat, kSuperheatNames }, { Temperature, kSteamTemperatureNames } };
inline constexpr HeaderNames kInletVolumeHeader[]
    = { { SpecificVolume, kInletVolumeNames }, { Density, kInletDensityNames } };

using enum ControlId;
inline constexpr std::string_view kAbs = "kgf/cm2 abs";
inline constexpr InputLook kUnused {};
} // namespace detail

// In the order the calculation reads them: P1, P2, G, Q, t. By medium:
// liquid, gas, water steam, other steam.
// clang-format off
inline constexpr InputSpec kInputs[] = {
    { detail::Text1, detail::Label3, detail::Label9, "P1", &SizingInputs::P1, {{
        { "阀前压力:", "kgf/cm2", true, detail::kP1Header },
        { "阀前压力:", detail::kAbs, true, detail::kP1Header },
        { "阀前压力:", detail::kAbs, true, detail::kP1Header },
        { "阀前压力:", detail::kAbs, true, detail::kP1Header } }} },
    { detail::Text2, detail::Label4, detail::Label10, "P2", &SizingInputs::P2, {{
        { "阀后压力:", "kgf/cm2", true, detail::kP2Header },
        { "阀后压力:", detail::kAbs, true, detail::kP2Header },
        { "阀后压力:", detail::kAbs, true, detail::kP2Header },
        { "阀后压力:", detail::kAbs, true, detail::kP2Header } }} },
    { detail::Text3, detail::Label5, detail::Label14, "G", &SizingInputs::G, {{
        { "介质比重:", "", true, detail::kLiquidGHeader },
        { "介质比重:", "", true, detail::kGasGHeader },
        detail::kUnused,
        { "出口比容:", "cm3/g", true, detail::kOutletVolumeHeader } }} },
    { detail::Text4, detail::Label6, detail::Label12, "Q", &SizingInputs::Q, {{
        { "最大流量:", "m3/h", true, detail::kQHeader },
        { "最大流量:", "m3/h", true, detail::kQHeader },
        { "最大流量:", "kg/h", true, detail::kQHeader },
        { "最大流量:", "kg/h", true, detail::kQHeader } }} },
    { detail::Text7, detail::Label13, detail::Label11, "t", &SizingInputs::t, {{
        detail::kUnused,
        { "介质温度:", "℃", true, detail::kTemperatureHeader },
        { "过热温度:", "℃", true, detail::kSuperheatHeader },
        { "入口比容:", "cm3/g", true, detail::kInletVolumeHeader } }} },
};
// clang-format on
inline constexpr std::size_t kInputCount = std::size(kInputs);

// The symbol a list's column gives an input by: its own, or ΔP for the
// pressure drop that gives P2.
constexpr std::string_view ColumnSymbol(std::size_t input, bool drop)
{
    return drop ? "ΔP" : kInputs[input].symbol;
}

// An input's place in kInputs.
constexpr std::size_t InputIndex(double SizingInputs::*field)
{
    for (std::size_t i = 0; i < kInputCount; ++i)
        if (kInputs[i].field == field)
            return i;
    return kInputCount;
}

// The five values as the calculation takes them.
constexpr SizingInputs InputsFrom(const std::array<double, kInputCount> &values)
{
    SizingInputs in;
    for (std::size_t i = 0; i < kInputCount; ++i)
        in.*kInputs[i].field = values[i];
    return in;
}

// The input boxes in the order the calculation reads them, and the result
// boxes, Cv and C.
inline constexpr auto kInputBoxes = [] {
    std::array<ControlId, kInputCount> boxes {};
    for (std::size_t i = 0; i < kInputCount; ++i)
        boxes[i] = kInputs[i].box;
    return boxes;
}();
inline constexpr std::array kResultBoxes { ControlId::Text5, ControlId::Text6 };
constexpr bool IsResultBox(ControlId box)
{
    return std::find(kResultBoxes.begin(), kResultBoxes.end(), box) != kResultBoxes.end();
}
constexpr bool IsInputBox(ControlId box)
{
    return std::find(kInputBoxes.begin(), kInputBoxes.end(), box) != kInputBoxes.end();
}

// A control of an input row as a medium leaves it: visible or not, and its
// caption; the controls of no input row as the table describes them.
struct Shown {
    bool visible;
    std::string_view caption;
};
constexpr Shown ShownUnder(MediumKind medium, ControlId id)
{
    for (const InputSpec &input : kInputs) {
        const InputLook &look = LookOf(input, medium);
        if (id == input.box)
            return { look.shown, {} };
        if (id == input.label)
            return { look.shown, look.caption };
        if (id == input.unitLabel)
            return { look.shown && !look.unit.empty(), look.unit };
    }
    return { Spec(id).visible, Spec(id).caption };
}

// A step of a medium's list: show or hide a control as the medium has it,
// or set its caption to the medium's.
enum class StepAction { ShowOrHide, SetCaption };

struct MediumStep {
    ControlId control;
    StepAction action;
};

struct MediumSpec {
    MediumKind medium;
    ControlId option;
    std::string_view name; // as the option button reads
    std::span<const MediumStep> steps;
    // What a valve list's medium cell may say for it, the name first; the
    // case of ASCII letters does not count.
    std::span<const std::string_view> listNames;
};

namespace detail {
inline constexpr StepAction kVisible = StepAction::ShowOrHide;
inline constexpr StepAction kCaption = StepAction::SetCaption;

inline constexpr MediumStep kLiquidSteps[] = {
    { Label5, kVisible },
    { Label5, kCaption },
    { Text3, kVisible },
    { Label9, kCaption },
    { Label10, kCaption },
    { Label12, kCaption },
    { Label14, kVisible },
    { Label13, kVisible },
    { Label11, kVisible },
    { Text7, kVisible },
};

inline constexpr MediumStep kGasSteps[] = {
    { Label5, kVisible },
    { Label5, kCaption },
    { Text3, kVisible },
    { Label13, kCaption },
    { Label9, kCaption },
    { Label10, kCaption },
    { Label12, kCaption },
    { Label11, kCaption },
    { Label14, kVisible },
    { Label13, kVisible },
    { Label11, kVisible },
    { Text7, kVisible },
};

inline constexpr MediumStep kWaterSteamSteps[] = {
    { Label9, kCaption },
    { Label10, kCaption },
    { Label12, kCaption },
    { Label13, kCaption },
    { Label11, kCaption },
    { Label14, kVisible },
    { Label5, kVisible },
    { Text3, kVisible },
    { Label13, kVisible },
    { Label11, kVisible },
    { Text7, kVisible },
};

inline constexpr MediumStep kOtherSteamSteps[] = {
    { Label9, kCaption },
    { Label10, kCaption },
    { Label12, kCaption },
    { Label13, kCaption },
    { Label5, kCaption },
    { Label11, kCaption },
    { Label14, kCaption },
    { Label14, kVisible },
    { Label5, kVisible },
    { Text3, kVisible },
    { Label13, kVisible },
    { Label11, kVisible },
    { Text7, kVisible },
};

inline constexpr std::string_view kLiquidNames[] = { "液体", "液", "液相", "Liquid" };
inline constexpr std::string_view kGasNames[]
    = { "气体", "气", "气相", "汽相", "Gas", "Vapor", "Vapour" };
inline constexpr std::string_view kWaterSteamNames[]
    = { "水蒸汽", "水蒸气", "蒸汽", "饱和蒸汽", "过热蒸汽", "Steam" };
inline constexpr std::string_view kOtherSteamNames[] = { "其他蒸汽" };
} // namespace detail

inline constexpr MediumSpec kMedia[] = {
    { MediumKind::Liquid, ControlId::Option1, "液体", detail::kLiquidSteps, detail::kLiquidNames },
    { MediumKind::Gas, ControlId::Option2, "气体", detail::kGasSteps, detail::kGasNames },
    { MediumKind::WaterSteam, ControlId::Option3, "水蒸汽", detail::kWaterSteamSteps,
        detail::kWaterSteamNames },
    { MediumKind::OtherSteam, ControlId::Option4, "其他蒸汽", detail::kOtherSteamSteps,
        detail::kOtherSteamNames },
};

constexpr const MediumSpec &MediumOf(MediumKind kind)
{
    return kMedia[Index(kind)];
}

namespace detail {
// The window as the table starts it, then as `lists` leave it, one after
// the other.
struct WindowState {
    std::array<Shown, kControlCount> controls;
    constexpr WindowState()
        : controls()
    {
        for (const ControlSpec &spec : kControls)
            controls[Index(spec.id)] = { spec.visible, spec.caption };
    }
    constexpr void Apply(const MediumSpec &medium)
    {
        for (const MediumStep &step : medium.steps) {
            const Shown want = ShownUnder(medium.medium, step.control);
            Shown &now = controls[Index(step.control)];
            if (step.action == StepAction::ShowOrHide)
                now.visible = want.visible;
            else
                now.caption = want.caption;
        }
    }
    // Every control shows what the inputs' table says `medium` shows.
    constexpr bool Shows(MediumKind medium) const
    {
        for (const ControlSpec &spec : kControls) {
            const Shown want = ShownUnder(medium, spec.id), now = controls[Index(spec.id)];
            if (now.visible != want.visible
                || (want.visible && spec.kind == ControlKind::Label && now.caption != want.caption))
                return false;
        }
        return true;
    }
};
} // namespace detail

static_assert([] {
    if (!detail::WindowState().Shows(MediumKind::Liquid))
        return false; // the window starts as liquid leaves it
    for (const MediumSpec &m : kMedia) {
        if (MediumOf(m.medium).option != m.option || Spec(m.option).caption != m.name
            || m.listNames.front() != m.name)
            return false;
        for (const MediumSpec &before : kMedia) {
            detail::WindowState state;
            state.Apply(before);
            state.Apply(m);
            if (!state.Shows(m.medium))
                return false;
        }
        for (const MediumStep &step : m.steps)
            if (step.action == StepAction::SetCaption
                && !ShownUnder(m.medium, step.control).visible)
                return false; // a caption no one sees is never set
    }
    for (const InputSpec &input : kInputs)
        if (Spec(input.label).buddy != input.box)
            return false;
    return true;
}());

} // namespace quorvel
