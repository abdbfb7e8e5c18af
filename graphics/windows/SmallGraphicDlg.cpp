#include "graphics/windows/SmallGraphicDlg.h"

#include "app/Settings.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "res/GraphicViewerDialogs.h"

bool FitSmallPicture(int side, int width, int height, int* fittedWidth, int* fittedHeight)
{
    if (width <= 0 || height <= 0)
        return false;
    int w = width, h = height;
    if (height < width)
    {
        if (side < width)
        {
            w = side;
            h = int(LONGLONG(height) * side / width);
        }
    }
    else if (side < height)
    {
        w = int(LONGLONG(width) * side / height);
        h = side;
    }
    *fittedWidth = w;
    *fittedHeight = h;
    return true;
}

CSmallGraphicDlg::CSmallGraphicDlg(int* shownFlag, POINT* position)
    : CDialog(IDD_SMALL_GRAPHIC, nullptr), m_shownFlag(shownFlag), m_position(position)
{
}

CSmallGraphicDlg::~CSmallGraphicDlg()
{
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
}

BOOL CSmallGraphicDlg::Create(CWnd* parent)
{
    return CDialog::Create(IDD_SMALL_GRAPHIC, parent);
}

BOOL CSmallGraphicDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT client = {}, info = {};
    ::GetClientRect(m_hWnd, &client);
    if (HWND line = ::GetDlgItem(m_hWnd, IDC_SMALL_GRAPHIC_INFO))
    {
        ::GetWindowRect(line, &info);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&info), 2);
    }
    m_infoTop = info.top;
    m_side = m_infoTop - client.top;
    if (m_side > client.right - client.left)
        m_side = client.right - client.left;
    ApplyInfoLine();
    return TRUE;
}

RECT CSmallGraphicDlg::PictureArea() const
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    RECT area = client;
    area.bottom = client.top + m_side;
    return area;
}

void CSmallGraphicDlg::ApplyInfoLine()
{
    const int wanted = g_SMALL_SHOW_INFO ? 1 : 0;
    if (wanted == m_infoShown || m_hWnd == nullptr)
        return;
    HWND line = ::GetDlgItem(m_hWnd, IDC_SMALL_GRAPHIC_INFO);
    RECT lineRect = {}, window = {};
    if (line != nullptr)
        ::GetWindowRect(line, &lineRect);
    ::GetWindowRect(m_hWnd, &window);
    const int height = lineRect.bottom - lineRect.top;
    ::ShowWindow(line, wanted ? SW_SHOW : SW_HIDE);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left,
                   window.bottom - window.top + (wanted ? height : -height),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_infoShown = wanted;
}

void CSmallGraphicDlg::SetFile(LPCWSTR name, LPCWSTR directory)
{
    if (m_hWnd == nullptr)
        return;
    if (name == nullptr || *name == 0)
    {
        SetWindowText(L"縮小画像の表示");
        if (HDC dc = ::GetDC(m_hWnd))
        {
            Draw(dc);
            ::ReleaseDC(m_hWnd, dc);
        }
        m_info.Empty();
        SetDlgItemText(IDC_SMALL_GRAPHIC_INFO, L"");
        m_currentPath.Empty();
        return;
    }
    CString path;
    path.Format(L"%s\\%s", directory != nullptr ? directory : L"", name);
    if (path.CompareNoCase(m_currentPath) == 0)
        return;
    m_currentPath = path;
    m_info.Empty();
    SetWindowText(name);
    m_loaded = 0;
    // Each change starts the wait again: only the file the cursor stops on is read.
    ::SetTimer(m_hWnd, kLoadTimer, 100, nullptr);
}

int CSmallGraphicDlg::BuildThumbnail(CPictureData& picture)
{
    int width = 0, height = 0;
    if (!picture.IsValid() ||
        !FitSmallPicture(m_side, picture.GetWidth(), picture.GetHeight(), &width, &height))
        return 0;
    HDC screen = ::GetDC(m_hWnd);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, m_side, m_side);
    if (bitmap == nullptr)
    {
        ::ReleaseDC(m_hWnd, screen);
        return 0;
    }
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all = {0, 0, m_side, m_side};
    HBRUSH grey = CreateSolidBrush(kGrey);
    FillRect(memory, &all, grey);
    DeleteObject(grey);
    SetStretchBltMode(memory, HALFTONE);
    SetBrushOrgEx(memory, 0, 0, nullptr);
    StretchDIBits(memory, 0, 0, width, height, 0, 0, picture.GetWidth(), picture.GetHeight(),
                  picture.GetBits(), picture.GetHeader(), DIB_RGB_COLORS, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ::ReleaseDC(m_hWnd, screen);
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    return 1;
}

int CSmallGraphicDlg::LoadThumbnail()
{
    m_info.Empty();
    if (m_currentPath.IsEmpty())
        return 0;
    CSusiePlugInHost host;
    for (int start = 0;;)
    {
        const int index = host.LoadPlugInForFile(m_currentPath, SUSIE_KIND_IMAGE, start, 1);
        if (index < 0)
            return 0;
        start = index + 1;
        SusiePictureInfo info = {};
        if (g_SMALL_SHOW_INFO && host.GetPictureInfo(m_currentPath, &info) == 0)
        {
            if (info.textInfo != nullptr)
                LocalFree(info.textInfo);
            m_info.Format(L"%dx%d(%dbits)", int(info.width), int(info.height), int(info.colorDepth));
        }
        CPictureData picture;
        if (host.GetPreview(m_currentPath, picture, nullptr) == 0 && BuildThumbnail(picture))
        {
            m_loaded = 1;
            return 1;
        }
        if (g_SMALLLOADGETPICTURE && host.GetPicture(m_currentPath, picture, nullptr) == 0 &&
            BuildThumbnail(picture))
        {
            m_loaded = 1;
            return 1;
        }
    }
}

void CSmallGraphicDlg::Draw(HDC dc)
{
    const RECT area = PictureArea();
    if (m_loaded && m_bitmap != nullptr)
    {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, m_bitmap);
        BitBlt(dc, 0, 0, m_side, m_side, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        return;
    }
    HBRUSH grey = CreateSolidBrush(kGrey);
    FillRect(dc, &area, grey);
    DeleteObject(grey);
}

void CSmallGraphicDlg::OnCancel()
{
    if (m_shownFlag != nullptr)
        *m_shownFlag = 0;
    ShowWindow(SW_HIDE);
}

BOOL CSmallGraphicDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case ID_SMALL_GRAPHIC_SHOW_INFO:
        g_SMALL_SHOW_INFO = g_SMALL_SHOW_INFO ? 0 : 1;
        ApplyInfoLine();
        return TRUE;
    case ID_SMALL_GRAPHIC_USE_GET_PICTURE:
        g_SMALLLOADGETPICTURE = g_SMALLLOADGETPICTURE ? 0 : 1;
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

LRESULT CSmallGraphicDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        if (wParam == kLoadTimer)
        {
            ::KillTimer(m_hWnd, kLoadTimer);
            ++m_loadCount;
            if (!LoadThumbnail())
                m_loaded = 0;
            SetDlgItemText(IDC_SMALL_GRAPHIC_INFO, m_info);
            if (HDC dc = ::GetDC(m_hWnd))
            {
                Draw(dc);
                ::ReleaseDC(m_hWnd, dc);
            }
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        Draw(dc);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_MOVE:
        if (::IsWindowVisible(m_hWnd))
        {
            RECT window = {};
            ::GetWindowRect(m_hWnd, &window);
            g_SMALLGRAPHICX = window.left;
            g_SMALLGRAPHICY = window.top;
            if (m_position != nullptr)
                *m_position = POINT{window.left, window.top};
        }
        break;
    case WM_CLOSE:
        OnCancel();
        return 0;
    case WM_RBUTTONUP: {
        HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_SMALL_GRAPHIC_MENU));
        if (menu == nullptr)
            break;
        HMENU popup = ::GetSubMenu(menu, 0);
        ::CheckMenuItem(popup, ID_SMALL_GRAPHIC_SHOW_INFO, g_SMALL_SHOW_INFO ? MF_CHECKED : MF_UNCHECKED);
        ::CheckMenuItem(popup, ID_SMALL_GRAPHIC_USE_GET_PICTURE,
                        g_SMALLLOADGETPICTURE ? MF_CHECKED : MF_UNCHECKED);
        POINT at = {short(LOWORD(lParam)) + 2, short(HIWORD(lParam)) + 2};
        ::ClientToScreen(m_hWnd, &at);
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
        ::DestroyMenu(menu);
        return 0;
    }
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
