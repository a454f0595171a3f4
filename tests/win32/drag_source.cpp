#include "drag_source.h"

#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>

namespace {

// One format of the data object and its bytes, handed out as global memory.
struct Offer {
    CLIPFORMAT format;
    std::vector<std::uint8_t> bytes;
};

// The parts of IUnknown that both COM objects here share: one interface,
// reference counted, deleted at the last release.
template <class Interface>
class ComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, __uuidof(Interface))) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() = default;

private:
    std::atomic<ULONG> references_{1};
};

class DataObject : public ComObject<IDataObject> {
public:
    explicit DataObject(std::vector<Offer> offers) : offers_(std::move(offers)) {}

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (wanted == nullptr || medium == nullptr) return E_INVALIDARG;
        const Offer* offer = find(*wanted);
        if (offer == nullptr) return DV_E_FORMATETC;
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, offer->bytes.size());
        if (memory == nullptr) return E_OUTOFMEMORY;
        std::memcpy(::GlobalLock(memory), offer->bytes.data(), offer->bytes.size());
        ::GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override {
        if (wanted == nullptr) return E_INVALIDARG;
        return find(*wanted) != nullptr ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out != nullptr) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> list;
        for (const Offer& offer : offers_) list.push_back(formatOf(offer.format));
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    static FORMATETC formatOf(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

    const Offer* find(const FORMATETC& wanted) const {
        if (wanted.dwAspect != DVASPECT_CONTENT || (wanted.tymed & TYMED_HGLOBAL) == 0) return nullptr;
        for (const Offer& offer : offers_) {
            if (offer.format == wanted.cfFormat) return &offer;
        }
        return nullptr;
    }

    std::vector<Offer> offers_;
};

// Drops as soon as no mouse button is held, which is at once here.
class DropSource : public ComObject<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        return (keyState & (MK_LBUTTON | MK_RBUTTON)) == 0 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

template <class Character>
void append(std::vector<std::uint8_t>& bytes, const Character* characters, std::size_t count) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(characters);
    bytes.insert(bytes.end(), first, first + count * sizeof(Character));
}

// The shell's file list: a DROPFILES header, then each wide name with its
// terminating zero, then one more zero.
std::vector<std::uint8_t> fileList(const std::vector<std::wstring>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::vector<std::uint8_t> bytes;
    append(bytes, &header, 1);
    for (const std::wstring& path : paths) append(bytes, path.c_str(), path.size() + 1);
    append(bytes, L"", 1);
    return bytes;
}

std::vector<std::uint8_t> wideText(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    append(bytes, text.c_str(), text.size() + 1);
    return bytes;
}

std::vector<std::uint8_t> ansiText(const std::wstring& text) {
    std::string ansi(text.size() * 2 + 1, '\0');
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(),
                                             static_cast<int>(ansi.size()), nullptr, nullptr);
    std::vector<std::uint8_t> bytes;
    append(bytes, ansi.c_str(), static_cast<std::size_t>(length));
    bytes.push_back(0);
    return bytes;
}

// Sets this thread's keyboard state, which DoDragDrop reads for the keys
// held during the drag; gives the old state back when it goes.
class KeysHeld {
public:
    explicit KeysHeld(HeldKeys keys) {
        ::GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        const BYTE down = keys == HeldKeys::ControlAndShift ? 0x80 : 0;
        for (int key : {VK_CONTROL, VK_LCONTROL, VK_SHIFT, VK_LSHIFT}) state[key] = down;
        ::SetKeyboardState(state);
    }
    ~KeysHeld() { ::SetKeyboardState(saved_); }
    KeysHeld(const KeysHeld&) = delete;
    KeysHeld& operator=(const KeysHeld&) = delete;

private:
    BYTE saved_[256] = {};
};

DWORD drag(POINT screenPoint, std::vector<Offer> offers, HeldKeys keys) {
    KeysHeld held(keys);
    ::SetCursorPos(screenPoint.x, screenPoint.y);
    auto* data = new DataObject(std::move(offers));
    auto* source = new DropSource();
    DWORD effect = DROPEFFECT_NONE;
    ::DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    source->Release();
    data->Release();
    return effect;
}

}  // namespace

DWORD dragFiles(POINT screenPoint, const std::vector<std::wstring>& paths, HeldKeys keys) {
    return drag(screenPoint, {Offer{CF_HDROP, fileList(paths)}}, keys);
}

DWORD dragText(POINT screenPoint, const std::wstring& text) {
    return drag(screenPoint, {Offer{CF_UNICODETEXT, wideText(text)}, Offer{CF_TEXT, ansiText(text)}},
                HeldKeys::None);
}
