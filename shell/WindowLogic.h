#pragma once

#include "platform/DrawingSurface.h"
#include "scob/Page.h"
#include "shell/Settings.h"

struct Program;

// The window's behaviour, the same on every platform: each front end turns its own events into
// these calls and supplies the drawing surface and the window-system services. Everything works
// on the program's one set of long-lived objects.
namespace windowLogic {

// Before the window exists: reads the settings file into the settings list.
void startUp();
// Where to open the window: the saved left and top edges, each replaced by 2 when it lies
// outside 0..the usable screen size (both bounds included).
void savedPosition(int& left, int& top);
// The window now exists: builds the screens, sizes the window, starts the timer and the first
// game.
void created();
// Applies always-on-top and the opacity from the two window flags (before the window is shown).
void applyWindowFlags();
// The window is being destroyed: copies the choices and the window's position into the
// settings list.
void destroyed();
// After the event loop: writes the settings file. The outcome says where, and why not when the
// save failed (a front end with somewhere to say it reports that).
SaveOutcome shutDown();
// The desktop session is ending and the program may be ended without its window being
// destroyed: the choices and the window's position are captured and saved now.
SaveOutcome sessionEnding();

// One timer tick: the game's tick, the status display, the scan for dirty controls. True when
// the frame must be redrawn now; the front end then calls `render` on an off-screen surface of
// the drawing area's size and copies it to the window in one step.
bool timerTick();
// Draws every visible Page, in order, onto `offscreen`.
void render(DrawingSurface& offscreen);
// The drawing area's size, measured when the window was created.
void drawingSize(int& width, int& height);

// A key press, as a Windows virtual-key code (N is 78, the arrows 37 to 40).
void keyDown(int virtualKey);
// A pointer move, left press or left release at client coordinates.
void pointer(PointerEvent event, int px, int py);

// The same on a given set of objects; the calls above use the program's own. Tests build
// their own set and drive it through these.
void startUp(Program& program);
void savedPosition(Program& program, int& left, int& top);
void created(Program& program);
void applyWindowFlags(Program& program);
void destroyed(Program& program);
SaveOutcome shutDown(Program& program);
SaveOutcome sessionEnding(Program& program);
bool timerTick(Program& program);
void render(Program& program, DrawingSurface& offscreen);
void drawingSize(Program& program, int& width, int& height);
void keyDown(Program& program, int virtualKey);
void pointer(Program& program, PointerEvent event, int px, int py);

}  // namespace windowLogic
