// The valve list on arbitrary bytes, UTF-8 or not, with the first byte
// choosing the window's medium: one answer line for each line of the list,
// and never a NaN or an infinity in it.
#include "ui/valve_list.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto selected = static_cast<quorvel::MediumKind>(data[0] % 4);
    const std::string_view list(reinterpret_cast<const char *>(data + 1), size - 1);
    const quorvel::ListAnswer answer = quorvel::CalculateValveList(list, selected);
    const auto lines
        = static_cast<std::size_t>(std::count(answer.text.begin(), answer.text.end(), '\n'));
    if (lines != answer.lines || lines != quorvel::CountLines(list)
        || answer.failed.size() > answer.valves)
        std::abort();
    std::string lower(answer.text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos)
        std::abort();
    return 0;
}
