#include "archiveclient/base/LocalProgress.h"

void CLocalProgress::Attach(IProgress* progress, bool inputIsMain)
{
    m_ratio.Release();
    m_progress = progress;
    if (progress != nullptr)
        m_ratio.QueryFrom(progress);
    m_inputIsMain = inputIsMain;
}

HRESULT STDMETHODCALLTYPE CLocalProgress::ReportSizes(const UINT64* inSize, const UINT64* outSize)
{
    UINT64 in = InBase + (inSize != nullptr ? *inSize : 0);
    UINT64 out = OutBase + (outSize != nullptr ? *outSize : 0);
    if (SendRatio && !m_ratio.IsNull())
    {
        HRESULT result = m_ratio->ReportSizes(&in, &out);
        if (result != S_OK)
            return result;
    }
    if (!SendProgress || m_progress.IsNull())
        return S_OK;
    in += ProgressOffset;
    out += ProgressOffset;
    return m_progress->SetCompleted(m_inputIsMain ? &in : &out);
}
