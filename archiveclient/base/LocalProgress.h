// The ratio and progress report of one item's coder or copy step, turned into the
// operation's totals: local sizes plus bases go to the operation's ratio display, and
// the main size plus an offset to its completed amount.
#pragma once
#include "archiveclient/base/RefCounting.h"

class CLocalProgress : public CRefCounted<ICompressProgressInfo>
{
public:
    // Holds progress and, when it offers one, its ratio interface. With inputIsMain the
    // completed amount follows the in size, else the out size.
    void Attach(IProgress* progress, bool inputIsMain);

    HRESULT STDMETHODCALLTYPE ReportSizes(const UINT64* inSize, const UINT64* outSize) override;
    // Reports the bases alone.
    HRESULT ReportCurrent() { return ReportSizes(nullptr, nullptr); }

    // Set by the owner between items.
    UINT64 ProgressOffset = 0;
    UINT64 InBase = 0;
    UINT64 OutBase = 0;
    bool SendRatio = true;
    bool SendProgress = true;

private:
    CInterfaceRef<IProgress> m_progress;
    CInterfaceRef<ICompressProgressInfo> m_ratio;
    bool m_inputIsMain = false;
};
