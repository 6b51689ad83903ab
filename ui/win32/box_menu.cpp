#include "ui/win32/box_menu.h"

#include "ui/form1.h"
#include "ui/win32/form1_window.h"

#include <cstring>

namespace quorvel::win32 {

namespace {

// Below the edit box's messages (EM_UNDO, WM_CUT...), which are their items' IDs.
constexpr UINT kFirstCommandItem = 1;

} // namespace

const Command *CommandOfItem(UINT item)
{
    return item >= kFirstCommandItem && item < kFirstCommandItem + std::size(kCommands)
        ? &kCommands[item - kFirstCommandItem]
        : nullptr;
}

HMENU BoxMenu(HWND box, ControlId id)
{
    const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool selected = start != end;
    const bool editable = !(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
    const auto length = DWORD(GetWindowTextLengthW(box));
    struct Item {
        UINT id; // 0 for a separator
        const wchar_t *chinese, *english;
        bool enabled;
    };
    const Item items[] = {
        { EM_UNDO, L"撤消(&U)", L"&Undo", SendMessageW(box, EM_CANUNDO, 0, 0) != 0 },
        { 0, nullptr, nullptr, false },
        { WM_CUT, L"剪切(&T)", L"Cu&t", selected && editable },
        { WM_COPY, L"复制(&C)", L"&Copy", selected },
        { WM_PASTE, L"粘贴(&P)", L"&Paste",
            editable && IsClipboardFormatAvailable(CF_UNICODETEXT) },
        { WM_CLEAR, L"删除(&D)", L"&Delete", selected && editable },
        { 0, nullptr, nullptr, false },
        { EM_SETSEL, L"全选(&A)", L"Select &All", length > 0 && (start > 0 || end < length) },
        { 0, nullptr, nullptr, false },
    };
    const HMENU menu = CreatePopupMenu();
    for (const Item &item : items)
        AppendMenuW(menu, item.id ? MF_STRING | (item.enabled ? 0 : MF_GRAYED) : MF_SEPARATOR,
            item.id, item.id ? (chinese ? item.chinese : item.english) : nullptr);
    // The text after the tab stands in the menu's shortcut column.
    for (const Command *command : Form1::MenuOf(id))
        AppendMenuW(menu, MF_STRING, kFirstCommandItem + UINT(command - std::begin(kCommands)),
            Wide(MenuItemText(*command)).c_str());
    return menu;
}

std::optional<std::wstring> ClipboardText(HWND owner)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto *chars = static_cast<const wchar_t *>(GlobalLock(data))) {
            // Within the block, whether or not another program ended it with a zero.
            text.emplace(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

bool PutOnClipboard(HWND owner, std::string_view lines)
{
    std::wstring text;
    const std::wstring wide = Wide(lines);
    text.reserve(wide.size() + wide.size() / 8 + 1);
    for (wchar_t c : wide) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        return false;
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 10 && !(opened = OpenClipboard(owner)); ++attempt)
        Sleep(20);
    const bool placed = opened && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block);
    if (opened)
        CloseClipboard();
    if (!placed)
        GlobalFree(block); // the clipboard owns it only once placed
    return placed;
}

} // namespace quorvel::win32
