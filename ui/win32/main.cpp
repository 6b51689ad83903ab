// The Windows program: the window, then its message loop until it closes.
#include "ui/win32/form1_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    quorvel::win32::Form1Window window(instance);
    if (!window.hwnd())
        return 1;
    window.Show(showCommand);
    return window.Run();
}
