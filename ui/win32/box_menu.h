// The boxes' menu and the clipboard, for the Win32 front end.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win32 {

// The IDs of the program's own items in a box's menu; the edit box's items
// have the message they send the box as their ID.
inline constexpr UINT kCopyRowCommand = 1;
inline constexpr UINT kCalculateListCommand = 2;
inline constexpr UINT kPrintSheetCommand = 3;

// A box's menu: the edit box's own items, in the user's language (Chinese
// or English), greyed as the box and the clipboard allow; then, for a
// result box, the row command, and for every box the list and print commands.
HMENU BoxMenu(HWND box, bool resultBox);

// The clipboard's text, when it has text and can be opened.
std::optional<std::wstring> ClipboardText(HWND owner);

// `lines`, each ended by "\n", as CR LF-ended text on the clipboard, in one
// go; false when another program kept the clipboard.
bool PutOnClipboard(HWND owner, std::string_view lines);

} // namespace quorvel::win32
