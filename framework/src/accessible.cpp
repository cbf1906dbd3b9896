#include "framework/accessible.h"

#include <oleacc.h>

#include <utility>

#include "platform/text_trim.h"

namespace framework {
namespace {

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using SysAllocStringLenFn = BSTR(WINAPI*)(const OLECHAR*, UINT);

struct Oleacc {
    LresultFromObjectFn lresultFromObject = nullptr;
    CreateStdAccessibleObjectFn createStdAccessibleObject = nullptr;
    SysAllocStringLenFn sysAllocStringLen = nullptr;  // oleaut32's, which oleacc loads anyway
};

const Oleacc& LoadOleacc() {
    // Loaded once and never freed: readers may hold objects until the process ends.
    static const Oleacc oleacc = [] {
        Oleacc loaded;
        if (HMODULE module = ::LoadLibraryA("oleacc.dll")) {
            loaded.lresultFromObject = reinterpret_cast<LresultFromObjectFn>(
                reinterpret_cast<void*>(::GetProcAddress(module, "LresultFromObject")));
            loaded.createStdAccessibleObject = reinterpret_cast<CreateStdAccessibleObjectFn>(
                reinterpret_cast<void*>(::GetProcAddress(module, "CreateStdAccessibleObject")));
        }
        if (HMODULE module = ::LoadLibraryA("oleaut32.dll"))
            loaded.sysAllocStringLen = reinterpret_cast<SysAllocStringLenFn>(
                reinterpret_cast<void*>(::GetProcAddress(module, "SysAllocStringLen")));
        return loaded;
    }();
    return oleacc;
}

BSTR ToBstr(const std::u16string& text) {
    // Readers free it with SysFreeString: it must come from the same allocator.
    return LoadOleacc().sysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                          static_cast<UINT>(text.size()));
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

}  // namespace

std::u16string AccessibleName(const std::u16string& caption) {
    std::u16string name;
    for (char16_t c : caption) {
        if (c != u'\u3000')
            name += c;
    }
    return std::u16string(platform::Trim(name));
}

// The object a reader holds. Reference counted by COM; the control cuts it off when it goes.
class AccessibleObject final : public IAccessible {
public:
    AccessibleObject(AccessibleSource& source, IAccessible* standard) : source_(&source), standard_(standard) {}

    void Disconnect() {
        source_ = nullptr;
        if (standard_) {
            standard_->Release();
            standard_ = nullptr;
        }
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            Disconnect();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: readers use the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_ ? standard_->get_accParent(parent) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!source_ || !count)
            return source_ ? E_POINTER : CO_E_OBJNOTCONNECTED;
        long own = 0;
        standard_->get_accChildCount(&own);
        *count = own + static_cast<long>(source_->SimpleChildren().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (SimpleChild(child) >= 0) {
            if (dispatch)
                *dispatch = nullptr;
            return S_FALSE;  // a simple element: asked about through this object
        }
        return standard_->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, &AccessibleFacts::name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (value)
            *value = nullptr;
        return (IsSelf(child) && source_->DescribesSelf()) || SimpleChild(child) >= 0
                   ? S_FALSE
                   : standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (text)
            *text = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, &AccessibleFacts::role, &IAccessible::get_accRole);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, &AccessibleFacts::state, &IAccessible::get_accState);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
        if (help)
            *help = nullptr;
        return source_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return source_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (shortcut)
            *shortcut = nullptr;
        return IsSelf(child) || SimpleChild(child) >= 0 ? S_FALSE : standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return standard_ ? standard_->get_accFocus(focus) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return standard_ ? standard_->get_accSelection(selection) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, &AccessibleFacts::defaultAction, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_ ? standard_->accSelect(flags, child) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        const int index = SimpleChild(child);
        if (index < 0)
            return standard_->accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height)
            return E_POINTER;
        const RECT r = source_->SimpleChildren()[static_cast<std::size_t>(index)].screenBounds;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_ ? standard_->accNavigate(direction, start, end) : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        const std::vector<AccessibleFacts> children = source_->SimpleChildren();
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (child && ::PtInRect(&children[i].screenBounds, POINT{x, y})) {
                child->vt = VT_I4;
                child->lVal = FirstSimpleChild() + static_cast<long>(i);
                return S_OK;
            }
        }
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (!IsSelf(child) || !source_->DescribesSelf())
            return SimpleChild(child) >= 0 ? DISP_E_MEMBERNOTFOUND : standard_->accDoDefaultAction(child);
        return source_->DoDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() = default;

    long FirstSimpleChild() const {
        long own = 0;
        standard_->get_accChildCount(&own);
        return own + 1;
    }
    // The index of a simple child named by a child id, or -1.
    int SimpleChild(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal == CHILDID_SELF)
            return -1;
        const long index = child.lVal - FirstSimpleChild();
        return index >= 0 && index < static_cast<long>(source_->SimpleChildren().size()) ? static_cast<int>(index) : -1;
    }
    // The facts a child id names: the object's own, a simple child's, or none (the standard object's).
    bool FactsOf(const VARIANT& child, AccessibleFacts& facts) const {
        if (IsSelf(child) && source_->DescribesSelf()) {
            facts = source_->Facts();
            return true;
        }
        const int index = SimpleChild(child);
        if (index < 0)
            return false;
        facts = source_->SimpleChildren()[static_cast<std::size_t>(index)];
        return true;
    }
    HRESULT Text(const VARIANT& child,
                 BSTR* out,
                 std::u16string AccessibleFacts::*field,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*)) {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (!out)
            return E_POINTER;
        *out = nullptr;
        AccessibleFacts facts;
        if (!FactsOf(child, facts))
            return (standard_->*standard)(child, out);
        if ((facts.*field).empty())
            return S_FALSE;
        *out = ToBstr(facts.*field);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Number(const VARIANT& child,
                   VARIANT* out,
                   long AccessibleFacts::*field,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, VARIANT*)) {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (!out)
            return E_POINTER;
        AccessibleFacts facts;
        if (!FactsOf(child, facts))
            return (standard_->*standard)(child, out);
        out->vt = VT_I4;
        out->lVal = facts.*field;
        return S_OK;
    }

    LONG references_ = 1;
    AccessibleSource* source_;
    IAccessible* standard_;
};

ReaderApartment::ReaderApartment()
    : entered_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ReaderApartment::~ReaderApartment() {
    if (entered_)
        ::CoUninitialize();
}

bool AccessibleLink::Answer(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    const Oleacc& oleacc = LoadOleacc();
    if (!oleacc.lresultFromObject || !oleacc.createStdAccessibleObject || !oleacc.sysAllocStringLen)
        return false;
    if (!object_) {
        IAccessible* standard = nullptr;
        if (FAILED(oleacc.createStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(&standard))) ||
            !standard)
            return false;
        object_ = new AccessibleObject(source_, standard);
    }
    result = oleacc.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
    return result >= 0;
}

void AccessibleLink::NotifyChange(HWND window, DWORD event) {
    ::NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}

void AccessibleLink::Disconnect() {
    if (!object_)
        return;
    AccessibleObject* object = std::exchange(object_, nullptr);
    object->Disconnect();
    // Readers in other processes hold the object through stubs: those let go now.
    ::CoDisconnectObject(static_cast<IAccessible*>(object), 0);
    object->Release();
}

}  // namespace framework
