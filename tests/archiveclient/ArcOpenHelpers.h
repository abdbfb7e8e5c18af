// Shared by the archive-opening tests: the real library's registry, the fixture
// archives the build made with the host's archivers, and a chain opened on one of them.
#pragma once
#include "archiveclient/codecs/Codecs.h"
#include "archiveclient/ops/ArchiveChain.h"
#include "tests/common/TestSupport.h"
#include <string>
#include <vector>

namespace arctest
{

// The registry of 7z.dll beside the test program, released at the end of the test.
class CRealCodecs
{
public:
    CRealCodecs()
    {
        m_codecs = new CCodecs();
        m_codecs->AddRef();
        m_codecs->LibraryPath = (qvtest::ProgramDir() + L"\\7z.dll").c_str();
        m_codecs->LoadMainLibrary();
    }
    ~CRealCodecs() { m_codecs->Release(); }
    CRealCodecs(const CRealCodecs&) = delete;
    CRealCodecs& operator=(const CRealCodecs&) = delete;
    CCodecs* operator->() const { return m_codecs; }
    CCodecs& operator*() const { return *m_codecs; }
    int32_t Index(const wchar_t* name) const { return m_codecs->FormatIndexFromTypeName(name); }

private:
    CCodecs* m_codecs;
};

inline std::wstring Fixture(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\arcfixtures\\" + name;
}

inline std::wstring FormatName(const CCodecs& codecs, int32_t index)
{
    return index < 0 ? L"" : std::wstring(codecs.Formats.At(static_cast<uint32_t>(index)).Name.Chars());
}

// The item paths of the innermost level, in the archive's order.
inline std::vector<std::wstring> ItemPaths(const CArchiveChain& chain)
{
    std::vector<std::wstring> paths;
    const CArchiveLevel& level = chain.Innermost();
    UINT32 count = 0;
    level.handler->GetNumberOfItems(&count);
    for (UINT32 i = 0; i < count; i++)
    {
        UString path;
        if (level.GetItemPath(i, path) == S_OK)
            paths.push_back(path.Chars());
    }
    return paths;
}

} // namespace arctest
