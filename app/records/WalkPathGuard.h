// The directories on the current path of a recursive walk, by file identity, so that
// a link that leads back to one of them cannot make the walk recurse until its stack
// overflows: a link seen by name alone looks like any other folder.
#pragma once
#include <windows.h>
#include <vector>

class CWalkPathGuard
{
public:
    // Enters the directory at the real path: FALSE (and nothing entered) when the
    // same directory is already on the walk path. A directory whose identity cannot
    // be read (an archive folder, a share without file ids) is entered.
    BOOL Enter(LPCWSTR realPath);
    // Leaves the directory entered last.
    void Leave();

private:
    struct Identity
    {
        DWORD volume;
        DWORD indexHigh;
        DWORD indexLow;
        BOOL known;
    };
    std::vector<Identity> m_path;
};

// Enters on construction and leaves on destruction; `entered` says whether to walk.
class CWalkPathStep
{
public:
    CWalkPathStep(CWalkPathGuard& guard, LPCWSTR realPath) : m_guard(guard), entered(guard.Enter(realPath)) {}
    ~CWalkPathStep()
    {
        if (entered)
            m_guard.Leave();
    }
    CWalkPathStep(const CWalkPathStep&) = delete;
    CWalkPathStep& operator=(const CWalkPathStep&) = delete;

private:
    CWalkPathGuard& m_guard;

public:
    const BOOL entered;
};
