// The form without a window: a fake front end holds each control's text or
// caption and visibility, and records what the form reports. Expected
// numbers are those of the calculation's reference script.
#include "ui/form1.h"

#include "tests/case_name.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quorvel::test {

using enum ControlId;

// A fake front end around the form.
struct Window final : Form1Controls {
    std::array<std::string, kControlCount> text, hint, description;
    std::array<bool, kControlCount> visible {};
    ControlId selected = Option1;
    std::vector<std::string> errors;
    bool ended = false;
    Form1 form { *this };

    Window()
    {
        for (const ControlSpec &spec : kControls)
            text[Index(spec.id)] = spec.caption, visible[Index(spec.id)] = spec.visible;
        form.Describe();
    }

    std::string Text(ControlId box) const override { return text[Index(box)]; }
    void SetText(ControlId box, std::string_view t) override { text[Index(box)] = t; }
    void SetCaption(ControlId label, std::string_view t) override { text[Index(label)] = t; }
    void SetVisible(ControlId id, bool v) override { visible[Index(id)] = v; }
    bool IsSelected(ControlId option) const override { return option == selected; }
    void ShowError(std::string_view report) override { errors.emplace_back(report); }
    void SetHint(ControlId box, std::string_view t) override { hint[Index(box)] = t; }
    void SetDescription(ControlId box, std::string_view t) override { description[Index(box)] = t; }
    void End() override { ended = true; }

    // As a toolkit does: the button that is cleared is notified too.
    void Select(ControlId option)
    {
        form.Click(std::exchange(selected, option));
        form.Click(option);
    }
    std::string &operator[](ControlId id) { return text[Index(id)]; }
    // The captions or texts of `ids` as a person sees them: "" while hidden.
    std::vector<std::string> Shown(std::initializer_list<ControlId> ids) const
    {
        std::vector<std::string> seen;
        for (ControlId id : ids)
            seen.push_back(visible[Index(id)] ? text[Index(id)] : "");
        return seen;
    }
    // What `of` holds for each input box, hidden or not.
    std::vector<std::string> Inputs(const std::array<std::string, kControlCount> &of) const
    {
        std::vector<std::string> seen;
        for (ControlId box : kInputBoxes)
            seen.push_back(of[Index(box)]);
        return seen;
    }
};

constexpr ControlId kOptions[] = { Option1, Option2, Option3, Option4 };

struct MediumCase {
    std::string name;
    ControlId option;
    // Label9, Label10, Label12, Label5, Label13, Label11, Label14, Text3 and
    // Text7 as shown ("" when hidden, "x" for a box).
    std::vector<std::string> shown;
    std::vector<std::string> units; // descriptions of the input boxes
};

class MediumTest : public testing::TestWithParam<MediumCase> { };

// From every medium before it, with every box filled and a result shown:
// what shows depends on the chosen medium alone, and no box changes.
TEST_P(MediumTest, RelabelsAndKeepsEveryBox)
{
    const MediumCase &c = GetParam();
    for (ControlId before : kOptions) {
        Window w;
        w.Select(Option4);
        for (std::size_t i = 0; i < kInputBoxes.size(); ++i)
            w[kInputBoxes[i]] = "x";
        w[Text1] = "5";
        w.form.Command1_Click();
        const std::vector<std::string> results { w[Text5], w[Text6] };
        ASSERT_EQ(results[0], "0");
        w.Select(before);
        w.Select(c.option);
        w.Select(c.option); // again: changes nothing
        EXPECT_EQ(
            w.Shown({ Label9, Label10, Label12, Label5, Label13, Label11, Label14, Text3, Text7 }),
            c.shown);
        EXPECT_EQ(w.Inputs(w.description), c.units);
        EXPECT_EQ(w.Inputs(w.text), std::vector<std::string>({ "5", "x", "x", "x", "x" }));
        EXPECT_EQ(std::vector<std::string>({ w[Text5], w[Text6] }), results);
        EXPECT_TRUE(w.errors.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Form, MediumTest,
    testing::Values(MediumCase { "liquid", Option1,
                        { "kgf/cm2", "kgf/cm2", "m3/h", "介质比重:", "", "", "", "x", "" },
                        { "kgf/cm2", "kgf/cm2", "", "m3/h", "" } },
        MediumCase { "gas", Option2,
            { "kgf/cm2 abs", "kgf/cm2 abs", "m3/h", "介质比重:", "介质温度:", "℃", "", "x", "x" },
            { "kgf/cm2 abs", "kgf/cm2 abs", "", "m3/h", "℃" } },
        MediumCase { "water_steam", Option3,
            { "kgf/cm2 abs", "kgf/cm2 abs", "kg/h", "", "过热温度:", "℃", "", "", "x" },
            { "kgf/cm2 abs", "kgf/cm2 abs", "", "kg/h", "℃" } },
        MediumCase { "other_steam", Option4,
            { "kgf/cm2 abs", "kgf/cm2 abs", "kg/h", "出口比容:", "入口比容:", "cm3/g", "cm3/g", "x",
                "x" },
            { "kgf/cm2 abs", "kgf/cm2 abs", "cm3/g", "kg/h", "cm3/g" } }),
    CaseName {});

struct CalculateCase {
    std::string name;
    ControlId option;
    std::vector<std::string> inputs; // P1, P2, G, Q, t
    std::string cv, c; // what the result boxes show afterwards
    std::string formula; // "" when the calculation failed
    std::string error; // part of the report; "" for none
};

class CalculateTest : public testing::TestWithParam<CalculateCase> { };

// Through "计算" and through Enter in each input box, each time after an
// earlier result: the same boxes, hints and reports.
TEST_P(CalculateTest, ShowsOnlyWhatThisCalculationProduced)
{
    const CalculateCase &c = GetParam();
    const auto hint = [&](const std::string &n) {
        return c.formula.empty() ? "" : n + "（" + c.formula + "）";
    };
    std::vector<ControlId> ways { Command1 };
    ways.insert(ways.end(), kInputBoxes.begin(), kInputBoxes.end());
    for (ControlId way : ways) {
        SCOPED_TRACE(kControls[Index(way)].name);
        Window w;
        w[Text1] = "10", w[Text2] = "8", w[Text3] = "1", w[Text4] = "1000";
        w.form.Command1_Click(); // an earlier result, which must not stay
        w.Select(c.option);
        for (std::size_t i = 0; i < c.inputs.size(); ++i)
            w[kInputBoxes[i]] = c.inputs[i];
        way == Command1 ? w.form.Click(way) : w.form.EnterPressed(way);
        EXPECT_EQ(std::vector<std::string>({ w[Text5], w[Text6] }),
            std::vector<std::string>({ c.cv, c.c }));
        EXPECT_EQ(std::vector<std::string>(
                      { w.hint[Index(Text5)], w.hint[Index(Text6)], w.description[Index(Text6)] }),
            std::vector<std::string>({ hint(c.cv), hint(c.c), c.formula }));
        ASSERT_EQ(w.errors.size(), c.error.empty() ? 0u : 1u);
        EXPECT_TRUE(c.error.empty() || w.errors[0].find(c.error) != std::string::npos);
        EXPECT_EQ(w.Inputs(w.text), c.inputs);
        EXPECT_FALSE(w.ended);
    }
    Window w; // Enter in a result box does not calculate; exit ends the program
    w.form.EnterPressed(Text5);
    EXPECT_TRUE(w.errors.empty());
    w.form.Click(Command2);
    EXPECT_TRUE(w.ended);
}

const std::string kSub = "亚临界流（ΔP < P1/2）", kCrit = "临界流（ΔP ≥ P1/2）";

INSTANTIATE_TEST_SUITE_P(Form, CalculateTest,
    testing::Values(CalculateCase { "liquid", Option1, { "5", "4", "1", "10", "" },
                        "11.6999995708466", "10", "液体", "" },
        CalculateCase { "gas_subcritical", Option2, { "10", "8", "1", "1000", "27" },
            "10.0583670590527", "8.59689470350021", "气体，" + kSub, "" },
        CalculateCase { "gas_critical", Option2, { "10", "4", "1", "1000", "27" },
            "6.95602733963405", "5.94532273058087", "气体，" + kCrit, "" },
        CalculateCase { "water_steam_subcritical_hidden_gravity_ignored", Option3,
            { "10", "8", "junk", "1000", "100" }, "13.7771274717341", "11.77532305733",
            "水蒸汽，" + kSub, "" },
        CalculateCase { "water_steam_critical_full_width_digits", Option3,
            { "１０", "2", "", "1000", "0" }, "8.40336134453782", "7.18236012353659",
            "水蒸汽，" + kCrit, "" },
        CalculateCase { "other_steam", Option4, { "10", "8", "200", "1000", "100" },
            "10.1218584412528", "8.65116135928225", "其他蒸汽", "" },
        CalculateCase { "liquid_reads_hidden_temperature_and_ignores_it", Option1,
            { "5", "4", "1", "10abc", "-40" }, "11.6999995708466", "10", "液体", "" },
        CalculateCase { "empty_boxes", Option1, { "", "", "", "", "" }, "", "", "", "除数为零" },
        CalculateCase {
            "negative_radicand", Option1, { "4", "5", "1", "10", "" }, "", "", "", "负数" },
        CalculateCase { "hidden_temperature_overflows", Option1, { "5", "4", "1", "10", "1e999" },
            "", "", "", "溢出" },
        CalculateCase { "only_the_divisor_of_c_overflows", Option2,
            { "7e305", "0", "1", "1", "27" }, "9.93718191376292E-308", "", "", "溢出" }),
    CaseName {});

} // namespace quorvel::test
