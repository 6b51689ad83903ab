// The yardstick for the Windows program's start-up: the smallest Win32
// program that shows the same window at 96 DPI, with the same manifest: the
// same 28 standard controls from the same table, in the same fonts and
// colours, and nothing else: no choice of faces, no DPI, no form.
#include <windows.h>

#include "ui/controls.h"

#include <string>

using namespace quorvel;

namespace {

HBRUSH background;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        const ControlSpec &spec = kControls[GetDlgCtrlID(reinterpret_cast<HWND>(lParam))];
        if (spec.colour)
            SetTextColor(dc, RGB(spec.colour->r, spec.colour->g, spec.colour->b));
        return reinterpret_cast<LRESULT>(background);
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring Wide(std::string_view s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), int(w.size())));
    return w;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    background = CreateSolidBrush(RGB(kBackground.r, kBackground.g, kBackground.b));
    WNDCLASSW wc {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = L"Reference";
    RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT r { 0, 0, TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips) };
    AdjustWindowRect(&r, style, FALSE);
    const HWND hwnd = CreateWindowW(L"Reference", L"Reference", style, CW_USEDEFAULT, CW_USEDEFAULT,
        r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    for (const ControlSpec &s : kControls) {
        const wchar_t *cls = s.kind == ControlKind::Label ? L"STATIC"
            : s.kind == ControlKind::TextBox              ? L"EDIT"
                                                          : L"BUTTON";
        const DWORD kind = s.kind == ControlKind::OptionButton ? BS_AUTORADIOBUTTON
            : s.kind == ControlKind::Frame                     ? BS_GROUPBOX
            : s.kind == ControlKind::CommandButton             ? BS_PUSHBUTTON
                                                               : 0;
        const HWND c = CreateWindowExW(s.kind == ControlKind::TextBox ? WS_EX_CLIENTEDGE : 0, cls,
            Wide(s.caption).c_str(), WS_CHILD | kind | (s.visible ? WS_VISIBLE : 0),
            TwipsToPixels(s.left), TwipsToPixels(s.top), TwipsToPixels(s.width),
            TwipsToPixels(s.height), hwnd, reinterpret_cast<HMENU>(INT_PTR(s.id)), instance,
            nullptr);
        const bool own = s.face != FontFace::Default;
        const wchar_t *face = s.face == FontFace::Li ? L"隶书"
            : s.face == FontFace::Kai                ? L"楷体_GB2312"
                                                     : L"宋体";
        const HFONT font
            = CreateFontW(-MulDiv(int((own ? s.points : kDefaultPoints) * 10), 96, 720), 0, 0, 0,
                own && s.bold ? FW_BOLD : FW_NORMAL, own && s.italic, 0, 0, GB2312_CHARSET, 0, 0, 0,
                0, face);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
