// Which archive format a stream holds: by the file extension, by the signatures at the
// start, by each format's own test, and by a signature scan that also finds archives
// behind a stub or inside other data.
#pragma once
#include "archiveclient/ops/ArchiveChain.h"
#include <vector>

// 0 the level holds an opened handler; 1 no format accepted the stream; E_NOTIMPL a
// forward-only stream that no single format matched; other failures as they come.
HRESULT OpenArchiveLevel(CArchiveLevel& level, CArchiveOpenRequest& request);

// The order the formats are tried in, as OpenArchiveLevel builds it before any handler
// is opened (the stream is read for the head and left at 0).
struct CCandidateOrder
{
    std::vector<int32_t> order;
    uint32_t extensionMatches = 0;
    bool isForced = false;
    bool unknownExtension = false;
    std::vector<bool> matchedByExtension; // per format index
};
HRESULT BuildCandidateOrder(const CArchiveLevel& level, const CArchiveOpenRequest& request,
                            CCandidateOrder& out);

HRESULT OpenHandlerForSize(IInArchive* handler, bool needSize, IInStream* stream, const UINT64* searchLimit,
                           IArchiveOpenCallback* openCallback, IArchiveExtractCallback* extractCallback);
void OrderBySignatureMatch(const CCodecs& codecs, std::vector<int32_t>& order, uint32_t count,
                           std::vector<int32_t>& outOrder, const BYTE* data, size_t size);
int FindFormatByNameInOrder(const CCodecs& codecs, const std::vector<int32_t>& order, const wchar_t* name);
bool IsExeExtension(const UString& extension);
