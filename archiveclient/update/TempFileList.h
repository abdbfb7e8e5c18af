// The output files an update has created so far. A failed or cancelled job must leave
// nothing behind: whatever is still listed when the list ends is deleted, newest first.
// The driver empties the list without deleting once the new archive is complete.
#pragma once
#include "fs/ArcString.h"
#include "fs/FileSystem.h"
#include "fs/Vectors.h"

class CTempFileList
{
public:
    CTempFileList() = default;
    CTempFileList(const CTempFileList&) = delete;
    CTempFileList& operator=(const CTempFileList&) = delete;
    ~CTempFileList() { DeleteAll(); }

    void Add(const UString& path) { m_paths.AddCopy(path); }
    uint32_t Count() const { return m_paths.Count(); }
    const UString& At(uint32_t i) const { return m_paths.At(i); }
    // Forgets the last listed path without deleting it (its owner removed it already).
    void DropLast()
    {
        if (m_paths.Count() != 0)
            m_paths.DeleteBack();
    }
    void Release() { m_paths.Clear(); }
    void DeleteAll()
    {
        while (m_paths.Count() != 0)
        {
            FsDeleteFile(m_paths.Back().Chars());
            m_paths.DeleteBack();
        }
    }

private:
    COwnedPtrVector<UString> m_paths;
};
