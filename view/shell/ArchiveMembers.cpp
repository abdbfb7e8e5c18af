// Archive members handed to other programs: extracted to the temporary folder first.
#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "archivefront/dialogs/UnpackDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

int CQvView::ExtractCursorMemberToTemp()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0))
        return 0;
    CString folder = m_tempDirectory;
    if (folder.IsEmpty())
    {
        wchar_t buffer[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, buffer);
        folder = buffer;
    }
    while (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    CUnpackDlg dialog(DialogOwner(this));
    dialog.m_sourceMode = UNPACK_FROM_ARCHIVE;
    dialog.m_sourcePane = index;
    dialog.m_toTemp = 1;
    dialog.m_baseFolder = folder;
    dialog.m_destination = folder;
    if (dialog.DoModal() != UNPACK_DONE || dialog.m_extractedFile.IsEmpty())
        return 0;
    SplitPath(dialog.m_extractedFile, &m_shell.extractedFolder, &m_shell.extractedName);
    // The copy belongs to the program only while it runs: it goes at tear-down.
    m_tempFiles.Add(dialog.m_extractedFile);
    return 1;
}
