#include "controls/LinkAccessible.h"

#include "controls/LinkBox.h"

#include <oleacc.h>

#include <memory>

// The accessible object itself. COM counts its references; the last Release ends it.
class LinkAccessible final : public IAccessible {
  public:
    explicit LinkAccessible(LinkBox& link) : link_(&link) {}

    // The control is gone: every later question is answered "disconnected".
    void Disconnect() { link_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            std::unique_ptr<LinkAccessible>{this}; // the last reference: it ends here
        return left;
    }

    // IDispatch: no type information; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: the link is one element without children (CHILDID_SELF).
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!link_)
            return CO_E_OBJNOTCONNECTED;
        return CreateStdAccessibleObject(link_->hWnd(), OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return link_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (!child)
            return E_POINTER;
        *child = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [](const LinkBox& link) { return link.Caption(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, [](const LinkBox& link) { return link.Caption(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, [](const LinkBox&) { return long{ROLE_SYSTEM_LINK}; });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, [](const LinkBox& link) {
            long bits = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;
            if (GetFocus() == link.hWnd())
                bits |= STATE_SYSTEM_FOCUSED;
            if (!IsWindowVisible(link.hWnd()))
                bits |= STATE_SYSTEM_INVISIBLE;
            if (!link.Enabled())
                bits |= STATE_SYSTEM_UNAVAILABLE;
            return bits;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus)
            return E_POINTER;
        VariantInit(focus);
        if (!link_)
            return CO_E_OBJNOTCONNECTED;
        if (GetFocus() == link_->hWnd()) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        }
        return focus->vt == VT_EMPTY ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection)
            return E_POINTER;
        VariantInit(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, [](const LinkBox&) { return std::wstring(L"Jump"); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (const HRESULT bad = Check(child); bad != S_OK)
            return bad;
        if (flags & SELFLAG_TAKEFOCUS)
            SetFocus(link_->hWnd());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        if (const HRESULT bad = Check(child); bad != S_OK)
            return bad;
        RECT rect{};
        GetWindowRect(link_->hWnd(), &rect);
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
        if (end)
            VariantInit(end);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit)
            return E_POINTER;
        VariantInit(hit);
        if (!link_)
            return CO_E_OBJNOTCONNECTED;
        RECT rect{};
        GetWindowRect(link_->hWnd(), &rect);
        if (!PtInRect(&rect, POINT{x, y}))
            return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    // As a click does; the click runs after the call has returned, as the reader's tool
    // expects of a default action.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (const HRESULT bad = Check(child); bad != S_OK)
            return bad;
        PostMessageW(link_->hWnd(), LinkBox::ClickMessage, 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    // S_OK when the control is there and the question is about the link itself.
    HRESULT Check(const VARIANT& child) const {
        if (!link_)
            return CO_E_OBJNOTCONNECTED;
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF ? S_OK : E_INVALIDARG;
    }
    template <typename Read> HRESULT Text(const VARIANT& child, BSTR* out, Read read) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (const HRESULT bad = Check(child); bad != S_OK)
            return bad;
        const std::wstring text = read(*link_);
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    template <typename Read> HRESULT Number(const VARIANT& child, VARIANT* out, Read read) const {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        if (const HRESULT bad = Check(child); bad != S_OK)
            return bad;
        out->vt = VT_I4;
        out->lVal = read(*link_);
        return S_OK;
    }
    HRESULT Nothing(const VARIANT& child, BSTR* out) const {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const HRESULT bad = Check(child);
        return bad == S_OK ? S_FALSE : bad;
    }

    LinkBox* link_;
    ULONG references_ = 1; // the maker's
};

LinkAccessibility::LinkAccessibility(LinkBox& link) : link_(link) {}

LinkAccessibility::~LinkAccessibility() {
    if (object_)
        object_->Disconnect();
}

LRESULT LinkAccessibility::Answer(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT))
        return 0;
    // The object reaches the reader's process through COM, which this thread starts on
    // the first request (a run that never shows the window never loads it).
    if (!apartment_)
        apartment_.emplace();
    if (!object_)
        object_ = ComPtr<LinkAccessible>(std::make_unique<LinkAccessible>(link_).release());
    return LresultFromObject(IID_IAccessible, wParam, object_.get());
}
