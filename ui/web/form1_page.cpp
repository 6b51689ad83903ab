#include "ui/web/form1_page.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <span>
#include <string>

namespace quorvel::web {

namespace {

// The glue's side; a text comes into the module's memory, allocated with
// its malloc.
EM_JS(char *, quorvel_js_text, (int id), {
    var text = QuorvelPage.text(id);
    var size = lengthBytesUTF8(text) + 1;
    var at = _malloc(size);
    stringToUTF8(text, at, size);
    return at;
});
EM_JS(void, quorvel_js_set_text, (int id, const char *text, int length),
    { QuorvelPage.setText(id, UTF8ToString(text, length)); });
EM_JS(void, quorvel_js_set_caption, (int id, const char *text, int length),
    { QuorvelPage.setCaption(id, UTF8ToString(text, length)); });
EM_JS(void, quorvel_js_set_visible, (int id, int visible),
    { QuorvelPage.setVisible(id, visible != 0); });
EM_JS(int, quorvel_js_is_selected, (int id), { return QuorvelPage.isSelected(id) ? 1 : 0; });
EM_JS(void, quorvel_js_show_message, (int icon, const char *text, int length),
    { QuorvelPage.showMessage(icon, UTF8ToString(text, length)); });
EM_JS(void, quorvel_js_set_hint, (int id, const char *text, int length),
    { QuorvelPage.setHint(id, UTF8ToString(text, length)); });
EM_JS(void, quorvel_js_set_description, (int id, const char *text, int length),
    { QuorvelPage.setDescription(id, UTF8ToString(text, length)); });
EM_JS(void, quorvel_js_end, (const char *text, int length),
    { QuorvelPage.end(UTF8ToString(text, length)); });
EM_JS(int, quorvel_js_copy, (const char *text, int length),
    { return QuorvelPage.copy(UTF8ToString(text, length)) ? 1 : 0; });

int Id(ControlId id)
{
    return static_cast<int>(Index(id));
}

class Form1Page final : private Form1Controls {
public:
    Form1 form { *this };

private:
    std::string Text(ControlId box) const override
    {
        const std::unique_ptr<char, decltype(&std::free)> text(quorvel_js_text(Id(box)), std::free);
        return text ? std::string(text.get()) : std::string();
    }
    void SetText(ControlId box, std::string_view text) override
    {
        quorvel_js_set_text(Id(box), text.data(), Length(text));
    }
    void SetCaption(ControlId label, std::string_view caption) override
    {
        quorvel_js_set_caption(Id(label), caption.data(), Length(caption));
    }
    void SetVisible(ControlId control, bool visible) override
    {
        quorvel_js_set_visible(Id(control), visible);
    }
    bool IsSelected(ControlId option) const override
    {
        return quorvel_js_is_selected(Id(option)) != 0;
    }
    void ShowMessage(MessageIcon icon, std::string_view text) override
    {
        quorvel_js_show_message(static_cast<int>(icon), text.data(), Length(text));
    }
    void SetHint(ControlId box, std::string_view hint) override
    {
        quorvel_js_set_hint(Id(box), hint.data(), Length(hint));
    }
    void SetDescription(ControlId box, std::string_view description) override
    {
        quorvel_js_set_description(Id(box), description.data(), Length(description));
    }
    void End() override { quorvel_js_end(kEndedText.data(), Length(kEndedText)); }
    bool CopyToClipboard(std::string_view lines) override
    {
        return quorvel_js_copy(lines.data(), Length(lines)) != 0;
    }
    PrintResult Print(std::span<const Sheet> sheets) override { return PrintPages(sheets); }
};

} // namespace

Form1 &PageForm()
{
    static Form1Page page;
    return page.form;
}

int Length(std::string_view text)
{
    return static_cast<int>(text.size());
}

ControlId ControlAt(int index)
{
    return kControls[static_cast<std::size_t>(index)].id;
}

std::string_view View(const char *text, int length)
{
    return { text, static_cast<std::size_t>(length) };
}

} // namespace quorvel::web
