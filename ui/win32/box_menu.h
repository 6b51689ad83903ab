// The boxes' menu and the clipboard, for the Win32 front end.
#pragma once

#include <windows.h>

#include "ui/commands.h"
#include "ui/controls.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win32 {

// A box's menu: the edit box's own items, in the user's language (Chinese
// or English), greyed as the box and the clipboard allow, whose IDs are the
// messages they send the box; then the form's commands for the box, whose
// IDs CommandOfItem reads.
HMENU BoxMenu(HWND box, ControlId id);
// The command of a menu item's ID, or null for the edit box's own items.
const Command *CommandOfItem(UINT item);

// The clipboard's text, when it has text and can be opened.
std::optional<std::wstring> ClipboardText(HWND owner);

// `lines`, each ended by "\n", as CR LF-ended text on the clipboard, in one
// go; false when another program kept the clipboard.
bool PutOnClipboard(HWND owner, std::string_view lines);

} // namespace quorvel::win32
