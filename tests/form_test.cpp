// The form without a window: a fake front end holds each control's text or
// caption and visibility, and records what the form reports. Expected
// numbers are those of the calculation's reference script.
#include "ui/book.h"
#include "ui/form1.h"
#include "ui/media.h"
#include "ui/valve_list.h"

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
    std::vector<std::string> errors, notes;
    bool warned = false;
    std::string clipboard = "(earlier)";
    bool clipboardWritable = true;
    bool ended = false;
    std::vector<Sheet> printed;
    PrintResult printResult;
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
    void ShowMessage(MessageIcon icon, std::string_view text) override
    {
        (icon == MessageIcon::Error ? errors : notes).emplace_back(text);
        warned = warned || icon == MessageIcon::Warning;
    }
    void SetHint(ControlId box, std::string_view t) override { hint[Index(box)] = t; }
    void SetDescription(ControlId box, std::string_view t) override { description[Index(box)] = t; }
    void End() override { ended = true; }
    bool CopyToClipboard(std::string_view lines) override
    {
        if (clipboardWritable)
            clipboard = lines;
        return clipboardWritable;
    }
    PrintResult Print(std::span<const Sheet> sheets) override
    {
        printed.assign(sheets.begin(), sheets.end());
        return printResult;
    }

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
    // The copied row's medium and inputs, before Cv and C; none when the
    // calculation fails and the clipboard keeps what it held.
    std::vector<std::string> row;
};

class CalculateTest : public testing::TestWithParam<CalculateCase> { };

// Through "计算", Enter in each input box and Ctrl+Shift+C, each time after
// an earlier result with other inputs: the same boxes, hints and reports,
// and only Ctrl+Shift+C copies, the row of this calculation.
TEST_P(CalculateTest, ShowsOnlyWhatThisCalculationProduced)
{
    const CalculateCase &c = GetParam();
    const std::string copyHint(ShortcutsHint());
    const auto hint = [&](const std::string &n) {
        return c.formula.empty() ? copyHint : n + "（" + c.formula + "）\n" + copyHint;
    };
    std::string row;
    for (const std::string &field : c.row)
        row += field + "\t";
    row += c.cv + "\t" + c.c + "\n";
    std::vector<ControlId> ways { Command1 };
    ways.insert(ways.end(), kInputBoxes.begin(), kInputBoxes.end());
    ways.push_back(Label1); // stands for Ctrl+Shift+C, wherever the focus is
    ways.push_back(Label2); // and for Ctrl+P
    for (ControlId way : ways) {
        SCOPED_TRACE(kControls[Index(way)].name);
        Window w;
        w[Text1] = "10", w[Text2] = "8", w[Text3] = "1", w[Text4] = "1000";
        w.form.Run(CommandId::CopyRow); // an earlier result, which must not stay
        w.clipboard = "(earlier)";
        w.Select(c.option);
        for (std::size_t i = 0; i < c.inputs.size(); ++i)
            w[kInputBoxes[i]] = c.inputs[i];
        if (way == Command1)
            w.form.Click(way);
        else if (way == Label1)
            w.form.Run(CommandId::CopyRow);
        else if (way == Label2)
            w.form.Run(CommandId::PrintSheet);
        else
            w.form.EnterPressed(way);
        ASSERT_EQ(w.printed.size(), way == Label2 && !c.row.empty() ? 1u : 0u);
        if (!w.printed.empty()) {
            EXPECT_EQ(w.printed[0].date, SheetDate(Today()));
            EXPECT_EQ(w.printed[0].sections.back().lines,
                std::vector<std::string>({ "Cv = " + c.cv, "C = " + c.c }));
        }
        EXPECT_EQ(std::vector<std::string>({ w[Text5], w[Text6] }),
            std::vector<std::string>({ c.cv, c.c }));
        EXPECT_EQ(std::vector<std::string>(
                      { w.hint[Index(Text5)], w.hint[Index(Text6)], w.description[Index(Text6)] }),
            std::vector<std::string>({ hint(c.cv), hint(c.c), c.formula }));
        ASSERT_EQ(w.errors.size(), c.error.empty() ? 0u : 1u);
        EXPECT_TRUE(c.error.empty() || w.errors[0].find(c.error) != std::string::npos);
        EXPECT_EQ(w.Inputs(w.text), c.inputs);
        EXPECT_EQ(w.clipboard, way == Label1 && !c.row.empty() ? row : "(earlier)");
        EXPECT_FALSE(w.ended);
    }
    Window w; // Enter in a result box does not calculate; exit ends the program
    EXPECT_EQ(w.hint[Index(Text6)], copyHint);
    w.form.EnterPressed(Text5);
    EXPECT_TRUE(w.errors.empty());
    w[Text1] = "5", w[Text2] = "4"; // a clipboard that another program holds is reported
    w.clipboardWritable = false;
    w.form.Run(CommandId::CopyRow);
    ASSERT_EQ(w.errors.size(), 1u);
    EXPECT_NE(w.errors[0].find("剪贴板"), std::string::npos);
    w[Text3] = "1", w[Text4] = "10"; // a print the system refused is reported, a cancelled one not
    for (const auto status : { PrintResult::Status::Cancelled, PrintResult::Status::Failed }) {
        w.printResult = { status, PrintFailure::Refused, "0x5" };
        w.form.Run(CommandId::PrintSheet);
    }
    ASSERT_EQ(w.errors.size(), 2u);
    EXPECT_EQ(w.errors[1],
        "打印失败：打印机没有接受这份计算书（0x5）。\n计算书没有打印。请检查打印机后再按 Ctrl+P。");
    w.form.Click(Command2);
    EXPECT_TRUE(w.ended);
}

const std::string kSub = "亚临界流（ΔP < P1/2）", kCrit = "临界流（ΔP ≥ P1/2）";

INSTANTIATE_TEST_SUITE_P(Form, CalculateTest,
    testing::Values(CalculateCase { "liquid", Option1, { "5", "4", "1", "10", "" },
                        "11.6999995708466", "10", "液体", "", { "液体", "5", "4", "1", "10", "" } },
        CalculateCase { "gas_subcritical", Option2, { "10", "8", "1", "1000", "27" },
            "10.0583670590527", "8.59689470350021", "气体，" + kSub, "",
            { "气体", "10", "8", "1", "1000", "27" } },
        CalculateCase { "gas_critical", Option2, { "10", "4", "1", "1000", "27" },
            "6.95602733963405", "5.94532273058087", "气体，" + kCrit, "",
            { "气体", "10", "4", "1", "1000", "27" } },
        CalculateCase { "water_steam_subcritical_hidden_gravity_ignored", Option3,
            { "10", "8", "junk", "1000", "100" }, "13.7771274717341", "11.77532305733",
            "水蒸汽，" + kSub, "", { "水蒸汽", "10", "8", "", "1000", "100" } },
        CalculateCase { "water_steam_critical_full_width_digits", Option3,
            { "１０", "2", "", "1000", "0" }, "8.40336134453782", "7.18236012353659",
            "水蒸汽，" + kCrit, "", { "水蒸汽", "10", "2", "", "1000", "0" } },
        CalculateCase { "other_steam", Option4, { "10", "8", "200", "1000", "1e2" },
            "10.1218584412528", "8.65116135928225", "其他蒸汽", "",
            { "其他蒸汽", "10", "8", "200", "1000", "100" } },
        CalculateCase { "liquid_reads_hidden_temperature_and_ignores_it", Option1,
            { "5", "4", "1", "10abc", "-40" }, "11.6999995708466", "10", "液体", "",
            { "液体", "5", "4", "1", "10", "" } },
        CalculateCase {
            "empty_boxes", Option1, { "", "", "", "", "" }, "", "", "", "除数为零", {} },
        CalculateCase {
            "negative_radicand", Option1, { "4", "5", "1", "10", "" }, "", "", "", "负数", {} },
        CalculateCase { "hidden_temperature_overflows", Option1, { "5", "4", "1", "10", "1e999" },
            "", "", "", "溢出", {} },
        CalculateCase { "only_the_divisor_of_c_overflows", Option2,
            { "7e305", "0", "1", "1", "27" }, "9.93718191376292E-308", "", "", "溢出", {} }),
    CaseName {});

struct PasteCase {
    std::string name;
    ControlId option, box;
    std::string text;
    bool routed; // false: left to the system's own paste
    std::vector<std::string> inputs; // Text1, Text2, Text3, Text4, Text7 afterwards
};

class PasteTest : public testing::TestWithParam<PasteCase> { };

TEST_P(PasteTest, FieldsGoIntoTheVisibleInputBoxesFromTheOnePastedInto)
{
    const PasteCase &c = GetParam();
    Window w;
    w.Select(c.option);
    const std::vector<std::string> before { "a", "b", "c", "d", "e" };
    for (std::size_t i = 0; i < before.size(); ++i)
        w[kInputBoxes[i]] = before[i];
    w[Text5] = "r";
    EXPECT_EQ(w.form.Paste(c.box, c.text), c.routed);
    EXPECT_EQ(w.Inputs(w.text), c.routed ? c.inputs : before);
    EXPECT_EQ(w[Text5], "r");
    EXPECT_TRUE(w.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Form, PasteTest,
    testing::Values(PasteCase { "liquid_spreadsheet_row", Option1, Text1, "5\t4\t1\t10\r\n", true,
                        { "5", "4", "1", "10", "e" } },
        PasteCase { "water_steam_row_skips_the_hidden_gravity", Option3, Text2, "2\t500\t100", true,
            { "a", "2", "c", "500", "100" } },
        PasteCase { "gas_column", Option2, Text1, "10\n8\n1\n1000\n27", true,
            { "10", "8", "1", "1000", "27" } },
        PasteCase { "other_steam_column_of_cells_from_the_middle", Option4, Text3,
            "7\r\n8\r\n9\r\n", true, { "a", "b", "7", "8", "9" } },
        PasteCase { "fields_beyond_the_last_visible_box_dropped", Option1, Text4, "9\t8\t7", true,
            { "a", "b", "c", "9", "e" } },
        PasteCase { "empty_and_unchecked_fields_kept", Option2, Text1, "12abc\t\t 3", true,
            { "12abc", "", " 3", "d", "e" } },
        PasteCase { "one_cell_with_its_line_break", Option1, Text2, "42\r\n", true,
            { "a", "42", "c", "d", "e" } },
        PasteCase { "quoted_cells_read_as_the_spreadsheet_wrote_them", Option1, Text1,
            "\"5\"\t\"4\"\t\"1\"\t10\r\n", true, { "5", "4", "1", "10", "e" } },
        PasteCase { "an_unclosed_quote_as_it_stands_then_an_empty_quoted_cell", Option1, Text1,
            "\"x\t\"\"\t7", true, { "\"x", "", "7", "d", "e" } },
        PasteCase { "one_field_is_the_system_paste", Option2, Text1, "42", false, {} },
        PasteCase { "into_a_result_box_is_the_system_paste", Option1, Text5, "1\t2", false, {} }),
    CaseName {});

struct ListCase {
    std::string name;
    ControlId option; // the medium selected in the window
    std::string list; // the clipboard's text
    std::string answer; // "" when nothing is copied
    std::string message; // part of the message box's text
};

class ListTest : public testing::TestWithParam<ListCase> { };

// Each line of a copied list answered on its own line; the window is left
// as it was, and the message counts what was calculated.
TEST_P(ListTest, AnswersEachLineAndLeavesTheWindowAlone)
{
    const ListCase &c = GetParam();
    Window w;
    w.Select(c.option);
    w[Text1] = "5", w[Text2] = "4", w[Text3] = "1", w[Text4] = "10", w[Text7] = "x";
    w.form.Command1_Click();
    const auto before = w.text;
    const auto visible = w.visible;
    w.form.Run(CommandId::CalculateList, c.list);
    EXPECT_EQ(w.clipboard, c.answer.empty() ? "(earlier)" : c.answer);
    ASSERT_EQ(w.notes.size(), 1u);
    EXPECT_NE(w.notes[0].find(c.message), std::string::npos) << w.notes[0];
    EXPECT_EQ(w.warned, c.answer.empty());
    EXPECT_TRUE(w.errors.empty());
    EXPECT_TRUE(w.text == before && w.visible == visible);
    EXPECT_TRUE(w.IsSelected(c.option));
    if (!c.answer.empty()) { // a clipboard that another program holds is reported
        w.clipboardWritable = false;
        w.form.Run(CommandId::CalculateList, c.list);
        EXPECT_EQ(w.errors.size(), 1u);
    }
}

std::string Repeat(std::string_view line, std::size_t times)
{
    std::string text;
    while (times--)
        text += line;
    return text;
}

INSTANTIATE_TEST_SUITE_P(Form, ListTest,
    testing::Values(ListCase { "mixed_list", Option1,
                        "调节阀数据表\r\n"
                        "\r\n"
                        "5\t4\t1\t10\r\n"
                        "气体\t10\t8\t1\t1000\t27\n"
                        " 水蒸汽 \t10\t8\t1000\t100\r"
                        "水蒸汽\t１０\t2\tjunk\t1000\t0\r\n"
                        "其他蒸汽\t10\t8\t200\t1000\t1e2\t10.12\t8.65\n"
                        "4\t5\t1\t10\n"
                        "气体\t7e305\t0\t1\t1\t27\n"
                        " \t\t\r\n",
                        "Cv\tC\n"
                        "\n"
                        "11.6999995708466\t10\n"
                        "10.0583670590527\t8.59689470350021\n"
                        "13.7771274717341\t11.77532305733\n"
                        "8.40336134453782\t7.18236012353659\n"
                        "10.1218584412528\t8.65116135928225\n"
                        "出错：无效的参数（负数不能开平方）\t\n"
                        "9.93718191376292E-308\t出错：溢出（数值超出范围）\n"
                        "\n",
                        "已计算 7 行：5 行得出 Cv 和 C，2 行出错（第 8、9 行）。" },
        // Cells of two lines come in quotes, and give their column's unit on
        // the second; a quote that is never closed is taken as it stands.
        ListCase { "quoted_cells", Option1,
            "介质\t\"阀前压力\nkgf/cm2\"\t\"阀后压力\r\nkgf/"
            "cm2\"\t比重\t流量\t\"温度\n\"\"℃\"\"\"\r\n"
            "液体\t5\t4\t1\t10\t\r\n"
            "\"液体\"\t\"5\"\t4\t\"1\"\t10\r\n"
            "液体\t0\r\n"
            "液体\t5\t4\t1\t10\t\"备注\r\n"
            "气体\t10\t8\t1\t1000\t27\r\n",
            "Cv\tC\n11.6999995708466\t10\n11.6999995708466\t10\n出错：第 4 行 P2（第 3 "
            "列）是空的\t\n"
            "11.6999995708466\t10\n10.0583670590527\t8.59689470350021\n",
            "已计算 5 行：4 行得出 Cv 和 C，1 行出错（第 4 行）。\n\n第 1–6 行按表头读取：\n"
            "  介质：第 1 列\n  P1：第 2 列，kgf/cm2\n" },
        ListCase { "selected_medium_takes_the_fields_it_shows", Option3, "10\t8\t1000\t100",
            "13.7771274717341\t11.77532305733\n", "已计算 1 行：1 行得出 Cv 和 C。" },
        ListCase { "ten_failures_named", Option1, Repeat("0\n", 12),
            Repeat("出错：除数为零\t\n", 12),
            "12 行出错（第 1、2、3、4、5、6、7、8、9、10 行等）" },
        ListCase { "empty_clipboard", Option2, "", "", "剪贴板中没有可计算的行" },
        ListCase { "headers_only", Option2, "P1\tP2\r\n液体\r\n", "", "剪贴板中没有可计算的行" },
        ListCase { "over_the_limit", Option1, Repeat("1\n", kMaxListLines + 1), "",
            "一次最多计算 100000 行" }),
    CaseName {});

// Ctrl+Shift+P prints the book of the clipboard's list, one sheet for the
// summary and each valve calculated, and leaves the window as it was; a
// list of no valve, or of more than the book takes, is said and not printed.
TEST(Form, PrintsTheListsBookOrSaysWhyNot)
{
    struct Case {
        std::string list;
        std::size_t sheets; // 0: nothing printed
        std::string warning;
    };
    const Case cases[] = {
        { "位号\tP1\tP2\tG\tQ\r\nFV-1\t5\t4\t1\t10\r\nFV-2\t5\t\t1\t10\r\n", 2, "" },
        { "P1\tP2\r\n", 0, "剪贴板中没有可计算的行" },
        { Repeat("5\t4\t1\t10\n", kMaxBookValves + 1), 0, "一次最多打印 1000 个阀门的计算书" },
    };
    for (const Case &c : cases) {
        Window w;
        w[Text1] = "10";
        const auto before = w.text;
        w.form.Run(CommandId::PrintBook, c.list);
        EXPECT_EQ(w.printed.size(), c.sheets);
        EXPECT_EQ(w.warned, c.sheets == 0);
        EXPECT_TRUE(c.warning.empty() || w.notes.at(0).find(c.warning) != std::string::npos);
        EXPECT_TRUE(w.text == before);
    }
}

} // namespace quorvel::test
