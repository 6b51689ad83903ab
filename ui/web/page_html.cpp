// Writes the page's window as static HTML and CSS from the control table
// (ui/controls.h), at build time: the browser paints the whole window from
// it before any script has run. Prints what its argument asks for: the
// "style", the "controls", the control "names" as a JavaScript array in
// the table's order, the "commands" of ui/commands.h as one, for the
// glue's key handler, or, for "ascii", the page in the file it names in
// ASCII.
#include "ui/commands.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/web/html.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using namespace quorvel;
using web::Escaped;
using web::Families;
using web::Points;

std::string Px(int twips)
{
    return std::to_string(twips / kTwipsPerPixel) + "px";
}

std::string Rgb(const quorvel::Rgb &c)
{
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b)
        + ")";
}

// Every control at its place, text boxes and option buttons above the labels
// and the frame they overlap.
std::string Style()
{
    // A closed <dialog> is hidden also where the browser has no <dialog>.
    std::string css = "html,body{margin:0;padding:0}[hidden]{display:none!important}"
                      "#message:not([open]){display:none}"
                      "#Form1{position:relative;overflow:hidden;width:"
        + Px(kClientWidthTwips) + ";height:" + Px(kClientHeightTwips) + ";background:"
        + Rgb(kBackground) + ";font:" + Points(kDefaultPoints) + " " + Families(FontFace::Default)
        + ";color:#000}"
          "#Form1>*{position:absolute;box-sizing:border-box;margin:0;padding:0;z-index:2}"
          "#Form1 .label{z-index:0;cursor:default}"
          "#Form1 fieldset{z-index:1;border:1px solid #9a9a9a;border-radius:2px}"
          "#Form1 legend{margin-left:6px;padding:0 2px;font:inherit}"
          "#Form1 .option{display:flex;align-items:center;white-space:nowrap}"
          "#Form1 .option input{margin:0 3px 0 2px}"
          "#Form1 input[type=text]{border:1px solid #7a7a7a;background:#fff;padding:0 3px}"
          // WebKit draws a button's caption in a translucent black of its own.
          "#Form1 button{font:inherit;color:inherit}"
          "dialog{padding:0;border:1px solid #888;min-width:300px;max-width:480px;"
          "font:"
        + Points(kDefaultPoints) + " " + Families(FontFace::Default)
        + "}"
          "dialog .title{padding:4px 8px;background:#dfe8f0}"
          "dialog .body{display:flex;gap:12px;padding:14px 16px}"
          "dialog .body p{margin:0;white-space:pre-line}"
          "dialog svg{flex:none}dialog svg g{display:none}dialog.error g.error,"
          "dialog.warning g.warning,dialog.information g.information{display:inline}"
          "dialog .buttons{text-align:right;padding:0 16px 12px}"
          "dialog button{min-width:80px;font:inherit;color:inherit}"
          // The calculation sheets are what the page prints, never the window:
          // A4 pages without margins, each text and rule placed on them as
          // the desktop printers place it (ui/sheet_layout.h). A page
          // without margins leaves the browser no room for its header and
          // footer lines.
          "#sheet{display:none}@page{size:A4;margin:0}"
          "@media print{body{margin:0}#Form1,#message{display:none!important}"
          "#sheet{display:block;color:#000}"
          "#sheet .page{position:relative;width:210mm;height:297mm;overflow:hidden;"
          "break-after:page}#sheet .page:last-child{break-after:auto}"
          "#sheet .page>*{position:absolute;white-space:pre;margin:0}"
          "#sheet .page>i{border:0 solid #000;border-width:0.25mm 0 0 0}"
          "#sheet .page>i.v{border-width:0 0 0 0.25mm}}";
    // Each text's line is its font's box (ui/web/print.cpp).
    for (const SheetStyle style : kSheetStyles)
        css += "#sheet .s" + std::to_string(int(style)) + "{font:" + web::SheetFont(style) + "}";
    for (const ControlSpec &spec : kControls) {
        css += "#" + std::string(spec.name) + "{left:" + Px(spec.left) + ";top:" + Px(spec.top)
            + ";width:" + Px(spec.width) + ";height:" + Px(spec.height);
        if (spec.face != FontFace::Default)
            css += std::string(";font:") + (spec.italic ? "italic " : "")
                + (spec.bold ? "bold " : "") + Points(spec.points) + " " + Families(spec.face);
        if (spec.colour)
            css += ";color:" + Rgb(*spec.colour);
        css += "}";
    }
    return css;
}

std::string Controls()
{
    const Form1::StartWords described = Form1::WordsAtStart();
    std::string html = "<div id=\"Form1\">\n";
    for (const ControlSpec &spec : kControls) {
        const std::string id(spec.name), caption = Escaped(spec.caption);
        const std::string hidden = spec.visible ? "" : " hidden";
        const std::string tab = " tabindex=\"" + std::to_string(spec.tabIndex + 1) + "\"";
        switch (spec.kind) {
        case ControlKind::Label:
            if (spec.buddy)
                html += "<label id=\"" + id + "\" class=\"label\" for=\""
                    + std::string(Spec(*spec.buddy).name) + "\"" + hidden + ">" + caption
                    + "</label>\n";
            else
                html += "<div id=\"" + id + "\" class=\"label\"" + hidden + ">" + caption
                    + "</div>\n";
            break;
        case ControlKind::TextBox: {
            const std::string_view hint = described.hint[Index(spec.id)];
            html += "<input id=\"" + id + "\" type=\"text\"" + tab
                + " autocomplete=\"off\" spellcheck=\"false\" aria-describedby=\"" + id + "-unit\""
                + (hint.empty() ? "" : " title=\"" + Escaped(hint) + "\"")
                + (spec.id == kTabOrder.front() ? " autofocus" : "") + hidden + "><span id=\"" + id
                + "-unit\" hidden>" + Escaped(described.description[Index(spec.id)]) + "</span>\n";
            break;
        }
        case ControlKind::OptionButton:
            html += "<label id=\"" + id + "\" class=\"option\"" + hidden
                + "><input type=\"radio\" name=\"medium\"" + tab
                + (spec.id == kStartOption ? " checked" : "") + ">" + caption + "</label>\n";
            break;
        case ControlKind::CommandButton:
            html += "<button id=\"" + id + "\" type=\"button\"" + tab + hidden + ">" + caption
                + "</button>\n";
            break;
        case ControlKind::Frame:
            html += "<fieldset id=\"" + id + "\"" + hidden + "><legend>" + caption
                + "</legend></fieldset>\n";
            break;
        }
    }
    return html + "</div>";
}

std::string Names()
{
    std::string names = "[";
    for (const ControlSpec &spec : kControls)
        names += "\"" + std::string(spec.name) + "\",";
    names.back() = ']';
    return names;
}

std::string Commands()
{
    std::string list = "[";
    for (const Command &command : kCommands)
        list += std::string("{\"clipboard\":") + (command.readsClipboard ? "true" : "false") + "},";
    list.back() = ']';
    return list;
}

// The page with each character beyond ASCII written as a reference to it:
// a CSS escape in the style, an HTML character reference elsewhere; the
// scripts' texts, which are ASCII, as they are. A browser reads an ASCII
// page into 8-bit strings, which it decodes and parses quicker than the
// 16-bit ones that a single Chinese character puts the rest of a page into.
std::string Ascii(std::string_view page)
{
    std::string out;
    bool inStyle = false;
    for (std::size_t at = 0; at < page.size();) {
        const auto lead = static_cast<unsigned char>(page[at]);
        if (lead < 0x80) {
            if (lead == '<') {
                const std::string_view rest = page.substr(at);
                if (rest.starts_with("<style>"))
                    inStyle = true;
                else if (rest.starts_with("</style>"))
                    inStyle = false;
            }
            out += page[at++];
            continue;
        }
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t code = lead & (0x7F >> length);
        for (int i = 1; i < length && at + i < page.size(); ++i)
            code = (code << 6) | (static_cast<unsigned char>(page[at + i]) & 0x3F);
        at += length;
        char reference[16];
        std::snprintf(reference, sizeof reference, inStyle ? "\\%X " : "&#x%X;", code);
        out += reference;
    }
    return out;
}

std::string Read(const char *path)
{
    std::string text;
    if (std::FILE *file = std::fopen(path, "rb")) {
        char buffer[1 << 16];
        for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, read);
        std::fclose(file);
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string_view part = argc > 1 ? argv[1] : "";
    const std::string text = part == "style" ? Style()
        : part == "controls"                 ? Controls()
        : part == "names"                    ? Names()
        : part == "commands"                 ? Commands()
        : part == "ascii" && argc > 2        ? Ascii(Read(argv[2]))
                                             : std::string();
    if (text.empty()) {
        std::fprintf(stderr, "usage: page_html style|controls|names|commands|ascii PAGE\n");
        return 2;
    }
    std::fputs(text.c_str(), stdout);
}
