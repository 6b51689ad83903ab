// The Win32 front end of Form1 (ui/form1.h): the controls of the table in
// ui/controls.h as standard Windows controls in a plain top-level window,
// drawn by Windows itself. Positions, sizes and fonts are scaled from the
// table by the window's DPI, and again when it moves to a monitor of
// another DPI.
//
// Each caption label is created just before the box it names, so that a
// screen reader names the box by it; where a label reaches into its box,
// the label's window region leaves the box's rectangle out, so the box is
// drawn whole and takes the clicks. Tab follows the tab indices, not the
// creation order. Each box is subclassed: every paste (Ctrl+V, Shift+Insert,
// the menu's) reaches it as WM_PASTE and goes to the form first, and each
// box shows a menu of the program's own (ui/win32/box_menu.h) with the form's
// commands at its end, which their keys run anywhere in the window too.
// Printing is Windows' print dialog and GDI (ui/win32/sheet_printer.h).
#pragma once

#include <windows.h>

#include "ui/controls.h"
#include "ui/form1.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct IAccPropServices;

namespace quorvel::win32 {

// The first of the face's candidates (FaceCandidates) that `installed` says
// this machine has; the first candidate if none is.
std::wstring ChooseFace(FontFace face, const std::function<bool(std::wstring_view)> &installed);

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The command a key runs: `key` a virtual-key code, with the modifiers held.
const Command *CommandOfKey(WPARAM key, bool ctrl, bool shift, bool alt);

class Form1Window final : private Form1Controls {
public:
    // Creates the window and its controls, hidden, at the DPI of the
    // monitor it is created on.
    explicit Form1Window(HINSTANCE instance);
    ~Form1Window();
    Form1Window(const Form1Window &) = delete;
    Form1Window &operator=(const Form1Window &) = delete;

    // Shows the window with the focus in the first box of the tab order,
    // paints it, and then lets the form describe the boxes.
    void Show(int showCommand);
    // The message loop, until the window is closed; the program's status.
    int Run();

    HWND hwnd() const { return hwnd_; }
    HWND control(ControlId id) const { return controls_[Index(id)]; }
    // The result boxes' tooltips, once there is a result.
    HWND tooltip() const { return tooltip_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    // Fonts, positions and the window's size for `dpi`.
    void ApplyDpi(UINT dpi);
    HFONT FontFor(const ControlSpec &spec);
    void CutLabelsAroundBoxes();
    void FitClientArea();
    int Scale(int twips) const;
    // Tab, Enter and Ctrl+A, before the dialog manager sees them; true when
    // the message was handled.
    bool PreTranslate(const MSG &msg);
    void MoveFocus(bool forward);
    const ControlSpec *SpecOf(HWND child) const;
    static LRESULT CALLBACK BoxProc(
        HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void ShowBoxMenu(HWND box, ControlId id, LPARAM at);
    void Run(const Command &command);

    std::string Text(ControlId box) const override;
    void SetText(ControlId box, std::string_view text) override;
    void SetCaption(ControlId label, std::string_view caption) override;
    void SetVisible(ControlId control, bool visible) override;
    bool IsSelected(ControlId option) const override;
    void ShowMessage(MessageIcon icon, std::string_view text) override;
    void SetHint(ControlId box, std::string_view hint) override;
    void SetDescription(ControlId box, std::string_view description) override;
    void End() override;
    bool CopyToClipboard(std::string_view lines) override;
    std::optional<std::string> ClipboardText() override;
    PrintResult Print(std::span<const Sheet> sheets) override;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    std::array<HWND, kControlCount> controls_ {};
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HBRUSH background_ = nullptr;
    struct Font {
        FontFace face;
        double points;
        bool bold, italic;
        HFONT handle;
    };
    std::vector<Font> fonts_;
    std::array<std::wstring, 4> faces_; // by FontFace, chosen once
    HWND lastFocus_ = nullptr;
    HWND tooltip_ = nullptr;
    IAccPropServices *props_ = nullptr;
    bool propsTried_ = false;
    Form1 form_ { *this };
};

} // namespace quorvel::win32
