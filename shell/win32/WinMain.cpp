#include "shell/WindowLogic.h"
#include "shell/win32/Win32Services.h"
#include "shell/win32/win32Program.h"

// The command line and the show command are not used: the window always opens normally.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    setWindowServices(&win32Services());

    registerWindowClass();
    windowLogic::startUp();
    runMainWindow();
    windowLogic::shutDown();
    // A normal close ends with 1, not with the quit message's 0.
    return 1;
}
