#include "framework/FwGdi.h"
#include "framework/FwWnd.h"
#include <memory>
#include <unordered_map>
#include <utility>

void CRect::InflateRect(int l, int t, int r, int b)
{
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void CRect::NormalizeRect()
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    if (m_hObject && m_hObject != hObject)
        DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename)
{
    return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                nPitchAndFamily, lpszFacename));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
{
    return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(pRgn1->m_hObject),
                        pRgn2 ? static_cast<HRGN>(pRgn2->m_hObject) : nullptr, nCombineMode);
}

namespace
{
// The wrapper FromHandle hands out: it refers to a context without owning it.
class CTempDC : public CDC
{
public:
    ~CTempDC() override { m_hDC = nullptr; }
};

// Wrappers are kept per thread (GDI contexts belong to the thread that uses them)
// and looked up by handle, so the same context always gets the same wrapper.
// Contexts from GetDC/BeginPaint come from a small cache and repeat; memory
// contexts get new handles, so wrappers of contexts that no longer exist are
// dropped once the table grows.
const size_t kTempDCPruneSize = 64;
thread_local std::unordered_map<HDC, std::unique_ptr<CTempDC>> t_tempDCs;
} // namespace

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    auto found = t_tempDCs.find(hDC);
    if (found != t_tempDCs.end())
        return found->second.get();
    if (t_tempDCs.size() >= kTempDCPruneSize)
    {
        for (auto it = t_tempDCs.begin(); it != t_tempDCs.end();)
            it = GetObjectType(it->first) == 0 ? t_tempDCs.erase(it) : std::next(it);
    }
    auto wrapper = std::make_unique<CTempDC>();
    wrapper->m_hDC = hDC;
    CDC* result = wrapper.get();
    t_tempDCs.emplace(hDC, std::move(wrapper));
    return result;
}

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC)
        return FALSE;
    if (m_hDC && m_hDC != hDC)
        DeleteDC();
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old = {};
    ::SetWindowExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old = {};
    ::SetViewportExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const
{
    SIZE size = {};
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return size;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor)
{
    // An opaque text output of no characters fills the rectangle with the
    // background colour: the cheapest solid fill, with no brush to create.
    COLORREF oldColor = ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, oldColor);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, crColor);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old = {};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}
