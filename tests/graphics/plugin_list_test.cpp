// Choosing a plug-in of the list for a file, and probing a loaded one with stand-ins.
#include "app/settings/GraphicSettings.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/SusiePictureCalls.h"
#include "graphics/plugins/SusiePlugInList.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{
CSusieDllFile Record(const char* version, const wchar_t* fileName,
                     std::initializer_list<const wchar_t*> patterns, int enabled)
{
    CSusieDllFile record;
    memcpy(record.m_apiVersion, version, 4);
    record.m_fileName = fileName;
    for (const wchar_t* pattern : patterns)
        record.m_patterns.Add(pattern);
    record.m_enabled = enabled;
    return record;
}

class PlugInListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved.Copy(g_SusiePlugIns);
        g_SusiePlugIns.RemoveAll();
    }
    void TearDown() override
    {
        g_SusiePlugIns.Copy(m_saved);
        for (HMODULE module : m_modules)
            FreeLibrary(module);
    }
    HMODULE Load(const wchar_t* name)
    {
        HMODULE module = LoadLibraryW((qvtest::ProgramDir() + L"\\spi_" + name + L".sph").c_str());
        EXPECT_NE(nullptr, module) << "missing stand-in";
        if (module)
            m_modules.push_back(module);
        return module;
    }
    static std::string CallLog(HMODULE module)
    {
        typedef int(WINAPI * LogFunc)(LPSTR, int);
        auto log = reinterpret_cast<LogFunc>(reinterpret_cast<void*>(GetProcAddress(module, "StubCallLog")));
        char buffer[64] = {};
        if (log)
            log(buffer, sizeof(buffer));
        return buffer;
    }
    std::wstring WriteProbeFile(const wchar_t* name, size_t size, size_t at, const char* signature)
    {
        std::string bytes(size, 'x');
        if (signature)
            memcpy(&bytes[at], signature, 4);
        const std::wstring path = qvtest::ScratchDir() + L"\\" + name;
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        return path;
    }

    CArray<CSusieDllFile> m_saved;
    std::vector<HMODULE> m_modules;
};
} // namespace

TEST_F(PlugInListTest, TheFirstEnabledPlugInOfAWantedKindWhosePatternMatchesIsChosen)
{
    g_SusiePlugIns.Add(Record("00IN", L"off.sph", {L"*.jpg"}, 0));
    g_SusiePlugIns.Add(Record("00AM", L"arc.sph", {L"*.jpg", L"*.lzh"}, 1));
    g_SusiePlugIns.Add(Record("00XX", L"odd.sph", {L"*.*"}, 1));
    g_SusiePlugIns.Add(Record("00IN", L"none.sph", {}, 1));
    g_SusiePlugIns.Add(Record("00IN", L"jpg.sph", {L"*.png", L"*.JPG"}, 1));
    g_SusiePlugIns.Add(Record("00IN", L"all.sph", {L"*."}, 1));
    struct Row
    {
        const wchar_t* path;
        int kinds;
        INT_PTR start;
        INT_PTR expected;
    };
    const Row rows[] = {
        {L"C:\\a.b\\photo.jpg", SUSIE_KIND_IMAGE, 0, 4},
        {L"C:\\a.b\\photo.jpg", SUSIE_KIND_ARCHIVE, 0, 1},
        {L"C:\\a.b\\photo.jpg", SUSIE_KIND_IMAGE | SUSIE_KIND_ARCHIVE, 0, 1},
        {L"C:\\a.b\\photo.jpg", SUSIE_KIND_IMAGE, 5, 5},
        {L"C:\\x\\data.lzh", SUSIE_KIND_ARCHIVE, 0, 1},
        {L"C:\\x\\data.lzh", SUSIE_KIND_ARCHIVE, 2, -1},
        {L"C:\\x\\data.gif", SUSIE_KIND_IMAGE, 0, 5},
        {L"C:\\jpg\\data", SUSIE_KIND_IMAGE, 0, 5},
        {L"C:\\x\\photo.jpg", 0, 0, -1},
    };
    for (const Row& row : rows)
    {
        CSusieDllFile found;
        const INT_PTR index = FindSusiePlugIn(row.path, row.kinds, row.start, &found);
        EXPECT_EQ(row.expected, index) << std::wstring(row.path).c_str() << " kinds " << row.kinds;
        if (index >= 0)
        {
            EXPECT_EQ(std::wstring(g_SusiePlugIns[index].m_fileName), std::wstring(found.m_fileName));
        }
    }
}

TEST_F(PlugInListTest, AFormatFoundAt128IsAcceptedWithThatOffset)
{
    HMODULE q128 = Load(L"q128");
    ASSERT_NE(nullptr, q128);
    struct Row
    {
        const wchar_t* name;
        size_t size;
        size_t at;
        const char* signature;
        int accepted;
        int offset;
    };
    const Row rows[] = {
        {L"at128.q1", 4096, 128, "Q128", 1, 128}, {L"short.q1", 140, 128, "Q128", 1, 128},
        {L"at0.q1", 300, 0, "Q128", 1, 0},        {L"elsewhere.q1", 4096, 129, "Q128", 0, -1},
        {L"empty.q1", 0, 0, nullptr, 0, -1},
    };
    for (const Row& row : rows)
    {
        const std::wstring path = WriteProbeFile(row.name, row.size, row.at, row.signature);
        int offset = -1;
        ULONGLONG size = 0;
        EXPECT_EQ(row.accepted, ProbePlugInForFile(q128, path.c_str(), &offset, &size)) << row.name;
        EXPECT_EQ(row.offset, offset) << row.name;
    }
    int offset = -1;
    EXPECT_EQ(0,
              ProbePlugInForFile(q128, (qvtest::ScratchDir() + L"\\missing.q1").c_str(), &offset, nullptr));

    const char bytes[] = "Q128";
    std::string memory(130, '\0');
    memory.replace(128, 4, bytes, 2); // cut short: the zero padding must not complete it
    EXPECT_EQ(0, ProbePlugInForBuffer(q128, L"m.q1", reinterpret_cast<const BYTE*>(memory.data()),
                                      DWORD(memory.size()), &offset));
    memory.resize(132);
    memory.replace(128, 4, bytes, 4);
    EXPECT_EQ(1, ProbePlugInForBuffer(q128, L"m.q1", reinterpret_cast<const BYTE*>(memory.data()),
                                      DWORD(memory.size()), &offset));
    EXPECT_EQ(128, offset);
}

TEST_F(PlugInListTest, TheWideFormIsAskedFirst)
{
    HMODULE wide = Load(L"wide");
    ASSERT_NE(nullptr, wide);
    int offset = -1;
    EXPECT_EQ(1, ProbePlugInForFile(wide, WriteProbeFile(L"w.wd", 100, 0, "WIDE").c_str(), &offset, nullptr));
    EXPECT_EQ("WW", CallLog(wide)); // the file handle, then the bytes
    EXPECT_EQ(1, ProbePlugInForFile(wide, WriteProbeFile(L"n.wd", 100, 0, "NARR").c_str(), &offset, nullptr));
    EXPECT_EQ("WWWWWAA", CallLog(wide));
}

TEST_F(PlugInListTest, PicturesComeThroughEitherFormAndABrokenPlugInCostsOneLoad)
{
    HMODULE q128 = Load(L"q128");
    HMODULE wide = Load(L"wide");
    ASSERT_TRUE(q128 && wide);
    const std::wstring dir = qvtest::ScratchDir();
    auto file = [&](const wchar_t* name, const char* content, size_t at) {
        std::string bytes(at, 'x');
        bytes += content;
        bytes.resize(bytes.size() + 300, 'y');
        const std::wstring path = dir + L"\\" + name;
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        return path;
    };
    struct Row
    {
        const char* name;
        HMODULE module;
        std::wstring path;
        int offset;
        int expected;
    };
    const Row rows[] = {
        {"narrow only, at 128", q128, file(L"good.q1", "Q128.", 128), 128, 0},
        {"offset not passed on", q128, file(L"good2.q1", "Q128.", 128), 0, 2},
        {"faulting plug-in", q128, file(L"fault.q1", "Q128F", 128), 128, SUSIE_FAILED},
        {"the next load after the fault", q128, file(L"again.q1", "Q128.", 128), 128, 0},
        {"blocks that do not hold the picture", q128, file(L"broken.q1", "Q128B", 128), 128, SUSIE_FAILED},
        {"wide fails, narrow reads", wide, file(L"n.wd", "NARR.", 0), 0, 0},
    };
    for (const Row& row : rows)
    {
        CPictureData picture;
        EXPECT_EQ(row.expected, SusieGetPictureFromFile(row.module, row.path.c_str(), row.offset, 0, picture))
            << row.name;
        EXPECT_EQ(row.expected == 0 ? 1 : 0, picture.IsValid()) << row.name;
        if (row.expected == 0)
        {
            EXPECT_EQ(0x33, picture.GetBits()[2]) << row.name;
        }
    }
    EXPECT_NE(std::string::npos, CallLog(wide).find("WA"));

    // No preview export at all.
    CPictureData picture;
    EXPECT_EQ(SUSIE_NO_EXPORT, SusieGetPictureFromFile(q128, rows[0].path.c_str(), 128, 1, picture));

    // From memory: the whole file as it was read.
    std::string bytes(128, 'x');
    bytes += "Q128.";
    EXPECT_EQ(0, SusieGetPictureFromMemory(q128, nullptr, bytes.data(), bytes.size(), picture));
    EXPECT_EQ(1, picture.IsValid());
}

TEST_F(PlugInListTest, APictureFileGoesToTheFirstPlugInThatAcceptsIt)
{
    const CString savedDir = g_SusiePlugInDir;
    g_SusiePlugInDir = qvtest::ProgramDir().c_str();
    g_SusiePlugIns.Add(Record("00IN", L"spi_q128.sph", {L"*.q1"}, 0));
    g_SusiePlugIns.Add(Record("00IN", L"spi_wide.sph", {L"*.q1"}, 1));
    g_SusiePlugIns.Add(Record("00IN", L"missing.sph", {L"*.q1"}, 1));
    g_SusiePlugIns.Add(Record("00IN", L"spi_q128.sph", {L"*.q1"}, 1));
    const std::wstring picture = WriteProbeFile(L"p.q1", 300, 128, "Q128");
    EXPECT_EQ(3, FindImagePlugInForFile(picture.c_str()));
    const std::wstring other = WriteProbeFile(L"p.q1", 300, 0, "none");
    EXPECT_EQ(-1, FindImagePlugInForFile(other.c_str()));
    g_SusiePlugInDir.Empty();
    EXPECT_EQ(-1, FindImagePlugInForFile(picture.c_str()));
    g_SusiePlugInDir = savedDir;
}
