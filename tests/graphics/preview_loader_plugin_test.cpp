// The thumbnail loader reading through the image plug-ins: the stand-in BMP plug-in
// reads pictures, a shortcut's target, a folder's first picture and an archive's
// first picture member (a zip made with the archive library itself).
#include "util/Globals.h"
#include "app/ProgressInfo.h"
#include "app/Settings.h"
#include "app/settings/GraphicSettings.h"
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "framework/FwLock.h"
#include "graphics/picture/PictureData.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "graphics/plugins/SusiePlugInHost.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "graphics/preview/PreviewPlugInDecode.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <objbase.h>
#include <shlobj.h>
#include <string>

namespace
{
bool MakeShortcut(const std::wstring& link, const std::wstring& target)
{
    HRESULT init = CoInitialize(nullptr);
    bool ok = false;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))))
    {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->SetPath(target.c_str())) &&
            SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        {
            ok = SUCCEEDED(file->Save(link.c_str(), TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}

WIN32_FIND_DATAW Find(const std::wstring& path)
{
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    EXPECT_NE(INVALID_HANDLE_VALUE, find) << qvtest::W(path.c_str());
    FindClose(find);
    return data;
}

COLORREF TopLeft(const CPreviewInfo& item)
{
    const Thumbnail& t = item.thumbnail;
    const BYTE* p = t.bits + SIZE_T(t.header.biHeight - 1) * t.header.biWidth * 4;
    return RGB(p[2], p[1], p[0]);
}

CSusieDllFile BmpPlugIn()
{
    CSusieDllFile record;
    memcpy(record.m_apiVersion, "00IN", 4);
    record.m_fileName = L"spi_bmp.sph";
    record.m_patterns.Add(L"*.bmp");
    record.m_enabled = 1;
    return record;
}

class PreviewLoaderPlugInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        {
            CHandleLock lock(g_DataMutex);
            m_saved.Copy(g_SusiePlugIns);
            m_savedDir = g_SusiePlugInDir;
            g_SusiePlugIns.RemoveAll();
            g_SusiePlugIns.Add(BmpPlugIn());
            g_SusiePlugInDir = qvtest::ProgramDir().c_str();
        }
        m_dir = qvtest::ScratchDir() + L"\\preview_plugins";
        CreateDirectoryW(m_dir.c_str(), nullptr);
    }
    void TearDown() override
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns.Copy(m_saved);
        g_SusiePlugInDir = m_savedDir;
    }
    std::wstring P(const std::wstring& name) const { return m_dir + L"\\" + name; }

    // Runs the loader's steps on this thread until nothing is queued.
    static void LoadAll(CLoadPreviewThread& loader)
    {
        for (int i = 0; i < 50 && loader.LoadNextPreview() == 2; ++i)
        {
        }
    }

    CArray<CSusieDllFile> m_saved;
    CString m_savedDir;
    qvtest::ScopedProgramWiring m_wiring;
    std::wstring m_dir;
};
} // namespace

TEST_F(PreviewLoaderPlugInTest, PicturesShortcutsFoldersAndArchivesGetTheirFirstPicture)
{
    // A kind only the plug-in reads: the loader reads its own BMP files without one.
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns[0].m_patterns.Add(L"*.pic");
    }
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"red.bmp"), qvtest::SolidBmp(40, 10, 0, 0, 255)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"green.pic"), qvtest::SolidBmp(8, 8, 0, 255, 0)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"broken.bmp"), "BM but nothing more"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"notes.txt"), "no picture"));
    CreateDirectoryW(P(L"target").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"target\\blue.bmp"), qvtest::SolidBmp(8, 8, 255, 0, 0)));
    ASSERT_TRUE(MakeShortcut(P(L"blue.lnk"), P(L"target\\blue.bmp")));
    CreateDirectoryW(P(L"folder").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"folder\\b.bmp"), qvtest::SolidBmp(8, 8, 255, 0, 0)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"folder\\a.txt"), "text first by name"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"folder\\c.bmp"), qvtest::SolidBmp(8, 8, 0, 255, 0)));

    // The archive: a sub-folder's picture and a text come before the root's pictures
    // in the listing the library makes; the loader takes the first root picture by
    // name, never a folder's, and reads no member the plug-in cannot take.
    CreateDirectoryW(P(L"pack").c_str(), nullptr);
    CreateDirectoryW(P(L"pack\\sub").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"pack\\sub\\a.bmp"), qvtest::SolidBmp(8, 8, 0, 0, 255)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"pack\\a.txt"), "BM not a picture"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"pack\\y.bmp"), qvtest::SolidBmp(8, 8, 0, 0, 255)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"pack\\x.bmp"), qvtest::SolidBmp(8, 8, 0, 255, 255)));
    {
        CSevenZipArchive packer;
        packer.SetOption(0, P(L"pack").c_str());
        packer.SetOption(1, P(L"pictures.zip").c_str());
        for (const wchar_t* name : {L"sub", L"a.txt", L"y.bmp", L"x.bmp"})
            packer.SetOption(13, name);
        CProgressInfo progress;
        ASSERT_EQ(1, packer.RunCreate(nullptr, &progress)) << qvtest::W(packer.m_errors.GetMessageText());
    }

    CLoadPreviewThread loader;
    loader.AcquireReaderLock();
    for (const wchar_t* name :
         {L"red.bmp", L"green.pic", L"broken.bmp", L"notes.txt", L"blue.lnk", L"folder", L"pictures.zip"})
        loader.QueueEntry(1, m_dir.c_str(), Find(P(name)), L"");
    loader.EndQueueing();
    loader.ReleaseReaderLock();
    LoadAll(loader);

    struct Expect
    {
        const wchar_t* name;
        int state;
        int kind;
        COLORREF colour;
    };
    const Expect expects[] = {
        {L"red.bmp", PREVIEW_READY, 0, RGB(255, 0, 0)},
        {L"green.pic", PREVIEW_READY, 0, RGB(0, 255, 0)},
        {L"broken.bmp", PREVIEW_NONE, 0, 0},
        {L"notes.txt", PREVIEW_NONE, 0, 0},
        {L"blue.lnk", PREVIEW_READY, 0, RGB(0, 0, 255)},
        {L"folder", PREVIEW_READY, 2, RGB(0, 0, 255)},
        {L"pictures.zip", PREVIEW_READY, 1, RGB(255, 255, 0)},
    };
    loader.AcquireReaderLock();
    for (const Expect& e : expects)
    {
        CPreviewInfo* item = loader.GetQueue().Find(m_dir.c_str(), e.name);
        ASSERT_NE(nullptr, item) << qvtest::W(e.name);
        EXPECT_EQ(e.state, item->state) << qvtest::W(e.name);
        EXPECT_EQ(e.kind, item->kind) << qvtest::W(e.name);
        if (e.state == PREVIEW_READY && item->thumbnail.bits != nullptr)
            EXPECT_EQ(e.colour, TopLeft(*item)) << qvtest::W(e.name);
    }
    loader.ReleaseReaderLock();
}

TEST_F(PreviewLoaderPlugInTest, ThePlugInChoiceGoesByNameAndTheFileDecides)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"one.bmp"), qvtest::SolidBmp(3, 2, 1, 2, 3)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"other.txt"), qvtest::SolidBmp(3, 2, 1, 2, 3)));
    struct Case
    {
        const wchar_t* name;
        int result;
    };
    for (const Case& c : {Case{L"one.bmp", 1}, Case{L"other.txt", -1}, Case{L"missing.bmp", -1}})
    {
        CPictureData picture;
        EXPECT_EQ(c.result, DecodePreviewFile(P(c.name).c_str(), picture)) << qvtest::W(c.name);
        if (c.result == 1)
            EXPECT_EQ(3, picture.GetWidth());
    }
    EXPECT_EQ(1, PreviewPlugInTakesName(L"X.BMP"));
    EXPECT_EQ(0, PreviewPlugInTakesName(L"x.avi"));
    const std::string bytes = qvtest::SolidBmp(5, 4, 0, 0, 0);
    CPictureData picture;
    ASSERT_EQ(1, DecodePreviewMemory(L"in.bmp", bytes.data(), bytes.size(), picture));
    EXPECT_EQ(4, picture.GetHeight());
}

TEST_F(PreviewLoaderPlugInTest, APlugInThatFaultsWhileAskedAboutAFileRefusesItAndTheNextOneIsAsked)
{
    {
        CHandleLock lock(g_DataMutex);
        CSusieDllFile faulting = BmpPlugIn();
        faulting.m_fileName = L"spi_probefault.sph";
        faulting.m_patterns[0] = L"*.*";
        g_SusiePlugIns.InsertAt(0, faulting);
    }
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"fault.bmp"), qvtest::SolidBmp(8, 8, 0, 0, 255)));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"fault.pic"), qvtest::SolidBmp(8, 8, 0, 0, 255)));

    CLoadPreviewThread loader;
    loader.AcquireReaderLock();
    for (const wchar_t* name : {L"fault.bmp", L"fault.pic"})
        loader.QueueEntry(1, m_dir.c_str(), Find(P(name)), L"");
    loader.EndQueueing();
    loader.ReleaseReaderLock();
    LoadAll(loader);

    struct Expect
    {
        const wchar_t* name;
        int state;
    };
    loader.AcquireReaderLock();
    for (const Expect& e : {Expect{L"fault.bmp", PREVIEW_READY}, Expect{L"fault.pic", PREVIEW_NONE}})
    {
        CPreviewInfo* item = loader.GetQueue().Find(m_dir.c_str(), e.name);
        ASSERT_NE(nullptr, item) << qvtest::W(e.name);
        EXPECT_EQ(e.state, item->state) << qvtest::W(e.name);
    }
    loader.ReleaseReaderLock();

    // Bytes already in memory are asked the same way.
    const std::string bytes = qvtest::SolidBmp(5, 4, 0, 0, 0);
    const BYTE* first = reinterpret_cast<const BYTE*>(bytes.data());
    CSusiePlugInHost host;
    host.DisableReaderLock();
    EXPECT_EQ(1, host.LoadPlugInForBuffer(L"in.bmp", first, DWORD(bytes.size()), SUSIE_KIND_IMAGE, 0));
    EXPECT_EQ(-1, host.LoadPlugInForBuffer(L"in.pic", first, DWORD(bytes.size()), SUSIE_KIND_IMAGE, 0));
}

TEST_F(PreviewLoaderPlugInTest, AnArchivesPictureWhoseNameAnotherMemberSharesCaseAsideIsReadAsItself)
{
    // The first of the two is no picture: the loader goes on to the second, which
    // must be read as itself and not as the first of its name.
    sztest::WriteStoredZip(P(L"twins.zip"), {{"Pic.bmp", "BM but nothing more"},
                                             {"pic.bmp", qvtest::SolidBmp(8, 8, 0, 255, 0)}});
    CLoadPreviewThread loader;
    loader.AcquireReaderLock();
    loader.QueueEntry(1, m_dir.c_str(), Find(P(L"twins.zip")), L"");
    loader.EndQueueing();
    loader.ReleaseReaderLock();
    LoadAll(loader);
    loader.AcquireReaderLock();
    CPreviewInfo* item = loader.GetQueue().Find(m_dir.c_str(), L"twins.zip");
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(PREVIEW_READY, item->state);
    EXPECT_EQ(1, item->kind);
    ASSERT_NE(nullptr, item->thumbnail.bits);
    EXPECT_EQ(RGB(0, 255, 0), TopLeft(*item));
    loader.ReleaseReaderLock();
}
