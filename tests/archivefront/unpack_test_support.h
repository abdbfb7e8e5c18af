// Shared by the archive front's tests: a scratch folder with the stand-in archiver
// libraries on the search path while a test wants them, their call log, and the
// archive front fixtures.
#pragma once
#include <windows.h>
#include "util/PathHelpers.h"
#include "app/settings/ArchiverSettings.h"
#include "tests/common/TestHelpers.h"

#include <string>

namespace unpacktest
{

// The system code page's form, as the stand-ins log their command lines.
inline std::string Narrow(const std::wstring& text)
{
    CStringA out;
    WideToAnsiString(text.c_str(), out);
    return std::string(out.GetString());
}

inline std::wstring Fixture(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\archivefrontfixtures\\" + name;
}

inline std::wstring SevenZipFixture(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\frontfixtures\\" + name;
}

class StubFolderTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_savedBridge = g_UnbypassDllPath;
        g_UnbypassDllPath.Empty();
        ClearStubs();
    }
    void TearDown() override
    {
        SetDllDirectoryW(nullptr);
        ClearStubs();
        g_UnbypassDllPath = m_savedBridge;
    }
    static void ClearStubs()
    {
        for (const wchar_t* name : {L"QV_ARCSTUB_LOG", L"QV_ARCSTUB_ACCEPT", L"QV_ARCSTUB_MEMBERS",
                                    L"QV_ARCSTUB_RESULT", L"QV_ARCSTUB_CONTENT", L"QV_ARCSTUB_VERSION"})
            SetEnvironmentVariableW(name, nullptr);
    }
    // The stand-in libraries become loadable, take archives of the named prefixes
    // ("Unlha,Unarj") and list the members ("a.txt|dir/b.txt").
    void UseStubs(const wchar_t* accept, const wchar_t* members)
    {
        m_log = P(L"calls.log");
        SetEnvironmentVariableW(L"QV_ARCSTUB_LOG", m_log.c_str());
        SetEnvironmentVariableW(L"QV_ARCSTUB_ACCEPT", accept);
        SetEnvironmentVariableW(L"QV_ARCSTUB_MEMBERS", members);
        SetDllDirectoryW((qvtest::ProgramDir() + L"\\archiver-stub").c_str());
    }
    std::string Log() const { return qvtest::ReadFileBytes(m_log); }
    // A file that stands for an archive: the stand-ins never read it.
    std::wstring FakeArchive(const wchar_t* name)
    {
        std::wstring path = P(name);
        EXPECT_TRUE(qvtest::WriteFileBytes(path, "archive"));
        return path;
    }
    static bool IsDirectory(const std::wstring& path)
    {
        DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::wstring m_log;
    CString m_savedBridge;
};

} // namespace unpacktest
