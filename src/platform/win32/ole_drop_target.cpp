#include "platform/win32/ole_drop_target.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "window/drop_target.h"

namespace {

FORMATETC formatOf(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// Owns a storage medium got from a data object.
class Medium {
public:
    Medium(IDataObject& data, CLIPFORMAT format) {
        FORMATETC wanted = formatOf(format);
        valid_ = data.GetData(&wanted, &medium_) == S_OK && medium_.tymed == TYMED_HGLOBAL;
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    ~Medium() {
        if (valid_) ::ReleaseStgMedium(&medium_);
    }
    HGLOBAL memory() const { return valid_ ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_{};
    bool valid_ = false;
};

// What an OLE data object offers, in the drop target's terms.
class OleDragData : public DragData {
public:
    explicit OleDragData(IDataObject& data) : data_(data) {}

    bool offersText() const override { return offers(CF_TEXT); }
    bool offersFiles() const override { return offers(CF_HDROP); }
    bool offersUrl() const override {
        return offers(registered(L"UniformResourceLocatorW")) || offers(registered(L"UniformResourceLocator"));
    }
    bool offersHtml() const override { return offers(registered(L"HTML Format")); }

    // The text as the source's UTF-16, so no ANSI code page comes between.
    std::string text() const override {
        Medium medium(data_, CF_UNICODETEXT);
        if (medium.memory() == nullptr) return {};
        const auto* characters = static_cast<const wchar_t*>(::GlobalLock(medium.memory()));
        if (characters == nullptr) return {};
        const std::size_t capacity = ::GlobalSize(medium.memory()) / sizeof(wchar_t);
        std::size_t length = 0;
        while (length < capacity && characters[length] != L'\0') ++length;
        std::string text = gbkFromWide(std::wstring_view(characters, length));
        ::GlobalUnlock(medium.memory());
        return text;
    }

    // The names through DragQueryFileW: UTF-16, carried to UTF-8 without loss.
    std::vector<std::string> files() const override {
        Medium medium(data_, CF_HDROP);
        std::vector<std::string> paths;
        auto drop = static_cast<HDROP>(medium.memory());
        if (drop == nullptr) return paths;
        const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
            std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
            if (length == 0 || ::DragQueryFileW(drop, i, name.data(), length + 1) != length) continue;
            name.resize(length);
            paths.push_back(utf8FromWide(name));
        }
        return paths;
    }

private:
    bool offers(CLIPFORMAT format) const {
        if (format == 0) return false;
        FORMATETC wanted = formatOf(format);
        return data_.QueryGetData(&wanted) == S_OK;
    }
    static CLIPFORMAT registered(const wchar_t* name) {
        return static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(name));
    }

    IDataObject& data_;
};

DragKeys keysOf(DWORD keyState) {
    DragKeys keys;
    keys.control = (keyState & MK_CONTROL) != 0;
    keys.shift = (keyState & MK_SHIFT) != 0;
    return keys;
}

}  // namespace

HRESULT STDMETHODCALLTYPE OleDropTarget::QueryInterface(REFIID id, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE OleDropTarget::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE OleDropTarget::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    if (data == nullptr || effect == nullptr) return E_INVALIDARG;
    *effect = static_cast<DWORD>(dragEnter(OleDragData(*data), keysOf(keyState), *effect));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect) {
    if (effect == nullptr) return E_INVALIDARG;
    *effect = static_cast<DWORD>(dragOver(keysOf(keyState), *effect));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragLeave() {
    dragLeave();
    return S_OK;
}

// Whatever was delivered, the drop is refused, so that a source never
// deletes its original after a move.
HRESULT STDMETHODCALLTYPE OleDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    if (data == nullptr || effect == nullptr) return E_INVALIDARG;
    drop(OleDragData(*data), keysOf(keyState), *effect);
    *effect = DROPEFFECT_NONE;
    return E_FAIL;
}
