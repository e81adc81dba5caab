#include "shell/win32/win32Program.h"

// Kept apart from the window code, so that whatever draws bitmaps can link without it.
HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
