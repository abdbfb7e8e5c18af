#include "graphics/picture/SaveBmpDlg.h"
#include "app/dialogs/DialogHelpers.h"

#include <commctrl.h>
#include <commdlg.h>

#include "app/Directories.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/FolderChooser.h"
#include "util/WorkerMessages.h"
#include "util/WriteThread.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/settings/GraphicSettings.h"
#include "framework/FwLock.h"
#include "graphics/picture/BmpSaving.h"
#include "graphics/picture/PictureData.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "res/PictureDialogs.h"

namespace
{
// The writer's percentage, posted: the dialog's thread may be waiting for the writer,
// and a sent message would then never be answered.
constexpr UINT kPercentMessage = WM_APP + 0x29;
} // namespace

CSaveBmpDlg::CSaveBmpDlg(CPictureData* picture, LPCWSTR sourceDirectory, LPCWSTR sourceName, int mode,
                         LPCWSTR fixedPath, CWnd* parent)
    : CDialog(IDD_SAVE_BMP, parent), m_picture(picture), m_sourceDirectory(sourceDirectory),
      m_sourceName(sourceName), m_fixedPath(fixedPath), m_mode(mode)
{
    m_lockedThread = g_pLoadPreviewThread;
    if (m_lockedThread != nullptr)
        m_lockedThread->AcquireReaderLock();
}

CSaveBmpDlg::~CSaveBmpDlg()
{
    // Only an unfinished save gets here with a writer: its file is not the user's yet.
    StopThread();
    if (!m_scratchPath.IsEmpty())
        DeleteFileLong(m_scratchPath);
    if (m_lockedThread != nullptr)
        m_lockedThread->ReleaseReaderLock();
}

BOOL CSaveBmpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_sourceDirectory.IsEmpty())
        SetCurrentDir(m_sourceDirectory);
    int sameName = 0;
    CString lastFolder;
    {
        CHandleLock lock(g_DataMutex);
        sameName = g_BmpSaveSettings.sameName;
        lastFolder = g_BmpSaveSettings.lastFolder;
    }
    CheckDlgButton(IDC_SAVEBMP_SAME_NAME, sameName ? BST_CHECKED : BST_UNCHECKED);
    if (m_mode == SAVEBMP_INTERACTIVE)
    {
        SetDlgItemText(IDC_SAVEBMP_FOLDER, lastFolder);
        EnablePairs(sameName);
        return TRUE;
    }
    EnablePairs(sameName);
    for (int id : {IDC_SAVEBMP_PATH, IDC_SAVEBMP_BROWSE_PATH, IDC_SAVEBMP_FOLDER, IDC_SAVEBMP_BROWSE_FOLDER,
                   IDC_SAVEBMP_SAME_NAME})
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(FALSE);
    // The series and the fixed path ask nothing: the save starts once the dialog runs.
    PostMessage(WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CSaveBmpDlg::EnablePairs(BOOL sameName)
{
    const int ids[] = {IDC_SAVEBMP_PATH, IDC_SAVEBMP_BROWSE_PATH, IDC_SAVEBMP_FOLDER,
                       IDC_SAVEBMP_BROWSE_FOLDER};
    for (int i = 0; i < 4; ++i)
        if (CWnd* control = GetDlgItem(ids[i]))
            control->EnableWindow((i < 2) != (sameName != 0) ? TRUE : FALSE);
}

BOOL CSaveBmpDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDC_SAVEBMP_SAME_NAME: {
        const int sameName = IsDlgButtonChecked(IDC_SAVEBMP_SAME_NAME) == BST_CHECKED ? 1 : 0;
        EnablePairs(sameName);
        CHandleLock lock(g_DataMutex);
        g_BmpSaveSettings.sameName = sameName;
        return TRUE;
    }
    case IDC_SAVEBMP_BROWSE_PATH: {
        FileDialogRequest request(m_hWnd, L"ビットマップ\0*.BMP\0\0");
        request.defaultExt = L"BMP";
        request.flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
        request.save = true;
        CString path;
        if (BrowseForFile(request, path))
            SetDlgItemText(IDC_SAVEBMP_PATH, path);
        return TRUE;
    }
    case IDC_SAVEBMP_BROWSE_FOLDER: {
        CString folder;
        GetDlgItemText(IDC_SAVEBMP_FOLDER, folder);
        if (BrowseForFolder(folder, this, FALSE))
            SetDlgItemText(IDC_SAVEBMP_FOLDER, folder);
        return TRUE;
    }
    case IDM_WORKER_DONE:
    case IDM_WORKER_FAILED:
        // A Cancel may have settled the save already; its writer's last word comes late.
        if (m_writer == nullptr)
            return TRUE;
        EndWrite();
        if (m_result == BMP_SAVE_OK)
        {
            EndSaved();
            return TRUE;
        }
        // A failed write is told, and the caller that goes on after OK (the wallpaper)
        // must not take the file for saved.
        if (m_result != BMP_SAVE_STOPPED)
            Tell(this, BmpSaveMessage(m_result));
        EndDialog(IDCANCEL);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

LRESULT CSaveBmpDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kPercentMessage)
    {
        CString text;
        text.Format(L"%ld%%", long(wParam));
        SetDlgItemText(IDC_SAVEBMP_PERCENT, text);
        ::SendDlgItemMessageW(m_hWnd, IDC_SAVEBMP_BAR, PBM_SETPOS, wParam, 0);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

CString CSaveBmpDlg::SameNamePath(const CString& folder) const
{
    if (folder.IsEmpty())
        return CString();
    CString name;
    SplitPath(m_sourceName, nullptr, &name);
    const int dot = name.ReverseFind(L'.');
    if (dot >= 0)
        name = name.Left(dot);
    CString path;
    path.Format(L"%s\\%s.BMP", static_cast<LPCWSTR>(folder), static_cast<LPCWSTR>(name));
    return path;
}

CString CSaveBmpDlg::BuildPath()
{
    CString folder;
    CString path;
    int sameName = 0;
    CString prefix;
    CString seriesFolder;
    int number = 0;
    {
        CHandleLock lock(g_DataMutex);
        sameName = g_BmpSaveSettings.sameName;
        prefix = g_BmpSaveSettings.prefix;
        seriesFolder = g_BmpSaveSettings.folder;
        number = g_BmpSaveSettings.startNumber;
    }
    switch (m_mode)
    {
    case SAVEBMP_SERIES:
        CombinePath(m_sourceDirectory, seriesFolder, folder, -1);
        SetDlgItemText(IDC_SAVEBMP_FOLDER, folder);
        if (sameName)
            path = SameNamePath(folder);
        else
        {
            path = MakeSeriesBmpPath(folder, prefix, number);
            if (path.IsEmpty())
            {
                Refuse(BMP_SAVE_SERIES_FULL);
                return CString();
            }
        }
        break;
    case SAVEBMP_FIXED_PATH:
        path = m_fixedPath;
        break;
    default: {
        CString typedFolder;
        GetDlgItemText(IDC_SAVEBMP_FOLDER, typedFolder);
        CombinePath(m_sourceDirectory, typedFolder, folder, -1);
        {
            CHandleLock lock(g_DataMutex);
            g_BmpSaveSettings.lastFolder = typedFolder;
        }
        if (IsDlgButtonChecked(IDC_SAVEBMP_SAME_NAME) == BST_CHECKED)
            path = SameNamePath(folder);
        else
            GetDlgItemText(IDC_SAVEBMP_PATH, path);
        break;
    }
    }
    // A relative name is taken against the source directory here, not against
    // whatever the process's current directory is when the writer runs.
    if (!path.IsEmpty())
    {
        CString full;
        CombinePath(m_sourceDirectory, path, full, -1);
        path = full;
    }
    SetDlgItemText(IDC_SAVEBMP_PATH, path);
    if (path.IsEmpty())
        Refuse(BMP_SAVE_CANNOT_CREATE);
    return path;
}

void CSaveBmpDlg::Refuse(int result)
{
    m_result = result;
    Tell(this, BmpSaveMessage(result));
    EndDialog(IDCANCEL);
}

void CSaveBmpDlg::OnOK()
{
    if (m_writer != nullptr)
        return;
    if (CWnd* button = GetDlgItem(IDOK))
        button->EnableWindow(FALSE);
    m_targetPath = BuildPath();
    if (m_targetPath.IsEmpty())
        return;
    // Checked before any file is touched, so that a picture that cannot be saved
    // leaves a file of the same name as it was.
    BmpFileLayout layout;
    int laid = m_picture != nullptr ? LayOutBmpFile(*m_picture, layout) : BMP_SAVE_BAD_DATA;
    if (laid == BMP_SAVE_OK && layout.bitsBytes > 0x7FFFFFFF)
        laid = BMP_SAVE_BAD_DATA; // the writer counts its bytes in an int
    if (laid != BMP_SAVE_OK)
    {
        Refuse(laid);
        return;
    }
    // The writer unlocks the block it was given when it ends; a lock of the dialog's
    // own is what it takes back, so the picture keeps its pixels locked as before.
    HLOCAL bitsBlock = LocalHandle(layout.bits);
    if (bitsBlock == nullptr || LocalLock(bitsBlock) == nullptr)
    {
        Refuse(BMP_SAVE_NO_MEMORY);
        return;
    }
    HANDLE file = CreateBmpScratchFile(m_targetPath, m_scratchPath);
    int result = file != INVALID_HANDLE_VALUE ? WriteBmpHead(file, layout) : BMP_SAVE_CANNOT_CREATE;
    if (result == BMP_SAVE_OK)
    {
        m_writer = new CWriteThread;
        m_writer->m_bAutoDelete = FALSE;
        m_writer->blockData = layout.bits;
        m_writer->fileHandle = file;
        m_writer->blockSize = int(layout.bitsBytes);
        m_writer->ownerWindow = this;
        m_writer->percentCallback = OnWriterPercent;
        m_writer->writePiece = g_BmpSaveHooks.writeFile;
        m_bitsBytes = layout.bitsBytes;
        if (m_writer->CreateThread())
            return;
        delete m_writer;
        m_writer = nullptr;
        result = BMP_SAVE_NO_MEMORY;
    }
    LocalUnlock(bitsBlock);
    if (file != INVALID_HANDLE_VALUE)
    {
        CloseHandle(file);
        DeleteFileLong(m_scratchPath);
    }
    m_scratchPath.Empty();
    Refuse(result);
}

void CSaveBmpDlg::OnWriterPercent(int percent, int total, CWnd* owner)
{
    const int shown = total != 0 ? percent * 100 / total : 100;
    ::PostMessageW(owner->GetSafeHwnd(), kPercentMessage, WPARAM(shown), 0);
}

bool CSaveBmpDlg::StopThread(DWORD* exitCode)
{
    if (m_writer == nullptr)
        return false;
    m_writer->cancelFlag = 1;
    WaitForSingleObject(m_writer->m_hThread, INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeThread(m_writer->m_hThread, &code);
    // A stop ends the writer with 0 as a finished block does; only its count tells
    // whether the stop came after the last piece.
    const bool complete = code == 0 && DWORD(m_writer->bytesDone) >= m_bitsBytes;
    if (m_writer->fileHandle != INVALID_HANDLE_VALUE)
        CloseHandle(m_writer->fileHandle);
    delete m_writer;
    m_writer = nullptr;
    if (exitCode != nullptr)
        *exitCode = code;
    return complete;
}

void CSaveBmpDlg::EndWrite()
{
    DWORD code = 0;
    const bool complete = StopThread(&code);
    if (m_scratchPath.IsEmpty())
        return;
    m_result = EndBmpScratchFile(m_scratchPath, m_targetPath, complete);
    if (!complete && code != 0)
        m_result = BMP_SAVE_WRITE_FAILED;
    m_scratchPath.Empty();
}

void CSaveBmpDlg::EndSaved()
{
    // The series moves on, so that the next save does not overwrite this file.
    if (m_mode == SAVEBMP_SERIES)
    {
        CHandleLock lock(g_DataMutex);
        if (!g_BmpSaveSettings.sameName && g_BmpSaveSettings.startNumber < 10000)
            ++g_BmpSaveSettings.startNumber;
    }
    EndDialog(IDOK);
}

void CSaveBmpDlg::OnCancel()
{
    if (m_writer != nullptr)
    {
        EndWrite();
        // The writer had already finished: the file is there, and the series must
        // move past it like after any other save.
        if (m_result == BMP_SAVE_OK)
        {
            EndSaved();
            return;
        }
    }
    EndDialog(IDCANCEL);
}
