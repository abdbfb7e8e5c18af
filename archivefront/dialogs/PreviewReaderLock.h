// The thumbnail loader sits above the archive front end, so the dialogs that read or
// change files (pack, unpack, copy, delete, rename, attributes, times, audio tags)
// reach its reader lock through two functions the program installs at start-up.
// While no functions are installed the dialogs take no lock.
#pragma once

struct CPreviewReaderLockHooks
{
    void (*acquire)() = nullptr; // waits until the loader is between items, then counts a reader
    void (*release)() = nullptr; // counts the reader off
};

extern CPreviewReaderLockHooks g_PreviewReaderLockHooks;

// Holds one reader of the loader for its own lifetime.
class CPreviewReaderHold
{
public:
    CPreviewReaderHold();
    ~CPreviewReaderHold();
    CPreviewReaderHold(const CPreviewReaderHold&) = delete;
    CPreviewReaderHold& operator=(const CPreviewReaderHold&) = delete;

private:
    // The release that matches the acquire, even when the hooks change meanwhile.
    void (*m_release)() = nullptr;
};
