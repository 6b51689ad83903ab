#include "ui/win32/form1_window.h"

#include "ui/win32/box_menu.h"
#include "ui/win32/sheet_printer.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <algorithm>
#include <bit>
#include <optional>
#include <utility>

namespace quorvel::win32 {

namespace {

constexpr wchar_t kClassName[] = L"Quorvel.Form1";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Control IDs above IDOK and IDCANCEL, which the dialog manager sends.
constexpr int kIdBase = 100;
// Sent to itself once the window has been painted.
constexpr UINT kDescribe = WM_APP;

COLORREF ToColorRef(Rgb c)
{
    return RGB(c.r, c.g, c.b);
}

// A function of a system DLL that this Windows may lack: null where it does.
template <typename F> F Optional(const wchar_t *dll, const char *name)
{
    const HMODULE module = GetModuleHandleW(dll);
    return module ? std::bit_cast<F>(GetProcAddress(module, name)) : nullptr;
}

int CALLBACK FaceFound(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found)
{
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool HasFace(HDC dc, std::wstring_view face)
{
    LOGFONTW lf {};
    lf.lfCharSet = DEFAULT_CHARSET;
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &lf, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

} // namespace

std::wstring ChooseFace(FontFace face, const std::function<bool(std::wstring_view)> &installed)
{
    const auto candidates = FaceCandidates(face);
    const auto found = std::ranges::find_if(
        candidates, [&](std::string_view name) { return installed(Wide(name)); });
    return Wide(found != candidates.end() ? *found : candidates.front());
}

const Command *CommandOfKey(WPARAM key, bool ctrl, bool shift, bool alt)
{
    // A letter's virtual key is its capital's code.
    return key >= 'A' && key <= 'Z' ? quorvel::CommandOfKey(char(key), ctrl, shift, alt) : nullptr;
}

std::wstring Wide(std::string_view utf8)
{
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Utf8(std::wstring_view wide)
{
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()),
        nullptr, nullptr);
    return utf8;
}

Form1Window::Form1Window(HINSTANCE instance)
    : instance_(instance)
    , background_(CreateSolidBrush(ToColorRef(kBackground)))
{
    WNDCLASSEXW wc {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"IDI_ICON1");
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background_;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    const HDC screen = GetDC(nullptr);
    for (FontFace face : { FontFace::Default, FontFace::Song, FontFace::Li, FontFace::Kai })
        faces_[static_cast<std::size_t>(face)]
            = ChooseFace(face, [&](std::wstring_view name) { return HasFace(screen, name); });
    dpi_ = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);

    // At the system DPI first: everything is created where it stays, unless
    // the monitor's own DPI differs.
    RECT frame { 0, 0, Scale(kClientWidthTwips), Scale(kClientHeightTwips) };
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    hwnd_ = CreateWindowExW(0, kClassName, Wide(kWindowCaption).c_str(), kWindowStyle,
        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
        nullptr, instance, this);
    if (!hwnd_)
        return;
    CreateControls();
    CutLabelsAroundBoxes();
    // Per-monitor DPI (Windows 10 1607 and later); the system DPI otherwise.
    const auto dpiForWindow = Optional<UINT(WINAPI *)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (const UINT dpi = dpiForWindow ? dpiForWindow(hwnd_) : dpi_; dpi != dpi_)
        ApplyDpi(dpi);
    else
        FitClientArea();
}

Form1Window::~Form1Window()
{
    if (props_)
        props_->Release();
    if (hwnd_)
        DestroyWindow(hwnd_);
    for (const Font &f : fonts_)
        DeleteObject(f.handle);
    DeleteObject(background_);
}

void Form1Window::CreateControls()
{
    for (const ControlSpec &spec : kControls) {
        const wchar_t *cls = L"STATIC";
        DWORD style = WS_CHILD | (spec.visible ? WS_VISIBLE : 0);
        DWORD exStyle = 0;
        switch (spec.kind) {
        case ControlKind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::TextBox:
            cls = L"EDIT";
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::OptionButton:
            cls = L"BUTTON";
            style |= BS_AUTORADIOBUTTON | (spec.id == ControlId::Option1 ? WS_GROUP : 0);
            break;
        case ControlKind::CommandButton:
            cls = L"BUTTON";
            style |= WS_TABSTOP | (spec.id == kDefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::Frame:
            cls = L"BUTTON";
            style |= BS_GROUPBOX | WS_GROUP;
            break;
        }
        const HWND c = CreateWindowExW(exStyle, cls, Wide(spec.caption).c_str(), style,
            Scale(spec.left), Scale(spec.top), Scale(spec.width), Scale(spec.height), hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdBase + Index(spec.id))), instance_,
            nullptr);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec)), FALSE);
        if (spec.kind == ControlKind::TextBox) {
            SendMessageW(c, EM_SETLIMITTEXT, WPARAM(kBoxLengthLimit), 0); // 0: any length
            SetWindowSubclass(c, BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
        }
        controls_[Index(spec.id)] = c;
    }
    // The frame below the option buttons, so that it does not paint over
    // them; it also closes their group for the arrow keys.
    SetWindowPos(control(ControlId::Frame1), control(ControlId::Option4), 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(control(kStartOption), BM_SETCHECK, BST_CHECKED, 0);
}

HFONT Form1Window::FontFor(const ControlSpec &spec)
{
    const bool own = spec.face != FontFace::Default;
    const Font wanted { spec.face, own ? spec.points : kDefaultPoints, own && spec.bold,
        own && spec.italic, nullptr };
    for (const Font &f : fonts_)
        if (f.face == wanted.face && f.points == wanted.points && f.bold == wanted.bold
            && f.italic == wanted.italic)
            return f.handle;
    LOGFONTW lf {};
    lf.lfHeight = -MulDiv(static_cast<int>(wanted.points * 10), static_cast<int>(dpi_), 720);
    lf.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = wanted.italic;
    lf.lfCharSet = GB2312_CHARSET;
    faces_[static_cast<std::size_t>(wanted.face)].copy(lf.lfFaceName, LF_FACESIZE - 1);
    fonts_.push_back(wanted);
    return fonts_.back().handle = CreateFontIndirectW(&lf);
}

int Form1Window::Scale(int twips) const
{
    return MulDiv(twips, static_cast<int>(dpi_), 1440);
}

void Form1Window::ApplyDpi(UINT dpi)
{
    dpi_ = dpi;
    const std::vector<Font> old = std::move(fonts_);
    fonts_.clear();
    for (const ControlSpec &spec : kControls) {
        const HWND c = control(spec.id);
        SetWindowPos(c, nullptr, Scale(spec.left), Scale(spec.top), Scale(spec.width),
            Scale(spec.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(spec)), FALSE);
    }
    for (const Font &f : old)
        DeleteObject(f.handle);
    CutLabelsAroundBoxes();
    FitClientArea();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1Window::FitClientArea()
{
    const SIZE want { Scale(kClientWidthTwips), Scale(kClientHeightTwips) };
    RECT frame, client;
    GetWindowRect(hwnd_, &frame);
    GetClientRect(hwnd_, &client);
    if (client.right != want.cx || client.bottom != want.cy)
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + want.cx - client.right,
            frame.bottom - frame.top + want.cy - client.bottom,
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// From the table: each label's window region leaves out the boxes it
// reaches into.
void Form1Window::CutLabelsAroundBoxes()
{
    const auto rectOf = [&](const ControlSpec &spec) {
        return RECT { Scale(spec.left), Scale(spec.top), Scale(spec.left) + Scale(spec.width),
            Scale(spec.top) + Scale(spec.height) };
    };
    for (const ControlSpec &label : kControls) {
        if (label.kind != ControlKind::Label)
            continue;
        const RECT l = rectOf(label);
        HRGN region = nullptr;
        for (const ControlSpec &box : kControls) {
            RECT b = rectOf(box), overlap;
            if (box.kind != ControlKind::TextBox || !IntersectRect(&overlap, &l, &b))
                continue;
            if (!region)
                region = CreateRectRgn(0, 0, l.right - l.left, l.bottom - l.top);
            const HRGN cut
                = CreateRectRgn(b.left - l.left, b.top - l.top, b.right - l.left, b.bottom - l.top);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        if (region)
            SetWindowRgn(control(label.id), region, TRUE); // the window owns the region
    }
}

void Form1Window::Show(int showCommand)
{
    ShowWindow(hwnd_, showCommand);
    // Paint everything now: the title shows before anything else is done.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PostMessageW(hwnd_, kDescribe, 0, 0);
}

int Form1Window::Run()
{
    MSG msg {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg) || IsDialogMessageW(hwnd_, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

const ControlSpec *Form1Window::SpecOf(HWND child) const
{
    const auto found = std::find(controls_.begin(), controls_.end(), child);
    return found == controls_.end() || !child ? nullptr
                                              : &kControls[std::size_t(found - controls_.begin())];
}

bool Form1Window::PreTranslate(const MSG &msg)
{
    if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)))
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0,
               alt = GetKeyState(VK_MENU) < 0;
    if (msg.wParam == VK_TAB && !ctrl) {
        MoveFocus(!shift);
        return true;
    }
    // Anywhere in the window; not translated, so an edit box copies or
    // pastes nothing.
    if (const Command *command = CommandOfKey(msg.wParam, ctrl, shift, alt)) {
        Run(*command);
        return true;
    }
    const ControlSpec *spec = SpecOf(msg.hwnd);
    if (!spec || spec->kind != ControlKind::TextBox)
        return false;
    if (msg.wParam == VK_RETURN) {
        form_.EnterPressed(spec->id);
        return true;
    }
    // Both paste keys as WM_PASTE, which the box's subclass takes: Wine's
    // edit control pastes Shift+Insert without it.
    if (!alt
        && ((msg.wParam == 'V' && ctrl && !shift) || (msg.wParam == VK_INSERT && shift && !ctrl))) {
        SendMessageW(msg.hwnd, WM_PASTE, 0, 0);
        return true;
    }
    // The older edit control ignores Ctrl+A; not translated, it does not beep.
    if (msg.wParam == 'A' && ctrl && !alt) {
        SendMessageW(msg.hwnd, EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

void Form1Window::MoveFocus(bool forward)
{
    std::vector<ControlId> chain;
    for (ControlId id : kTabOrder) {
        const HWND c = control(id);
        if (IsWindowVisible(c) && IsWindowEnabled(c)
            && (Spec(id).kind != ControlKind::OptionButton || IsSelected(id)))
            chain.push_back(id);
    }
    if (chain.empty())
        return;
    const ControlSpec *current = SpecOf(GetFocus());
    const auto at = current ? std::ranges::find(chain, current->id) : chain.end();
    std::size_t next = forward ? 0 : chain.size() - 1;
    if (at != chain.end()) {
        const std::size_t i = std::size_t(at - chain.begin());
        next = forward ? (i + 1) % chain.size() : (i + chain.size() - 1) % chain.size();
    }
    const HWND target = control(chain[next]);
    SetFocus(target);
    if (Spec(chain[next]).kind == ControlKind::TextBox)
        SendMessageW(target, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK Form1Window::BoxProc(
    HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto &window = *reinterpret_cast<Form1Window *>(self);
    switch (message) {
    case WM_PASTE:
        if (const ControlSpec *spec = window.SpecOf(box))
            if (const auto text = win32::ClipboardText(box);
                text && window.form_.Paste(spec->id, Utf8(*text)))
                return 0;
        break;
    case WM_CONTEXTMENU:
        if (const ControlSpec *spec = window.SpecOf(box)) {
            window.ShowBoxMenu(box, spec->id, lParam);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, BoxProc, 0);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// As the edit box's own menu: at the pointer, or below the box's top left
// corner when opened from the keyboard.
void Form1Window::ShowBoxMenu(HWND box, ControlId id, LPARAM at)
{
    POINT p { GET_X_LPARAM(at), GET_Y_LPARAM(at) };
    if (p.x == -1 && p.y == -1) {
        p = { Scale(60), Scale(60) };
        ClientToScreen(box, &p);
    }
    if (GetFocus() != box)
        SetFocus(box);
    const HMENU menu = BoxMenu(box, id);
    const auto command
        = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, box, nullptr));
    DestroyMenu(menu);
    if (const Command *run = CommandOfItem(command))
        Run(*run);
    else if (command == EM_SETSEL)
        SendMessageW(box, EM_SETSEL, 0, -1);
    else if (command)
        SendMessageW(box, command, 0, 0);
}

LRESULT CALLBACK Form1Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self
            = static_cast<Form1Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<Form1Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Form1Window::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        // Labels, option buttons and the frame show the window's colour.
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        if (const ControlSpec *spec = SpecOf(reinterpret_cast<HWND>(lParam)); spec && spec->colour)
            SetTextColor(dc, ToColorRef(*spec->colour));
        return reinterpret_cast<LRESULT>(background_);
    }
    case WM_CTLCOLOREDIT: {
        const LRESULT brush = DefWindowProcW(hwnd_, message, wParam, lParam);
        if (const ControlSpec *spec = SpecOf(reinterpret_cast<HWND>(lParam)); spec && spec->colour)
            SetTextColor(reinterpret_cast<HDC>(wParam), ToColorRef(*spec->colour));
        return brush;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam) - kIdBase;
        if (lParam && HIWORD(wParam) == BN_CLICKED && id >= 0 && id < int(kControlCount))
            form_.Click(kControls[std::size_t(id)].id);
        return 0;
    }
    case DM_GETDEFID: // Enter on an option button presses "计算"
        return MAKELRESULT(kIdBase + Index(kDefaultButton), DC_HASDEFID);
    case WM_ACTIVATE:
        // The focus comes back to where it was; at first, to the first of
        // the tab order.
        if (LOWORD(wParam) == WA_INACTIVE)
            lastFocus_ = GetFocus();
        else if (lastFocus_ && IsChild(hwnd_, lastFocus_))
            SetFocus(lastFocus_);
        else
            MoveFocus(true);
        return 0;
    case 0x02E0: { // WM_DPICHANGED, Windows 8.1 and later
        // Where Windows suggests, at the size the new DPI gives.
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        ApplyDpi(LOWORD(wParam));
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case kDescribe:
        form_.Describe();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        const HWND hwnd = std::exchange(hwnd_, nullptr);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

std::string Form1Window::Text(ControlId box) const
{
    const HWND c = control(box);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(c, text.data(), int(text.size()))));
    return Utf8(text);
}

void Form1Window::SetText(ControlId box, std::string_view text)
{
    const HWND c = control(box);
    SetWindowTextW(c, Wide(text).c_str());
    SendMessageW(c, EM_SETSEL, 0, 0);
    SendMessageW(c, EM_SCROLLCARET, 0, 0);
}

void Form1Window::SetCaption(ControlId label, std::string_view caption)
{
    SetWindowTextW(control(label), Wide(caption).c_str());
}

void Form1Window::SetVisible(ControlId id, bool visible)
{
    ShowWindow(control(id), visible ? SW_SHOWNA : SW_HIDE);
}

bool Form1Window::IsSelected(ControlId option) const
{
    return SendMessageW(control(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1Window::Run(const Command &command)
{
    form_.Run(command.id);
}

std::optional<std::string> Form1Window::ClipboardText()
{
    return Utf8(win32::ClipboardText(hwnd_).value_or(std::wstring()));
}

PrintResult Form1Window::Print(std::span<const Sheet> sheets)
{
    return PrintSheets(hwnd_, sheets, faces_[static_cast<std::size_t>(FontFace::Song)]);
}

void Form1Window::ShowMessage(MessageIcon icon, std::string_view text)
{
    const UINT shown = icon == MessageIcon::Error ? MB_ICONERROR
        : icon == MessageIcon::Warning            ? MB_ICONWARNING
                                                  : MB_ICONINFORMATION;
    MessageBoxW(hwnd_, Wide(text).c_str(), Wide(kWindowCaption).c_str(), MB_OK | shown);
}

void Form1Window::SetHint(ControlId box, std::string_view hint)
{
    if (!tooltip_) {
        const INITCOMMONCONTROLSEX icc { sizeof icc, ICC_BAR_CLASSES };
        InitCommonControlsEx(&icc);
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
            CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    std::wstring text = Wide(hint);
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(control(box));
    tool.lpszText = text.data();
    TTTOOLINFOW known = tool;
    known.lpszText = nullptr;
    const bool added
        = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known));
    SendMessageW(
        tooltip_, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Through dynamic annotation, from ole32 loaded only now: the window shows
// without waiting for COM. Where the service is missing or refuses (Wine
// answers E_NOTIMPL), the box simply has no description.
void Form1Window::SetDescription(ControlId box, std::string_view description)
{
    if (!propsTried_) {
        propsTried_ = true;
        const HMODULE ole = LoadLibraryW(L"ole32.dll");
        const auto init = ole
            ? std::bit_cast<decltype(&CoInitializeEx)>(GetProcAddress(ole, "CoInitializeEx"))
            : nullptr;
        const auto create = ole
            ? std::bit_cast<decltype(&CoCreateInstance)>(GetProcAddress(ole, "CoCreateInstance"))
            : nullptr;
        if (init && create && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED))
            && FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                IID_IAccPropServices, reinterpret_cast<void **>(&props_))))
            props_ = nullptr;
    }
    if (!props_)
        return;
    const HWND c = control(box);
    if (description.empty()) {
        MSAAPROPID prop = PROPID_ACC_DESCRIPTION;
        props_->ClearHwndProps(c, DWORD(OBJID_CLIENT), CHILDID_SELF, &prop, 1);
    } else {
        props_->SetHwndPropStr(c, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_DESCRIPTION,
            Wide(description).c_str());
    }
}

void Form1Window::End()
{
    DestroyWindow(hwnd_);
}

bool Form1Window::CopyToClipboard(std::string_view lines)
{
    return PutOnClipboard(hwnd_, lines);
}

} // namespace quorvel::win32
