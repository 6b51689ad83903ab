// Text into HTML, for the page's markup and the calculation sheet.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::web {

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
