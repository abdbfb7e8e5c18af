// A drag of files out of a directory listing into another program: the data the
// shell takes (its item list and the plain file list) and the system's drag loop.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/mouse/ShellDragSeam.h"

#include <ole2.h>
#include <shlobj.h>

namespace
{

// A copy of the block for a receiver, which frees what it gets.
HGLOBAL CopyBlock(HGLOBAL block)
{
    const SIZE_T size = GlobalSize(block);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    void* to = copy ? GlobalLock(copy) : nullptr;
    const void* from = GlobalLock(block);
    if (to != nullptr && from != nullptr)
        memcpy(to, from, size);
    if (from != nullptr)
        GlobalUnlock(block);
    if (to != nullptr)
        GlobalUnlock(copy);
    if (copy != nullptr && (to == nullptr || from == nullptr))
    {
        GlobalFree(copy);
        copy = nullptr;
    }
    return copy;
}

// The dragged data: at most two global blocks, offered by their formats; the object
// owns them and frees them when the last reference goes.
class CDragData : public IDataObject
{
public:
    void Add(UINT format, HGLOBAL block)
    {
        if (block == nullptr || m_count == 2)
            return;
        m_formats[m_count] = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        m_blocks[m_count++] = block;
    }
    int GetCount() const { return m_count; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject))
        {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (format == nullptr || medium == nullptr)
            return E_INVALIDARG;
        const int slot = Find(*format);
        if (slot < 0)
            return DV_E_FORMATETC;
        HGLOBAL copy = CopyBlock(m_blocks[slot]);
        if (copy == nullptr)
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return format != nullptr && Find(*format) >= 0 ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out != nullptr)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    // The shell tells a source what it did through SetData; nothing here needs it.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(m_count), m_formats, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~CDragData()
    {
        for (int i = 0; i < m_count; ++i)
            GlobalFree(m_blocks[i]);
    }
    int Find(const FORMATETC& format) const
    {
        for (int i = 0; i < m_count; ++i)
            if (format.cfFormat == m_formats[i].cfFormat && (format.tymed & TYMED_HGLOBAL) != 0)
                return i;
        return -1;
    }

    LONG m_refs = 1;
    int m_count = 0;
    FORMATETC m_formats[2] = {};
    HGLOBAL m_blocks[2] = {};
};

class CDragSource : public IDropSource
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource))
        {
            *object = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of the drag loop.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

DWORD RunSystemDrag(HWND view, POINT clientPoint, IDataObject* data, DWORD allowed)
{
    // DragDetect waits for the button's release in its own loop: without a pressed
    // button (a click sent by another program) it would wait for ever.
    if (view == nullptr || GetKeyState(VK_LBUTTON) >= 0)
        return 0;
    POINT screen = clientPoint;
    ClientToScreen(view, &screen);
    if (!DragDetect(view, screen))
        return 0;
    CDragSource source;
    DWORD effect = DROPEFFECT_NONE;
    if (DoDragDrop(data, &source, allowed, &effect) != DRAGDROP_S_DROP)
        return 0;
    return effect;
}

} // namespace

ShellDragSeam g_ShellDragSeam = {RunSystemDrag};

UINT GetShellIdListFormat()
{
    static const UINT format = RegisterClipboardFormatW(CFSTR_SHELLIDLIST);
    return format;
}

int StartShellDrag(CQvView& view, int pane)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CFilerPane* source = PaneAt(pane);
    if (source == nullptr || source->m_mode != PANE_MODE_FILER || source->IsOnVirtualDrive())
        return 0;
    auto* data = new CDragData;
    data->Add(GetShellIdListFormat(), view.BuildShellIdListArray(pane, 1));
    data->Add(CF_HDROP, BuildDropFileList(pane, 1));
    DWORD effect = 0;
    if (data->GetCount() > 0)
    {
        view.m_bShellDragStarted = 1;
        effect =
            g_ShellDragSeam.run(view.m_hWnd, view.m_lastClickPoint, data, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }
    data->Release();
    const int done = effect == DROPEFFECT_COPY || effect == DROPEFFECT_MOVE ? 1 : 0;
    if (done)
        view.ReloadFilerPanes();
    return done;
}
