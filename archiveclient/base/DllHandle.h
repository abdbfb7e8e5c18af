// The holder of one loaded library, and the program's own directory.
#pragma once
#include "fs/ArcString.h"

class CDllHandle
{
public:
    CDllHandle() = default;
    CDllHandle(const CDllHandle&) = delete;
    CDllHandle& operator=(const CDllHandle&) = delete;
    ~CDllHandle() { Free(); }

    HMODULE Handle() const { return m_module; }
    // When the system refuses to free the module, false and the handle is kept.
    bool Free();
    bool Load(const wchar_t* path);
    bool LoadEx(const wchar_t* path, DWORD flags);

private:
    HMODULE m_module = nullptr;
};

bool GetModuleFilePath(UString& out);
// The program's directory with its trailing separator; ".\" when it cannot be read.
UString GetModuleDirectory();
