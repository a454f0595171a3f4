#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ole2.h>

#include <atomic>

// The main window's OLE drop target: a COM object whose drag calls go to
// the core's drop target. Reference counted; made with one reference,
// which its owner gives back with Release.
class OleDropTarget : public IDropTarget {
public:
    OleDropTarget() = default;
    OleDropTarget(const OleDropTarget&) = delete;
    OleDropTarget& operator=(const OleDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    virtual ~OleDropTarget() = default;

    std::atomic<ULONG> references_{1};
};
