// The Windows program's accessible objects: one IAccessible for the client area, one for each
// item of the screen's description (the board and the lists holding their members), and the
// news of the game as a simple element of the client area.
//
// Child ids, as the calls take them: 0 is the object itself, 1 to the number of its children
// each child in reading order (the client area's last child being the news). On the client
// area a negative id also names any item shown, by its id in the description (-2 - id), and -1
// the news: the events name these, so that a client reaches a cell or a radio button from an
// event.
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
#include "shell/WindowLogic.h"

// Windows 8's event for a live region, which mingw's headers hide from a Windows XP target.
#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019
#endif

namespace accessibility {

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

// What a client is told of each role: its MSAA role, the state it always has, and its default
// action (a pressed toggle's is "Uncheck"). The board is a table of cells, each named by its
// place and what lies there and played by its default action; the lists are groupings of radio
// buttons. A list has the focus only while none of its rows is chosen, the board never: its
// cursor's cell has it.
struct MsaaRole {
    ItemRole item;
    LONG role;
    LONG state;
    const char* action;
};
constexpr MsaaRole msaaRoles[] = {
    {ItemRole::Button, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, "Press"},
    {ItemRole::Toggle, ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_FOCUSABLE, "Check"},
    {ItemRole::RadioGroup, ROLE_SYSTEM_GROUPING, STATE_SYSTEM_FOCUSABLE, ""},
    {ItemRole::Radio, ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_FOCUSABLE, "Check"},
    {ItemRole::Board, ROLE_SYSTEM_TABLE, 0, ""},
    {ItemRole::Cell, ROLE_SYSTEM_CELL, STATE_SYSTEM_FOCUSABLE, "Play"},
    {ItemRole::Status, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, ""},
    {ItemRole::Label, ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, ""},
    {ItemRole::Link, ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED, "Jump"},
};
static_assert(coversEveryRole(msaaRoles));

constexpr bool actionsFollowFacts() {
    for (int i = 0; i < itemRoleCount; ++i) {
        if ((msaaRoles[i].action[0] != '\0') != roleFacts[i].pressable) {
            return false;
        }
    }
    return true;
}
static_assert(actionsFollowFacts(), "an item has a default action when a press does something");

const MsaaRole& msaaRoleOf(ItemRole role) {
    return msaaRoles[static_cast<int>(role)];
}

bool overlaps(int from, int length, int otherFrom, int otherLength) {
    return from < otherFrom + otherLength && otherFrom < from + length;
}

class Node;
class ItemObject;
class RootObject;

using Events = std::vector<std::pair<DWORD, LONG>>;

}  // namespace

// Everything the objects share: the window and the program, the description they were last
// brought up to, one object for each item ever described, and the news.
struct State {
    System system;
    bool tried = false;  // a client asked, and the DLLs were looked for
    bool ready = false;  // the objects exist, and the window too
    bool comStarted = false;
    bool liveRegions = false;
    HWND window = nullptr;
    Program* program = nullptr;
    int scale = 1;
    RootObject* root = nullptr;
    // Every item's object made since the window opened, each found by its item's id; one not
    // in the last description is not shown.
    std::vector<ItemObject*> items;
    std::vector<ScreenItem> last;
    windowLogic::ScreenNews told;
    std::string news;
    IAccPropServices* annotations = nullptr;

    bool start(HWND window, Program& program, int scale);
    bool windowFocused() const { return GetFocus() == window; }
    // A rectangle of the drawing area in screen pixels.
    RECT onScreen(int x, int y, int width, int height) const;
    // The news is told where the game's status stands.
    RECT newsRect() const;
    ItemObject* described(int id) const;
    ItemObject* focusedItem() const;
    void bringUpTo(const std::vector<ScreenItem>& now);
    void tell(const windowLogic::ScreenChange& change, Events& events, bool& reshaped) const;
    void annotateNews();
    void disconnect();
};

namespace {

// COM's reference count, written once for every object here: it goes with its last reference.
class Counted {
  public:
    ULONG addRef() { return ++references; }
    ULONG release() {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

  protected:
    virtual ~Counted() = default;

  private:
    ULONG references = 1;
};

// What a child id names, seen from an object: an object (the object itself for 0), or the news.
struct Target {
    HRESULT reached;
    Node* node;
    bool news;
};

// An object as COM sees it: IUnknown and IDispatch, IAccessible's calls answered from the
// object's own facts, and the enumeration of its children. The client area (RootObject) and
// each item (ItemObject) give those facts.
class Node : public IAccessible, public IEnumVARIANT, protected Counted {
  public:
    explicit Node(State& state) : shared(state) {}

    Node* parent = nullptr;  // the client area, or the list or board holding an item
    std::vector<ItemObject*> children;
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
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }

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
        return gone() ? CO_E_OBJNOTCONNECTED : parentObject(out);
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
        Node* focused = shared.windowFocused() ? focusedWithin() : nullptr;
        if (focused == this) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            return S_OK;
        }
        return focused ? give(focused, out) : S_FALSE;
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
        const RECT r = news ? shared.newsRect() : node->rect();
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const auto [reached, node, news] = reach(child);
        if (FAILED(reached)) {
            return reached;
        }
        if (news || node->defaultAction().empty()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // What a click there does; the next frame tells what it changed.
        node->press();
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
    HRESULT next(ULONG& at, ULONG count, VARIANT* out, ULONG* fetched);
    HRESULT skip(ULONG& at, ULONG count);
    HRESULT clone(ULONG at, IEnumVARIANT** out);

  protected:
    // Whether the object is no longer on screen, or the window is gone.
    virtual bool gone() const { return dead; }
    // Its children, the news counted among the client area's.
    virtual LONG childCount() const { return static_cast<LONG>(children.size()); }
    // What a child id beyond its children names: on the client area, the news and any item.
    virtual Target reachBeyond(LONG) { return {E_INVALIDARG, nullptr, false}; }
    virtual HRESULT parentObject(IDispatch** out) = 0;
    // What has the keyboard focus, of this object and what it holds; null for none.
    virtual Node* focusedWithin() = 0;
    virtual std::string name() const = 0;
    virtual std::string defaultAction() const { return ""; }
    virtual LONG role() const = 0;
    virtual LONG state() const = 0;
    virtual RECT rect() const = 0;
    virtual void press() {}
    // The nearest sibling on the given side; null for none.
    virtual Node* nearest(LONG) const { return nullptr; }

    static HRESULT give(Node* node, IDispatch** out) {
        node->AddRef();
        *out = static_cast<IAccessible*>(node);
        return S_OK;
    }
    static HRESULT give(Node* node, VARIANT* out) {
        out->vt = VT_DISPATCH;
        return give(node, &out->pdispVal);
    }
    // A simple element, by its child id.
    static HRESULT giveChildId(LONG id, VARIANT* out) {
        out->vt = VT_I4;
        out->lVal = id;
        return S_OK;
    }

    State& shared;

  private:
    Target reach(const VARIANT& child);
    HRESULT text(const VARIANT& child, BSTR* out, bool name);
    HRESULT nothing(const VARIANT& child, BSTR* out);
    HRESULT number(const VARIANT& child, VARIANT* out, bool role);
    // The child `step` (1 or -1) on from `child` (null: the news, the client area's last).
    HRESULT childBeside(const Node* child, int step, VARIANT* out);

    ULONG cursor = 0;  // the enumeration's place
};

// An item of the description: a button, a list or a row of it, the board or a cell.
class ItemObject final : public Node {
  public:
    using Node::Node;

    ScreenItem item;    // as the last description had it
    bool shown = true;  // in the last description

  protected:
    bool gone() const override { return dead || !shown; }
    HRESULT parentObject(IDispatch** out) override { return give(parent, out); }
    Node* focusedWithin() override {
        Node* focused = shared.focusedItem();
        return focused == this || (focused && focused->parent == this) ? focused : nullptr;
    }
    std::string name() const override { return item.name; }
    std::string defaultAction() const override {
        return item.role == ItemRole::Toggle && item.pressed ? "Uncheck"
                                                             : msaaRoleOf(item.role).action;
    }
    LONG role() const override { return msaaRoleOf(item.role).role; }
    LONG state() const override {
        LONG on = msaaRoleOf(item.role).state;
        on |= item.disabled ? STATE_SYSTEM_UNAVAILABLE : 0;
        on |= item.pressed || item.checked ? STATE_SYSTEM_CHECKED : 0;
        return on | (item.focused && shared.windowFocused() ? STATE_SYSTEM_FOCUSED : 0);
    }
    RECT rect() const override { return shared.onScreen(item.x, item.y, item.width, item.height); }
    void press() override { windowLogic::press(*shared.program, item.pressX, item.pressY); }
    Node* nearest(LONG direction) const override;

  private:
    ~ItemObject() override = default;
};

// The client area: every item of the description below it, and last the news of the game as a
// simple element.
class RootObject final : public Node {
  public:
    using Node::Node;

  protected:
    LONG childCount() const override { return static_cast<LONG>(children.size()) + 1; }
    Target reachBeyond(LONG id) override {
        if (id == childCount() || id == newsChild) {
            return {S_OK, nullptr, true};
        }
        Node* node = id < newsChild ? shared.described(-(id + 2)) : nullptr;
        return {node ? S_OK : E_INVALIDARG, node, false};
    }
    // The client area's parent is the window, as the system itself describes it.
    HRESULT parentObject(IDispatch** out) override {
        return shared.system.createStdAccessibleObject(
            shared.window, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(out));
    }
    Node* focusedWithin() override {
        Node* focused = shared.focusedItem();
        return focused ? focused : this;
    }
    std::string name() const override {
        char title[128] = {};
        GetWindowTextA(shared.window, title, sizeof title);
        return title;
    }
    LONG role() const override { return ROLE_SYSTEM_CLIENT; }
    LONG state() const override {
        return STATE_SYSTEM_FOCUSABLE |
               (shared.windowFocused() && !shared.focusedItem() ? STATE_SYSTEM_FOCUSED : 0);
    }
    RECT rect() const override {
        RECT client = {};
        GetClientRect(shared.window, &client);
        return shared.onScreen(0, 0, client.right / shared.scale, client.bottom / shared.scale);
    }

  private:
    ~RootObject() override = default;
};

// A copy of an object's enumeration of its children, as Clone makes it, with a place of its own.
class Enumeration final : public IEnumVARIANT, protected Counted {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        return node->next(cursor, count, out, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return node->skip(cursor, count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return node->skip(cursor = 0, 0); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        return node->clone(cursor, out);
    }

  private:
    ~Enumeration() override { node->Release(); }

    Node* node;
    ULONG cursor;
};

Target Node::reach(const VARIANT& child) {
    if (gone() || child.vt != VT_I4) {
        return {gone() ? CO_E_OBJNOTCONNECTED : E_INVALIDARG, nullptr, false};
    }
    const LONG id = child.lVal;
    if (id == CHILDID_SELF) {
        return {S_OK, this, false};
    }
    if (id > 0 && id <= static_cast<LONG>(children.size())) {
        return {S_OK, children[id - 1], false};
    }
    return reachBeyond(id);
}

HRESULT Node::text(const VARIANT& child, BSTR* out, bool name) {
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    const auto [reached, node, news] = reach(child);
    if (FAILED(reached)) {
        return reached;
    }
    const std::string value =
        news ? (name ? shared.news : "") : (name ? node->name() : node->defaultAction());
    if (value.empty()) {
        return S_FALSE;
    }
    *out = textFor(value, shared.system.sysAllocString);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT Node::nothing(const VARIANT& child, BSTR* out) {
    if (out) {
        *out = nullptr;
    }
    const auto [reached, node, news] = reach(child);
    return FAILED(reached) ? reached : S_FALSE;
}

HRESULT Node::number(const VARIANT& child, VARIANT* out, bool role) {
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
                    : shared.liveRegions ? ROLE_SYSTEM_STATICTEXT
                                         : ROLE_SYSTEM_ALERT;
    } else {
        out->lVal = role ? node->role() : node->state();
    }
    return S_OK;
}

HRESULT Node::childBeside(const Node* child, int step, VARIANT* out) {
    const int count = static_cast<int>(childCount());
    const int items = static_cast<int>(children.size());
    int at = child ? -1 : count - 1;
    for (int i = 0; i < items; ++i) {
        at = children[i] == child ? i : at;
    }
    const int to = at + step;
    if (at < 0 || to < 0 || to >= count) {
        return S_FALSE;
    }
    return to < items ? give(children[to], out) : giveChildId(to + 1, out);
}

HRESULT Node::accNavigate(LONG direction, VARIANT start, VARIANT* out) {
    if (!out) {
        return E_POINTER;
    }
    out->vt = VT_EMPTY;
    const auto [reached, from, news] = reach(start);
    if (FAILED(reached)) {
        return reached;
    }
    switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD: {
            if (news || from != this) {
                return news ? S_FALSE : E_INVALIDARG;
            }
            // The last child of the client area is the news, as its count and enumeration say.
            const LONG count = childCount();
            const LONG id = direction == NAVDIR_FIRSTCHILD ? 1 : count;
            if (count == 0) {
                return S_FALSE;
            }
            return id <= static_cast<LONG>(children.size()) ? give(children[id - 1], out)
                                                            : giveChildId(id, out);
        }
        case NAVDIR_NEXT:
        case NAVDIR_PREVIOUS: {
            const int step = direction == NAVDIR_NEXT ? 1 : -1;
            if (news) {
                return childBeside(nullptr, step, out);
            }
            return from->parent ? from->parent->childBeside(from, step, out) : S_FALSE;
        }
        case NAVDIR_UP:
        case NAVDIR_DOWN:
        case NAVDIR_LEFT:
        case NAVDIR_RIGHT: {
            Node* to = news ? nullptr : from->nearest(direction);
            return to ? give(to, out) : S_FALSE;
        }
        default:
            return E_INVALIDARG;
    }
}

HRESULT Node::accHitTest(LONG x, LONG y, VARIANT* out) {
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
    return hit != this ? give(hit, out) : giveChildId(CHILDID_SELF, out);
}

HRESULT Node::next(ULONG& at, ULONG count, VARIANT* out, ULONG* fetched) {
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
            giveChildId(static_cast<LONG>(at + 1), &out[n]);
        }
    }
    if (fetched) {
        *fetched = n;
    }
    return n == count ? S_OK : S_FALSE;
}

HRESULT Node::skip(ULONG& at, ULONG count) {
    if (gone()) {
        return CO_E_OBJNOTCONNECTED;
    }
    const ULONG total = static_cast<ULONG>(childCount());
    const bool past = at > total || count > total - at;
    at = past ? total : at + count;
    return past ? S_FALSE : S_OK;
}

HRESULT Node::clone(ULONG at, IEnumVARIANT** out) {
    if (!out) {
        return E_POINTER;
    }
    *out = gone() ? nullptr : new Enumeration(this, at);
    return *out ? S_OK : CO_E_OBJNOTCONNECTED;
}

// The nearest sibling that lies wholly on the given side and across from this one.
Node* ItemObject::nearest(LONG direction) const {
    if (!parent) {
        return nullptr;
    }
    const ScreenItem& a = item;
    Node* best = nullptr;
    int bestDistance = 0;
    for (ItemObject* other : parent->children) {
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

}  // namespace

RECT State::onScreen(int x, int y, int width, int height) const {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int s = scale;
    return {origin.x + x * s, origin.y + y * s, origin.x + (x + width) * s,
            origin.y + (y + height) * s};
}

RECT State::newsRect() const {
    for (const ScreenItem& it : last) {
        if (it.role == ItemRole::Status) {
            return onScreen(it.x, it.y, it.width, it.height);
        }
    }
    return onScreen(0, 0, 0, 0);
}

ItemObject* State::described(int id) const {
    for (ItemObject* node : items) {
        if (node->item.id == id) {
            return node->shown ? node : nullptr;
        }
    }
    return nullptr;
}

ItemObject* State::focusedItem() const {
    for (const ScreenItem& it : last) {
        if (it.focused) {
            return described(it.id);
        }
    }
    return nullptr;
}

// Brings the objects to the description `now`. The objects stay the same ones: a client holding
// one keeps it.
void State::bringUpTo(const std::vector<ScreenItem>& now) {
    for (ItemObject* node : items) {
        node->shown = false;
        node->children.clear();
    }
    root->children.clear();
    std::vector<ItemObject*> nodes;
    for (const ScreenItem& it : now) {
        ItemObject* node = nullptr;
        for (ItemObject* known : items) {
            node = known->item.id == it.id ? known : node;
        }
        if (!node) {
            items.push_back(node = new ItemObject(*this));
        }
        node->item = it;
        node->shown = true;
        const bool inGroup = it.parent >= 0 && it.parent < static_cast<int>(nodes.size());
        node->parent = inGroup ? static_cast<Node*>(nodes[it.parent]) : root;
        node->parent->children.push_back(node);
        nodes.push_back(node);
    }
    last = now;
}

// Each change as the event that tells it, naming the item by its id on the client area. A
// client is told once that the client area's children changed, after the items' own events.
void State::tell(const windowLogic::ScreenChange& c, Events& events, bool& reshaped) const {
    using windowLogic::ScreenChange;
    const auto add = [&events](DWORD event, LONG child) {
        // An item whose states changed together is told once.
        if (events.empty() || events.back() != std::make_pair(event, child)) {
            events.push_back({event, child});
        }
    };
    switch (c.kind) {
        case ScreenChange::Added:
        case ScreenChange::Removed:
            reshaped = true;
            break;
        case ScreenChange::Renamed:
            add(EVENT_OBJECT_NAMECHANGE, eventChild(last[c.now].id));
            break;
        case ScreenChange::StateChanged:
            add(EVENT_OBJECT_STATECHANGE, eventChild(last[c.now].id));
            break;
        case ScreenChange::BoundsChanged:
            add(EVENT_OBJECT_LOCATIONCHANGE, eventChild(last[c.now].id));
            break;
        case ScreenChange::FocusMoved:
            if (c.to >= 0 && windowFocused()) {
                add(EVENT_OBJECT_FOCUS, eventChild(last[c.to].id));
            }
            break;
        case ScreenChange::News:
            if (reshaped) {
                add(EVENT_OBJECT_REORDER, CHILDID_SELF);
                reshaped = false;
            }
            add(liveRegions ? EVENT_OBJECT_LIVEREGIONCHANGED : EVENT_SYSTEM_ALERT, newsChild);
            break;
    }
}

// The news is read out as a polite live region where the system has them.
void State::annotateNews() {
    void* services = nullptr;
    if (FAILED(system.coCreateInstance(accPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                       accPropServicesInterface, &services))) {
        return;
    }
    annotations = static_cast<IAccPropServices*>(services);
    VARIANT polite = {};
    polite.vt = VT_I4;
    polite.lVal = politeLiveSetting;
    annotations->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT),
                             static_cast<DWORD>(newsChild), liveSettingProperty, polite);
}

bool State::start(HWND forWindow, Program& forProgram, int withScale) {
    if (tried) {
        return ready;
    }
    tried = true;
    if (!load(system)) {
        return false;
    }
    const HRESULT com = system.coInitialize(nullptr);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) {
        return false;
    }
    comStarted = SUCCEEDED(com);
    window = forWindow;
    program = &forProgram;
    scale = withScale > 0 ? withScale : 1;
    root = new RootObject(*this);
    bringUpTo(windowLogic::describeScreen(forProgram));
    windowLogic::newsSince(forProgram, told);  // the game as it stands is no news
    liveRegions = hasLiveRegions();
    if (liveRegions) {
        annotateNews();
    }
    ready = true;
    return true;
}

void State::disconnect() {
    ready = false;
    if (annotations) {
        annotations->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT),
                                    static_cast<DWORD>(newsChild), &liveSettingProperty, 1);
        annotations->Release();
        annotations = nullptr;
    }
    std::vector<Node*> all(items.begin(), items.end());
    all.push_back(root);
    for (Node* node : all) {
        node->dead = true;
        node->parent = nullptr;
        node->children.clear();
    }
    // Clients holding an object now get an error from it; each object goes when they let go.
    for (Node* node : all) {
        system.coDisconnectObject(static_cast<IAccessible*>(node), 0);
        node->Release();
    }
    items.clear();
    root = nullptr;
    last.clear();
    if (comStarted) {
        system.coUninitialize();
        comStarted = false;
    }
}

Bridge::Bridge() : state(new State) {}

Bridge::~Bridge() = default;

bool Bridge::getObject(HWND window, Program& program, int scale, WPARAM wParam, LPARAM lParam,
                       LRESULT& answer) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !state->start(window, program, scale)) {
        return false;
    }
    answer = state->system.lresultFromObject(__uuidof(IAccessible), wParam,
                                             static_cast<IAccessible*>(state->root));
    return answer >= 0;  // an error is left to DefWindowProc
}

bool Bridge::listening() const {
    return state->ready;
}

void Bridge::frameShown(const std::vector<ScreenItem>& now) {
    if (!state->ready) {
        return;
    }
    const std::vector<ScreenItem> before = state->last;
    state->bringUpTo(now);
    const std::string news = windowLogic::newsSince(*state->program, state->told);
    if (!news.empty()) {
        state->news = news;
    }
    Events events;
    bool reshaped = false;
    for (const windowLogic::ScreenChange& c : windowLogic::changesBetween(before, now, news)) {
        state->tell(c, events, reshaped);
    }
    if (reshaped) {
        events.push_back({EVENT_OBJECT_REORDER, CHILDID_SELF});
    }
    // Told only now that every object is up to date: a client may ask at once, even from
    // inside the call, and in whatever order the events reach it.
    for (const auto& event : events) {
        NotifyWinEvent(event.first, state->window, OBJID_CLIENT, event.second);
    }
}

void Bridge::scaleChanged(int scale) {
    state->scale = scale > 0 ? scale : 1;
    if (state->ready) {
        NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, state->window, OBJID_CLIENT, CHILDID_SELF);
    }
}

void Bridge::windowDestroyed() {
    if (state->ready) {
        state->disconnect();
    }
}

}  // namespace accessibility
