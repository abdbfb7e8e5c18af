// Creating and preparing an archive handler for one format, the handler properties
// an open may carry, the open-error record of one archive level, and the item
// property readers of the archive operations.
#pragma once
#include "archiveclient/codecs/Codecs.h"

// One name=value option for a handler, as the user would type it.
struct CHandlerProperty
{
    UString Name;
    UString Value;
};

// Which acceptances apply to an archive found other than cleanly at the start.
struct CAcceptFlags
{
    bool atStart = false;  // begins at 0, other data follow it
    bool asTail = false;   // begins after 0 and reaches the end
    bool inMiddle = false; // begins after 0, other data follow it
};

// One requested archive type; the default asks for any format.
struct CArchiveTypeChoice
{
    int32_t formatIndex = -1;
    CAcceptFlags forced = {true, true, true};
    CAcceptFlags byExtension = {true, false, false};
    CAcceptFlags wrongExtension = {false, false, false};
    CAcceptFlags unknownExtension = {true, true, true};
    bool recursive = true;
    bool allowArchive = true;
    bool allowEmbeddedList = false;
    bool everyPosition = false;
    bool zeroTailAllowed = false;
    bool maxStartOffsetSet = false;
    uint64_t maxStartOffset = 0;
};

class COpenCallbackImp;

// What one open needs. The caller keeps the registry, the lists and the callback
// object alive for the open; the streams and the callback interface are counted here.
struct CArchiveOpenRequest
{
    CCodecs* Codecs = nullptr;
    const COwnedPtrVector<CHandlerProperty>* HandlerProperties = nullptr; // null: none
    CArchiveTypeChoice typeChoice;
    const CValueVector<CArchiveTypeChoice>* typeList = nullptr; // null or empty: any format
    const CValueVector<int32_t>* excludedFormats = nullptr;     // sorted; null: none
    CInterfaceRef<IInStream> stream;                            // null: open filePath
    CInterfaceRef<ISequentialInStream> sequentialStream;        // only without a stream
    CInterfaceRef<IArchiveOpenCallback> callback;
    COpenCallbackImp* callbackImpl = nullptr;
    bool fromStandardInput = false;
    UString filePath;
};

// The open-error record of one archive level.
struct CArchiveErrorInfo
{
    bool thereIsTail = false;
    bool unexpectedEnd = false;
    bool ignoreTail = false;
    bool errorFlagsSet = false;
    uint32_t errorFlags = 0;
    uint32_t warningFlags = 0;
    int32_t errorFormatIndex = -1;
    uint64_t tailSize = 0;
    UString errorText;
    UString warningText;

    // The format index is kept.
    void Clear();
};

// S_OK at once for an empty list or a handler that takes no properties. An empty value
// turns a trailing '-' or '+' of the name into false or true; a decimal value becomes a
// number (32 bits up to 0xFFFFFFFF), any other value text.
HRESULT ApplyHandlerProperties(IUnknown* handler, const COwnedPtrVector<CHandlerProperty>& properties);

// S_OK without a handler when the library made none.
HRESULT CreateArchiveHandler(const CArchiveOpenRequest& request, uint32_t formatIndex,
                             CInterfaceRef<IInArchive>& handler);

// VT_BOOL gives the value, VT_EMPTY false, any other type E_FAIL.
HRESULT ReadItemBoolProperty(IInArchive* archive, uint32_t itemIndex, PROPID propId, bool& value);
HRESULT ReadItemIsDir(IInArchive* archive, uint32_t itemIndex, bool& value);
HRESULT ReadItemIsAltStream(IInArchive* archive, uint32_t itemIndex, bool& value);
HRESULT ReadItemIsDeleted(IInArchive* archive, uint32_t itemIndex, bool& value);

// What a checked property read throws, as an integer, on a type it does not take.
const int kUnexpectedPropTypeError = 151199;
