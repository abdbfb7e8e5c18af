#include "filer/PaneArchive.h"

int IPaneArchive::OpenAndList(LPCWSTR /*path*/, int /*preference*/)
{
    GetErrors().Clear();
    GetErrors().Add(ARCERR_NO_DLL_OR_PLUGIN, 0);
    return 0;
}

void IPaneArchive::SplitArchivePath(CString* folder, CString* name)
{
    CString path;
    GetArchivePath(path);
    int slash = path.ReverseFind(L'\\');
    if (folder)
        *folder = slash < 0 ? CString() : path.Left(slash);
    if (name)
        *name = slash < 0 ? path : path.Mid(slash + 1);
}

int IPaneArchive::GetEntry(CArchiveFileInfo** out, int /*index*/)
{
    if (out)
        *out = nullptr;
    return 0;
}

namespace
{
// Until the program installs the archive front, a pane must still be able to enter
// the archive listing mode (and tests must run without the program): this object has
// no archive open and lists nothing.
class CEmptyPaneArchive : public IPaneArchive
{
public:
    int ListDirectory(CArrayFileInfo&, LPCWSTR, LPCWSTR, BOOL, const FindCondition*) override { return 0; }
    const CString& GetCurrentFolder() const override { return m_currentFolder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_currentFolder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }

private:
    CString m_currentFolder;
    CErrorIF m_errors;
};

IPaneArchive* CreateEmptyPaneArchive()
{
    return new CEmptyPaneArchive;
}
} // namespace

PaneArchiveHooks g_PaneArchiveHooks = {nullptr};

IPaneArchive* CreatePaneArchive()
{
    return g_PaneArchiveHooks.create != nullptr ? g_PaneArchiveHooks.create() : CreateEmptyPaneArchive();
}
