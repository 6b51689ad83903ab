// Text into HTML, and the fonts as CSS names them, for the page's markup
// and the calculation sheets.
#pragma once

#include "ui/controls.h"
#include "ui/sheet_layout.h"

#include <string>
#include <string_view>

namespace quorvel::web {

// "10.5pt".
inline std::string Points(double points)
{
    std::string text = std::to_string(points);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text + "pt";
}

// A face's candidates, best first, then the browser's serif face.
inline std::string Families(FontFace face)
{
    std::string list;
    for (std::string_view family : FaceCandidates(face))
        list += "\"" + std::string(family) + "\",";
    return list + "serif";
}

// A sheet's style as a CSS font: "bold 11pt "SimSun",…,serif".
inline std::string SheetFont(SheetStyle style)
{
    return (SheetBold(style) ? "bold " : "") + Points(SheetPoints(style)) + " "
        + Families(FontFace::Song);
}

inline std::string Escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace quorvel::web
