// The window's behaviour, the same on every platform, and what each front end owes it.
#pragma once

#include "platform/DrawingSurface.h"
#include "scob/Page.h"
#include "services/Settings.h"

struct Program;

// The front-end contract. A front end (Windows, Linux, the page) owns one `Program`, of static
// storage duration, built on its own window-system services; it turns its events into the calls
// below and does nothing of the game's own.
//
// Call order:
//   1. openWindow        the start-up, the same on every platform: the settings file read, the
//                        front end's window made at the saved place (WindowOpener), the timer,
//                        the drawing area, the screens and the first game, the window's flags,
//                        the window shown with its first frame
//   2. events            timerTick (then render), pointer, keyDown, render on every expose
//   3. destroyed         closing, while the window still exists: choices and place captured
//   4. shutDown          after the event loop: the settings file written (and the zoom file,
//                        when the zoom changed)
//   sessionEnding        in place of 3 and 4 when the program is ended without a close
//
// Each front end's duties:
//   Pointer   moves, left-button presses and left-button releases, in drawing-area pixels,
//             only while the pointer is inside the drawing area; other buttons are swallowed.
//             A front end showing the frame at a whole-number scale divides by it first
//   Keys      every key-down, repeats included, as the codes of platform/Keys.h, with whether
//             Shift is held; a key pressed with Alt is withheld, as Windows keeps those for the
//             window menu. The desktops hand over Tab, Enter and Space for the keyboard focus
//             (shell/KeyboardFocus.h); the page keeps the browser's own focus and hands over
//             none of them
//   Timer     the period `created` asks for, but never shorter than the window system's usual
//             floor (about 15 ms), so the computer's pause of 22 ticks lasts about a third of a
//             second; when a tick says so, the frame is rendered and shown at once; ticks may
//             be left out while `wantsTicks` says no
//   Paint     on every expose, the whole frame rendered off screen at the drawing area's size
//             (times the scale, if any) and copied to the window in one step, so no half-drawn
//             frame is ever seen
//   Window    the drawing area `created` asks for, times the scale, in a frame of the window
//             system's own (or none), not resizable, no maximise box; its place read as the
//             outer top-left corner in screen pixels, or not known where the window system
//             does not tell it (the settings file then keeps the place it had)
//   Zoom      the desktops: Ctrl with a zoom key of platform/Keys.h handed over as keyDown's
//             `ctrl`; the scale the services are then given (setScale) taken for the pointer,
//             the paint and the places told to assistive technology, the window resized and
//             moved as asked (setDrawingSize, moveWindow); the page leaves zoom to the browser
//   Save      destroyed and shutDown at a close; sessionEnding when the session ends under the
//             program (log-off, a hang-up, a lost display); a failed save reported where the
//             platform has somewhere to say so
//   Access    each front end's layer for assistive technology: describeScreen at most once per
//             frame shown (and only while the layer listens), handed to the layer; each item
//             mapped to one of the platform's accessible objects and activated by `press` at
//             its point, the focused item told as focused; newsSince told once
//             (shell/ScreenDescription.h). A key press describes nothing
namespace windowLogic {

// The drawing area on every platform, in points (pixels at a scale of 1); each window system puts
// its own frame round it (on Windows, 390 x 390 outside with the classic caption at 96 dpi).
constexpr int drawingWidth = 384;
constexpr int drawingHeight = 365;

// The timer `created` starts: its id and the period it asks for, in milliseconds.
constexpr int timerId = 111;
constexpr int timerPeriodMs = 1;
// The usual floor of a window system's timers, which front ends that set their own period keep
// to: the computer's pause of 22 ticks then lasts about a third of a second.
constexpr int timerFloorMs = 15;

// The period a front end's own timer runs at: the one asked for, but never below the floor.
int tickPeriodFor(int requestedMs);
// The whole scale for a screen of `dpi` dots per inch: the nearest whole multiple of 96, at
// least 1 and at most maxScale. A DPI of 0 (not known) or beyond reason gives 1.
int scaleForDpi(double dpi);
// The smallest whole scale at which a frame `pixels` wide covers `devicePixels` (the device
// pixels it is shown on), so that it is only ever scaled down; at least 1 and at most maxScale.
int scaleToCover(double devicePixels, int pixels);

// What a front end does at start-up, when `openWindow` asks.
class WindowOpener {
  public:
    virtual ~WindowOpener() = default;
    // Makes the window, not yet shown, with its outer top-left corner at (left, top) where the
    // window system lets a program choose, and a drawing area of drawingWidth x drawingHeight
    // points. False, with the reason told, when it cannot.
    virtual bool makeWindow(int left, int top) = 0;
    // Shows the window, with its first frame.
    virtual void showWindow() = 0;
};

// The start-up sequence of every front end: startUp, the window made at savedPosition,
// created, applyWindowFlags, the window shown. False when no window could be made.
bool openWindow(Program& program, WindowOpener& opener);

// Before the window exists: reads the settings file into the settings list.
void startUp(Program& program);
// Where to open the window: the saved left and top edges, each replaced by 2 when it lies
// outside 0..the usable screen size (both bounds included).
void savedPosition(Program& program, int& left, int& top);
// The window now exists: starts the timer, sizes the window, measures the drawing area, builds
// the screens from the saved choices and starts the first game.
void created(Program& program);
// Applies always-on-top and the opacity from the two window flags (before the window is shown).
void applyWindowFlags(Program& program);
// The window is being destroyed: copies the choices and the window's position into the
// settings list.
void destroyed(Program& program);
// After the event loop: writes the settings file. The outcome says where, and why not when the
// save failed.
SaveOutcome shutDown(Program& program);
// The program is being ended without its window being destroyed: the choices and the window's
// position are captured and saved now.
SaveOutcome sessionEnding(Program& program);

// One timer tick: the game's tick, the status display, the scan for dirty controls. True when
// the frame must be redrawn now.
bool timerTick(Program& program);
// Whether a tick could change anything now: a computer move is pending, the status display is
// behind the game, or something waits to be drawn. When not, nothing changes until the next event,
// and a front end may sleep till then.
bool wantsTicks(const Program& program);
// Draws every visible Page, in order, onto `offscreen`.
void render(Program& program, DrawingSurface& offscreen);
// The drawing area's size, measured when the window was created.
void drawingSize(const Program& program, int& width, int& height);

// The system's colours or its contrast setting changed (and at start-up): the look follows what
// the window system's services say now. True when the frame must be redrawn.
bool systemContrastChanged(Program& program);

// A key press, as a code of platform/Keys.h (other codes reach the game, which ignores them),
// and whether Shift and Ctrl were held with it. The arrows move the board's cursor, except while
// a list has the keyboard focus with its ring shown: there they choose in the list alone. Ctrl
// with a zoom key zooms (zoomTo) and does nothing else.
void keyDown(Program& program, int virtualKey, bool shift = false, bool ctrl = false);

// The window's scale: the system's whole scale and the player's zoom, in whole steps above it
// (Ctrl+Plus one more, Ctrl+Minus one fewer, Ctrl+0 none), up to the largest scale whose window
// fits the usable screen. The zoom is kept in a file of its own (services/Settings.h), read by
// startUp and written by shutDown when it changed.
//
// The front end's scale from the system's DPI, before openWindow (and the window's scale until
// the zoom is applied); a front end that calls it has the zoom (the page does not).
void setSystemScale(Program& program, int scale);
// The scale the window is drawn at now.
int currentScale(const Program& program);
// The largest whole scale, from the system's up to maxScale, whose window fits the usable
// screen, the window system's frame round the drawing area taking `frameWidth` x `frameHeight`
// pixels; the system's scale where none does. A screen of unknown size limits nothing.
int largestFittingScale(const Program& program, int frameWidth, int frameHeight);
// The window's scale for `steps` above the system's, where the frame is as it is now.
int scaleForSteps(Program& program, int steps);
// Zooms to `steps` above the system's scale (at most as many as fit): the window resized round
// its drawing area at the new scale, its top-left corner kept where the window still fits,
// else moved just enough; the frame redrawn at the next tick. False when the scale is unchanged.
bool zoomTo(Program& program, int steps);

// Another monitor's DPI (Windows' WM_GETDPISCALEDSIZE and WM_DPICHANGED), at a whole system
// scale: the scale the window takes there (the player's zoom kept), and the drawing area's size
// in pixels at it, which is not the linear growth the system assumes.
int scaleAtSystemScale(Program& program, int systemScale);
void drawingPixels(int scale, int& width, int& height);
// The move to that monitor: the new system scale applied, the window resized to it and put
// with its outer top-left corner at (left, top), the corner the system suggests.
void systemScaleChanged(Program& program, int systemScale, int left, int top);
// A pointer move, left press or left release at drawing-area coordinates.
void pointer(Program& program, PointerEvent event, int px, int py);
// A left-button press and release at (x, y) of the drawing area, as a mouse click gives them:
// what activating an item of the screen's description does, at its press point
// (shell/ScreenDescription.h). Unlike a real pointer's press, it leaves the keyboard's focus ring
// shown.
void press(Program& program, int x, int y);

}  // namespace windowLogic
