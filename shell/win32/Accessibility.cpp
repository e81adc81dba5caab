// The Windows program's accessible objects: one IAccessible for the client area, one for each
// item of the screen's description (the board and the lists holding their members), and the
// news of the game as a simple element of the client area.
//
// Child ids, as the calls take them: 0 is the object itself, 1 to the number of its children
// each child in reading order (the client area's last child being the news). On the client
// area a negative id also names any item shown, by its description id (-2 - id), and -1 the
// news: the events name these, so that a client reaches a cell or a radio button from an event.
//
// Every object answers on the window's thread. An item that is no longer on screen, and every
// object after the window is gone, answers CO_E_OBJNOTCONNECTED; a child id that names nothing,
// E_INVALIDARG. An item that comes back (the board after the settings) is the same object again.

#include "shell/win32/Accessibility.h"

#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

#include "shell/ScreenDescription.h"

// Windows 8's event for a live region, which mingw's headers hide from a Windows XP target.
#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019
#endif

namespace {

using windowLogic::ItemRole;
using windowLogic::ScreenItem;

constexpr LONG newsChild = -1;
LONG eventChild(int id) {
    return -(id + 2);
}

// oleacc's annotation service, which gives the news the live setting "polite" that UI Automation
// clients (Windows 8 and later) look for before they read out a live region's change.
const CLSID accPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID accPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID liveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG politeLiveSetting = 1;

// What the program takes from the system's accessibility DLLs. The program imports none of
// them: they are loaded from the system's own folder when a client first asks, so that a
// Windows without them, or a DLL of the same name planted beside the program, changes nothing.
struct System {
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&CoInitialize) coInitialize = nullptr;
    decltype(&CoUninitialize) coUninitialize = nullptr;
    decltype(&CoDisconnectObject) coDisconnectObject = nullptr;
    decltype(&CoCreateInstance) coCreateInstance = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
};

HMODULE systemDll(const char* name) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    // Its own dependencies are looked for in the system folder too, not beside the program.
    const std::string path = std::string(folder, length) + "\\" + name;
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Function>
bool found(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(module ? GetProcAddress(module, name) : nullptr));
    return function != nullptr;
}

bool load(System& s) {
    HMODULE oleacc = systemDll("oleacc.dll");
    HMODULE ole32 = systemDll("ole32.dll");
    HMODULE oleaut32 = systemDll("oleaut32.dll");
    return found(oleacc, "LresultFromObject", s.lresultFromObject) &&
           found(oleacc, "CreateStdAccessibleObject", s.createStdAccessibleObject) &&
           found(ole32, "CoInitialize", s.coInitialize) &&
           found(ole32, "CoUninitialize", s.coUninitialize) &&
           found(ole32, "CoDisconnectObject", s.coDisconnectObject) &&
           found(ole32, "CoCreateInstance", s.coCreateInstance) &&
           found(oleaut32, "SysAllocString", s.sysAllocString);
}

// Windows 8 and later have live regions; before them a screen reader reads out alerts.
bool hasLiveRegions() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 &&
                                                                      version.dwMinorVersion >= 2));
}

// A UTF-8 text as the BSTR a client is given, or null for none.
BSTR textFor(const std::string& text, decltype(&SysAllocString) allocate) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? length + 1 : 1, L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    }
    return allocate(wide.data());
}

class Node;

// Everything the objects share: the window and the program, the description they were last
// brought up to, one object per item ever described, and the news.
struct Bridge {
    System system;
    bool tried = false;  // a client asked, and the DLLs were looked for
    bool ready = false;  // the objects exist, and the window too
    bool comStarted = false;
    bool liveRegions = false;
    HWND window = nullptr;
    Program* program = nullptr;
    int scale = 1;
    Node* root = nullptr;
    std::vector<Node*> items;  // every item's object, by its description id
    std::vector<ScreenItem> last;
    windowLogic::ScreenNews told;
    std::string news;
    IAccPropServices* annotations = nullptr;
};
Bridge bridge;

Node* described(int id);
Node* focusedNode();

bool windowFocused() {
    return GetFocus() == bridge.window;
}

// A rectangle of the drawing area in screen pixels.
RECT onScreen(int x, int y, int width, int height) {
    POINT origin = {0, 0};
    ClientToScreen(bridge.window, &origin);
    const int s = bridge.scale;
    return {origin.x + x * s, origin.y + y * s, origin.x + (x + width) * s,
            origin.y + (y + height) * s};
}

// What a client is told of each kind of item: its role, the state it always has, and its
// default action (a pressed toggle's is "Uncheck"). A list has the focus only while none of its
// rows is chosen, the board never: its cursor's cell has it.
struct Kind {
    ItemRole item;
    LONG role;
    LONG state;
    const char* action;
};
const Kind kinds[] = {
    {ItemRole::Label, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, ""},
    {ItemRole::Status, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, ""},
    {ItemRole::Button, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, "Press"},
    {ItemRole::Toggle, ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_FOCUSABLE, "Check"},
    {ItemRole::RadioGroup, ROLE_SYSTEM_GROUPING, STATE_SYSTEM_FOCUSABLE, ""},
    {ItemRole::Radio, ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_FOCUSABLE, "Check"},
    {ItemRole::Board, ROLE_SYSTEM_TABLE, 0, ""},
    {ItemRole::Cell, ROLE_SYSTEM_CELL, STATE_SYSTEM_FOCUSABLE, "Play"},
    {ItemRole::Link, ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED, "Jump"},
};

const Kind& kindOf(ItemRole role) {
    for (const Kind& kind : kinds) {
        if (kind.item == role) {
            return kind;
        }
    }
    return kinds[0];
}

// The state an item has whatever the keyboard focus.
LONG itemState(const ScreenItem& it) {
    LONG state = kindOf(it.role).state;
    if (it.disabled) {
        state |= STATE_SYSTEM_UNAVAILABLE;
    }
    if (it.pressed || it.checked) {
        state |= STATE_SYSTEM_CHECKED;
    }
    return state;
}

bool overlaps(int from, int length, int otherFrom, int otherLength) {
    return from < otherFrom + otherLength && otherFrom < from + length;
}

class Node final : public IAccessible, public IEnumVARIANT {
  public:
    explicit Node(bool clientArea) : root(clientArea) {}

    ScreenItem item;         // as the last description had it (not the client area's)
    Node* parent = nullptr;  // the client area, or the list or board holding the item
    std::vector<Node*> children;
    bool shown = true;  // in the last description (the client area always)
    bool dead = false;  // the window is gone

    // IUnknown. Both interfaces are one object: the enumeration is of its children.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IEnumVARIANT)) {
            *out = static_cast<IEnumVARIANT*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: clients call IAccessible itself; there is no type information to go by.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (gone()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!root) {
            return give(parent, out);
        }
        // The client area's parent is the window, as the system itself describes it.
        return bridge.system.createStdAccessibleObject(
            bridge.window, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = gone() ? 0 : childCount();
        return gone() ? CO_E_OBJNOTCONNECTED : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        const auto [reached, node, news] = reach(child);
        if (FAILED(reached)) {
            return reached;
        }
        if (news) {
            return S_FALSE;  // a simple element: the client area answers for it
        }
        return node == this ? E_INVALIDARG : give(node, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        return text(child, out, true);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        return text(child, out, false);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
        return nothing(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return nothing(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return nothing(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return nothing(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (topic) {
            *topic = 0;
        }
        return nothing(child, file);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        return number(child, out, true);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        return number(child, out, false);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) {
            return E_POINTER;
        }
        out->vt = VT_EMPTY;
        if (gone()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!windowFocused()) {
            return S_FALSE;
        }
        Node* focused = focusedNode();
        if (focused == this || (root && !focused)) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            return S_OK;
        }
        if (focused && (root || focused->parent == this)) {
            return give(focused, out);
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (out) {
            out->vt = VT_EMPTY;
        }
        return gone() ? CO_E_OBJNOTCONNECTED : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT child) override {
        const auto [reached, node, news] = reach(child);
        return FAILED(reached) ? reached : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        const auto [reached, node, news] = reach(child);
        if (FAILED(reached)) {
            return reached;
        }
        const RECT r = news ? newsRect() : node->rect();
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
        if (!out) {
            return E_POINTER;
        }
        out->vt = VT_EMPTY;
        const auto [reached, from, news] = reach(start);
        if (FAILED(reached) || news) {
            return FAILED(reached) ? reached : S_FALSE;
        }
        Node* to = nullptr;
        switch (direction) {
            case NAVDIR_FIRSTCHILD:
            case NAVDIR_LASTCHILD:
                if (from != this) {
                    return E_INVALIDARG;
                }
                if (!children.empty()) {
                    to = direction == NAVDIR_FIRSTCHILD ? children.front() : children.back();
                }
                break;
            case NAVDIR_NEXT:
            case NAVDIR_PREVIOUS:
                to = from->sibling(direction == NAVDIR_NEXT ? 1 : -1);
                break;
            case NAVDIR_UP:
            case NAVDIR_DOWN:
            case NAVDIR_LEFT:
            case NAVDIR_RIGHT:
                to = from->nearest(direction);
                break;
            default:
                return E_INVALIDARG;
        }
        return to ? give(to, out) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
        if (!out) {
            return E_POINTER;
        }
        out->vt = VT_EMPTY;
        if (gone()) {
            return CO_E_OBJNOTCONNECTED;
        }
        const POINT at = {x, y};
        RECT r = rect();
        if (!PtInRect(&r, at)) {
            return S_FALSE;
        }
        Node* hit = this;
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (Node* child : hit->children) {
                r = child->rect();
                if (PtInRect(&r, at)) {
                    hit = child;
                    deeper = true;
                    break;
                }
            }
        }
        if (hit != this) {
            return give(hit, out);
        }
        out->vt = VT_I4;
        out->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const auto [reached, node, news] = reach(child);
        if (FAILED(reached)) {
            return reached;
        }
        if (news || node->defaultAction().empty()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // What a click there does; the next frame tells what it changed.
        windowLogic::press(*bridge.program, node->item.pressX, node->item.pressY);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // IEnumVARIANT: the children, each as its object, and the news as the client area's id.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        return next(cursor, count, out, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return skip(cursor, count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return skip(cursor = 0, 0); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override { return clone(cursor, out); }

    // The enumeration from a place in it, which each copy of it keeps for itself.
    HRESULT next(ULONG& at, ULONG count, VARIANT* out, ULONG* fetched) {
        if (fetched) {
            *fetched = 0;
        }
        if (gone()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!out && count > 0) {
            return E_POINTER;
        }
        const ULONG total = static_cast<ULONG>(childCount());
        ULONG n = 0;
        for (; n < count && at < total; ++n, ++at) {
            if (at < children.size()) {
                give(children[at], &out[n]);
            } else {
                out[n].vt = VT_I4;
                out[n].lVal = static_cast<LONG>(at + 1);
            }
        }
        if (fetched) {
            *fetched = n;
        }
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT skip(ULONG& at, ULONG count) {
        if (gone()) {
            return CO_E_OBJNOTCONNECTED;
        }
        const ULONG total = static_cast<ULONG>(childCount());
        const bool past = at > total || count > total - at;
        at = past ? total : at + count;
        return past ? S_FALSE : S_OK;
    }
    HRESULT clone(ULONG at, IEnumVARIANT** out);

  private:
    ~Node() = default;

    bool gone() const { return dead || !shown; }
    LONG childCount() const { return static_cast<LONG>(children.size()) + (root ? 1 : 0); }

    // What a child id names, seen from this object: an object (this one for 0), or the news.
    struct Target {
        HRESULT reached;
        Node* node;
        bool news;
    };
    Target reach(const VARIANT& child) {
        if (gone() || child.vt != VT_I4) {
            return {gone() ? CO_E_OBJNOTCONNECTED : E_INVALIDARG, nullptr, false};
        }
        const LONG id = child.lVal;
        const LONG count = static_cast<LONG>(children.size());
        Node* node = nullptr;
        if (id == CHILDID_SELF) {
            node = this;
        } else if (id > 0 && id <= count) {
            node = children[id - 1];
        } else if (root && (id == count + 1 || id == newsChild)) {
            return {S_OK, nullptr, true};
        } else if (root && id < newsChild) {
            node = described(-(id + 2));
        }
        return {node ? S_OK : E_INVALIDARG, node, false};
    }

    static HRESULT give(Node* node, IDispatch** out) {
        node->AddRef();
        *out = static_cast<IAccessible*>(node);
        return S_OK;
    }
    static HRESULT give(Node* node, VARIANT* out) {
        out->vt = VT_DISPATCH;
        return give(node, &out->pdispVal);
    }

    HRESULT text(const VARIANT& child, BSTR* out, bool name) {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        const auto [reached, node, news] = reach(child);
        if (FAILED(reached)) {
            return reached;
        }
        const std::string value =
            news ? (name ? bridge.news : "") : (name ? node->name() : node->defaultAction());
        if (value.empty()) {
            return S_FALSE;
        }
        *out = textFor(value, bridge.system.sysAllocString);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT nothing(const VARIANT& child, BSTR* out) {
        if (out) {
            *out = nullptr;
        }
        const auto [reached, node, news] = reach(child);
        return FAILED(reached) ? reached : S_FALSE;
    }
    HRESULT number(const VARIANT& child, VARIANT* out, bool role) {
        if (!out) {
            return E_POINTER;
        }
        out->vt = VT_EMPTY;
        const auto [reached, node, news] = reach(child);
        if (FAILED(reached)) {
            return reached;
        }
        out->vt = VT_I4;
        if (news) {
            out->lVal = !role                ? STATE_SYSTEM_READONLY
                        : bridge.liveRegions ? ROLE_SYSTEM_STATICTEXT
                                             : ROLE_SYSTEM_ALERT;
        } else {
            out->lVal = role ? node->role() : node->state();
        }
        return S_OK;
    }

    std::string name() const {
        if (!root) {
            return item.name;
        }
        char title[128] = {};
        GetWindowTextA(bridge.window, title, sizeof title);
        return title;
    }
    std::string defaultAction() const {
        if (root) {
            return "";
        }
        return item.role == ItemRole::Toggle && item.pressed ? "Uncheck" : kindOf(item.role).action;
    }
    LONG role() const { return root ? ROLE_SYSTEM_CLIENT : kindOf(item.role).role; }
    LONG state() const {
        if (root) {
            return STATE_SYSTEM_FOCUSABLE |
                   (windowFocused() && !focusedNode() ? STATE_SYSTEM_FOCUSED : 0);
        }
        return itemState(item) | (item.focused && windowFocused() ? STATE_SYSTEM_FOCUSED : 0);
    }
    RECT rect() const {
        if (!root) {
            return onScreen(item.x, item.y, item.width, item.height);
        }
        RECT client = {};
        GetClientRect(bridge.window, &client);
        return onScreen(0, 0, client.right / bridge.scale, client.bottom / bridge.scale);
    }
    // The news is told where the game's status stands.
    static RECT newsRect() {
        for (const ScreenItem& it : bridge.last) {
            if (it.role == ItemRole::Status) {
                return onScreen(it.x, it.y, it.width, it.height);
            }
        }
        return onScreen(0, 0, 0, 0);
    }

    Node* sibling(int step) const {
        if (!parent) {
            return nullptr;
        }
        const std::vector<Node*>& all = parent->children;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == this) {
                const std::size_t next = i + step;  // wraps past the end when i is 0
                return next < all.size() ? all[next] : nullptr;
            }
        }
        return nullptr;
    }
    // The nearest sibling that lies wholly on the given side and across from this one.
    Node* nearest(LONG direction) const {
        if (!parent) {
            return nullptr;
        }
        const ScreenItem& a = item;
        Node* best = nullptr;
        int bestDistance = 0;
        for (Node* other : parent->children) {
            const ScreenItem& b = other->item;
            const bool sideways = direction == NAVDIR_LEFT || direction == NAVDIR_RIGHT;
            const bool across = sideways ? overlaps(a.y, a.height, b.y, b.height)
                                         : overlaps(a.x, a.width, b.x, b.width);
            int distance = 0;
            switch (direction) {
                case NAVDIR_LEFT:
                    distance = a.x - (b.x + b.width);
                    break;
                case NAVDIR_RIGHT:
                    distance = b.x - (a.x + a.width);
                    break;
                case NAVDIR_UP:
                    distance = a.y - (b.y + b.height);
                    break;
                default:
                    distance = b.y - (a.y + a.height);
                    break;
            }
            if (other != this && across && distance >= 0 && (!best || distance < bestDistance)) {
                best = other;
                bestDistance = distance;
            }
        }
        return best;
    }

    const bool root;
    ULONG references = 1;
    ULONG cursor = 0;  // the enumeration's place
};

// A copy of an object's enumeration of its children, as Clone makes it, with a place of its own.
class Enumeration final : public IEnumVARIANT {
  public:
    Enumeration(Node* owner, ULONG at) : node(owner), cursor(at) { node->AddRef(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        const bool known = iid == __uuidof(IUnknown) || iid == __uuidof(IEnumVARIANT);
        *out = known ? this : nullptr;
        if (known) {
            AddRef();
        }
        return known ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        return node->next(cursor, count, out, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return node->skip(cursor, count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return node->skip(cursor = 0, 0); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        return node->clone(cursor, out);
    }

  private:
    ~Enumeration() { node->Release(); }

    Node* node;
    ULONG cursor;
    ULONG references = 1;
};

HRESULT Node::clone(ULONG at, IEnumVARIANT** out) {
    if (!out) {
        return E_POINTER;
    }
    *out = gone() ? nullptr : new Enumeration(this, at);
    return *out ? S_OK : CO_E_OBJNOTCONNECTED;
}

Node* described(int id) {
    for (Node* node : bridge.items) {
        if (node->item.id == id) {
            return node->shown ? node : nullptr;
        }
    }
    return nullptr;
}

Node* focusedNode() {
    for (const ScreenItem& it : bridge.last) {
        if (it.focused) {
            return described(it.id);
        }
    }
    return nullptr;
}

using Events = std::vector<std::pair<DWORD, LONG>>;

// Brings the objects to the description `now`, noting the events that tell what changed. The
// objects stay the same ones: a client holding one keeps it.
void bringUpTo(const std::vector<ScreenItem>& now, Events& events) {
    const std::vector<windowLogic::ScreenChange> changes =
        windowLogic::changesBetween(bridge.last, now);
    for (Node* node : bridge.items) {
        node->shown = false;
        node->children.clear();
    }
    bridge.root->children.clear();
    std::vector<Node*> nodes;
    for (const ScreenItem& it : now) {
        Node* node = nullptr;
        for (Node* known : bridge.items) {
            node = known->item.id == it.id ? known : node;
        }
        if (!node) {
            bridge.items.push_back(node = new Node(false));
        }
        node->item = it;
        node->shown = true;
        const bool inGroup = it.parent >= 0 && it.parent < static_cast<int>(nodes.size());
        node->parent = inGroup ? nodes[it.parent] : bridge.root;
        node->parent->children.push_back(node);
        nodes.push_back(node);
    }
    bridge.last = now;
    bool reshaped = false;
    for (const windowLogic::ScreenChange& c : changes) {
        reshaped = reshaped || c.before < 0 || c.now < 0;
        if (c.now < 0) {
            continue;
        }
        const LONG child = eventChild(now[c.now].id);
        if (c.before >= 0) {
            if (c.name) {
                events.push_back({EVENT_OBJECT_NAMECHANGE, child});
            }
            if (c.pressed || c.checked || c.disabled) {
                events.push_back({EVENT_OBJECT_STATECHANGE, child});
            }
            if (c.place) {
                events.push_back({EVENT_OBJECT_LOCATIONCHANGE, child});
            }
        }
        if ((c.focused || c.before < 0) && now[c.now].focused && windowFocused()) {
            events.push_back({EVENT_OBJECT_FOCUS, child});
        }
    }
    if (reshaped) {
        events.push_back({EVENT_OBJECT_REORDER, CHILDID_SELF});
    }
}

// The news is read out as a polite live region where the system has them.
void annotateNews() {
    void* services = nullptr;
    if (FAILED(bridge.system.coCreateInstance(accPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                              accPropServicesInterface, &services))) {
        return;
    }
    bridge.annotations = static_cast<IAccPropServices*>(services);
    VARIANT polite = {};
    polite.vt = VT_I4;
    polite.lVal = politeLiveSetting;
    bridge.annotations->SetHwndProp(bridge.window, static_cast<DWORD>(OBJID_CLIENT),
                                    static_cast<DWORD>(newsChild), liveSettingProperty, polite);
}

bool start(HWND window, Program& program, int scale) {
    if (bridge.tried) {
        return bridge.ready;
    }
    bridge.tried = true;
    if (!load(bridge.system)) {
        return false;
    }
    const HRESULT com = bridge.system.coInitialize(nullptr);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) {
        return false;
    }
    bridge.comStarted = SUCCEEDED(com);
    bridge.window = window;
    bridge.program = &program;
    bridge.scale = scale > 0 ? scale : 1;
    bridge.root = new Node(true);
    Events untold;
    bringUpTo(windowLogic::describeScreen(program), untold);
    windowLogic::newsSince(program, bridge.told);  // the game as it stands is no news
    bridge.liveRegions = hasLiveRegions();
    if (bridge.liveRegions) {
        annotateNews();
    }
    bridge.ready = true;
    return true;
}

}  // namespace

namespace accessibility {

bool getObject(HWND window, Program& program, int scale, WPARAM wParam, LPARAM lParam,
               LRESULT& answer) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !start(window, program, scale)) {
        return false;
    }
    answer = bridge.system.lresultFromObject(__uuidof(IAccessible), wParam,
                                             static_cast<IAccessible*>(bridge.root));
    return answer >= 0;  // an error is left to DefWindowProc
}

void frameShown() {
    if (!bridge.ready) {
        return;
    }
    Events events;
    bringUpTo(windowLogic::describeScreen(*bridge.program), events);
    const std::string news = windowLogic::newsSince(*bridge.program, bridge.told);
    if (!news.empty()) {
        bridge.news = news;
        events.push_back(
            {bridge.liveRegions ? EVENT_OBJECT_LIVEREGIONCHANGED : EVENT_SYSTEM_ALERT, newsChild});
    }
    // Told only now that every object is up to date: a client may ask at once, even from
    // inside the call, and in whatever order the events reach it.
    for (const auto& event : events) {
        NotifyWinEvent(event.first, bridge.window, OBJID_CLIENT, event.second);
    }
}

void scaleChanged(int scale) {
    bridge.scale = scale > 0 ? scale : 1;
    if (bridge.ready) {
        NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, bridge.window, OBJID_CLIENT, CHILDID_SELF);
    }
}

void windowDestroyed() {
    if (!bridge.ready) {
        return;
    }
    bridge.ready = false;
    if (bridge.annotations) {
        bridge.annotations->ClearHwndProps(bridge.window, static_cast<DWORD>(OBJID_CLIENT),
                                           static_cast<DWORD>(newsChild), &liveSettingProperty, 1);
        bridge.annotations->Release();
        bridge.annotations = nullptr;
    }
    std::vector<Node*> all = bridge.items;
    all.push_back(bridge.root);
    for (Node* node : all) {
        node->dead = true;
        node->parent = nullptr;
        node->children.clear();
    }
    // Clients holding an object now get an error from it; each object goes when they let go.
    for (Node* node : all) {
        bridge.system.coDisconnectObject(static_cast<IAccessible*>(node), 0);
        node->Release();
    }
    bridge.items.clear();
    bridge.root = nullptr;
    bridge.last.clear();
    if (bridge.comStarted) {
        bridge.system.coUninitialize();
        bridge.comStarted = false;
    }
}

}  // namespace accessibility
