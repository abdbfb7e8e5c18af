// The reference-counted interfaces through which the archive client and 7z.dll talk,
// declared by slot order exactly as the library lays out its vtables: QueryInterface,
// AddRef, Release, then the base interface's methods, then the interface's own. An
// interface struct must never get a destructor or any other extra virtual: the
// library would call the wrong slots.
//
// Every identifier has the form {23170F69-40C1-278A-0000-00yy00xx0000}; yy is the
// group (00 progress, 03 streams, 04 coders, 05 passwords, 06 archives).
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <oleauto.h>
#include <propidl.h>
#include <cstdint>

// The identifier of interface I, found at compile time.
template <class I> struct CInterfaceId;

template <> struct CInterfaceId<IUnknown>
{
    static const GUID& Get() { return IID_IUnknown; }
};

template <class I> inline const GUID& InterfaceIdOf()
{
    return CInterfaceId<I>::Get();
}

// Defines IID_<name> and makes it known to InterfaceIdOf<name>().
#define QV_ARC_INTERFACE_ID(name, yy, xx)                                                                    \
    inline constexpr GUID IID_##name = {0x23170F69, 0x40C1, 0x278A, {0, 0, 0, (yy), 0, (xx), 0, 0}};         \
    template <> struct CInterfaceId<name>                                                                    \
    {                                                                                                        \
        static const GUID& Get() { return IID_##name; }                                                      \
    }

// ---- Progress (group 00) ----

struct IProgress : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetTotal(UINT64 total) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* completed) = 0;
};
QV_ARC_INTERFACE_ID(IProgress, 0x00, 0x05);

// ---- Streams (group 03) ----

// Read returns S_OK with processed 0 at the end of the data; fewer bytes than asked
// do not mean the end. processed may be null.
struct ISequentialInStream : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) = 0;
};
QV_ARC_INTERFACE_ID(ISequentialInStream, 0x03, 0x01);

struct ISequentialOutStream : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) = 0;
};
QV_ARC_INTERFACE_ID(ISequentialOutStream, 0x03, 0x02);

// Seek origins: 0 from the start, 1 from the current position, 2 from the end.
enum ESeekOrigin : UINT32
{
    kSeekSet = 0,
    kSeekCur = 1,
    kSeekEnd = 2,
};

struct IInStream : public ISequentialInStream
{
    virtual HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) = 0;
};
QV_ARC_INTERFACE_ID(IInStream, 0x03, 0x03);

struct IOutStream : public ISequentialOutStream
{
    virtual HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* newPosition) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSize(UINT64 newSize) = 0;
};
QV_ARC_INTERFACE_ID(IOutStream, 0x03, 0x04);

struct IStreamGetSize : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryStreamSize(UINT64* size) = 0;
};
QV_ARC_INTERFACE_ID(IStreamGetSize, 0x03, 0x06);

struct IOutStreamFinish : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE OutStreamFinish() = 0;
};
QV_ARC_INTERFACE_ID(IOutStreamFinish, 0x03, 0x07);

// Every output may be null.
struct IStreamGetProps : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryFileProps(UINT64* size, FILETIME* creationTime,
                                                     FILETIME* accessTime, FILETIME* writeTime,
                                                     UINT32* attributes) = 0;
};
QV_ARC_INTERFACE_ID(IStreamGetProps, 0x03, 0x08);

// The 64-byte record the library reads through IStreamGetProps2.
struct CFileIdentityRecord
{
    UINT64 Size;
    UINT64 VolumeId;
    UINT64 FileIdLow;
    UINT64 FileIdHigh; // always 0 here
    UINT32 NumLinks;
    UINT32 Attrib;
    FILETIME CTime;
    FILETIME ATime;
    FILETIME MTime;
};
static_assert(sizeof(CFileIdentityRecord) == 64, "the library reads 64 bytes");

struct IStreamGetProps2 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryFileIdentity(CFileIdentityRecord* record) = 0;
};
QV_ARC_INTERFACE_ID(IStreamGetProps2, 0x03, 0x09);

struct IStreamGetProp : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetProperty(PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReloadProps() = 0;
};
QV_ARC_INTERFACE_ID(IStreamGetProp, 0x03, 0x0A);

struct IStreamSetRestriction : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetRestriction(UINT64 begin, UINT64 end) = 0;
};
QV_ARC_INTERFACE_ID(IStreamSetRestriction, 0x03, 0x10);

// ---- Coders (group 04) ----

// Either size may be null.
struct ICompressProgressInfo : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE ReportSizes(const UINT64* inSize, const UINT64* outSize) = 0;
};
QV_ARC_INTERFACE_ID(ICompressProgressInfo, 0x04, 0x04);

struct ICompressCoder : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Process(ISequentialInStream* inStream, ISequentialOutStream* outStream,
                                              const UINT64* inSize, const UINT64* outSize,
                                              ICompressProgressInfo* progress) = 0;
};
QV_ARC_INTERFACE_ID(ICompressCoder, 0x04, 0x05);

struct ICompressCoder2 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Code(ISequentialInStream* const* inStreams,
                                           const UINT64* const* inSizes, UINT32 numInStreams,
                                           ISequentialOutStream* const* outStreams,
                                           const UINT64* const* outSizes, UINT32 numOutStreams,
                                           ICompressProgressInfo* progress) = 0;
};
QV_ARC_INTERFACE_ID(ICompressCoder2, 0x04, 0x18);

struct ICompressSetCoderProperties : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetCoderProperties(const PROPID* propIds, const PROPVARIANT* values,
                                                         UINT32 count) = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetCoderProperties, 0x04, 0x20);

struct ICompressSetDecoderProperties2 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetDecoderProperties2(const BYTE* data, UINT32 size) = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetDecoderProperties2, 0x04, 0x22);

struct ICompressWriteCoderProperties : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE WriteCoderProperties(ISequentialOutStream* outStream) = 0;
};
QV_ARC_INTERFACE_ID(ICompressWriteCoderProperties, 0x04, 0x23);

struct ICompressGetInStreamProcessedSize : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryInputProcessed(UINT64* size) = 0;
};
QV_ARC_INTERFACE_ID(ICompressGetInStreamProcessedSize, 0x04, 0x24);

struct ICompressSetCoderMt : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetNumberOfThreads(UINT32 numThreads) = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetCoderMt, 0x04, 0x25);

struct ICompressSetFinishMode : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetFinishMode(UINT32 finishMode) = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetFinishMode, 0x04, 0x26);

struct ICompressSetInStream : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE AttachInput(ISequentialInStream* inStream) = 0;
    virtual HRESULT STDMETHODCALLTYPE DetachInput() = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetInStream, 0x04, 0x31);

struct ICompressSetOutStream : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetOutStream(ISequentialOutStream* outStream) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReleaseOutStream() = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetOutStream, 0x04, 0x32);

struct ICompressSetOutStreamSize : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetOutStreamSize(const UINT64* outSize) = 0;
};
QV_ARC_INTERFACE_ID(ICompressSetOutStreamSize, 0x04, 0x34);

struct ICompressFilter : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Init() = 0;
    virtual UINT32 STDMETHODCALLTYPE Filter(BYTE* data, UINT32 size) = 0;
};
QV_ARC_INTERFACE_ID(ICompressFilter, 0x04, 0x40);

// Implemented by the client's codec registry; the library may ask it for methods.
struct ICompressCodecsInfo : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetNumMethods(UINT32* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateDecoder(UINT32 index, const GUID* iid, void** coder) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateEncoder(UINT32 index, const GUID* iid, void** coder) = 0;
};
QV_ARC_INTERFACE_ID(ICompressCodecsInfo, 0x04, 0x60);

struct ISetCompressCodecsInfo : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetCompressCodecsInfo(ICompressCodecsInfo* info) = 0;
};
QV_ARC_INTERFACE_ID(ISetCompressCodecsInfo, 0x04, 0x61);

struct ICryptoSetPassword : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE CryptoSetPassword(const BYTE* data, UINT32 size) = 0;
};
QV_ARC_INTERFACE_ID(ICryptoSetPassword, 0x04, 0x90);

struct IHasher : public IUnknown
{
    virtual void STDMETHODCALLTYPE Init() = 0;
    virtual void STDMETHODCALLTYPE Update(const void* data, UINT32 size) = 0;
    virtual void STDMETHODCALLTYPE Final(BYTE* digest) = 0;
    virtual UINT32 STDMETHODCALLTYPE GetDigestSize() = 0;
};
QV_ARC_INTERFACE_ID(IHasher, 0x04, 0xC0);

struct IHashers : public IUnknown
{
    virtual UINT32 STDMETHODCALLTYPE GetNumHashers() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHasherProp(UINT32 index, PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateHasher(UINT32 index, IHasher** hasher) = 0;
};
QV_ARC_INTERFACE_ID(IHashers, 0x04, 0xC1);

// ---- Passwords (group 05) ----

// The BSTR must come from SysAllocString: the library frees it.
struct ICryptoGetTextPassword : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) = 0;
};
QV_ARC_INTERFACE_ID(ICryptoGetTextPassword, 0x05, 0x10);

struct ICryptoGetTextPassword2 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE CryptoGetTextPassword2(INT32* passwordIsDefined, BSTR* password) = 0;
};
QV_ARC_INTERFACE_ID(ICryptoGetTextPassword2, 0x05, 0x11);

// ---- Archives (group 06) ----

// Each call resets every option first; names are case-insensitive.
struct ISetProperties : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetProperties(const wchar_t* const* names, const PROPVARIANT* values,
                                                    UINT32 count) = 0;
};
QV_ARC_INTERFACE_ID(ISetProperties, 0x06, 0x03);

struct IArchiveKeepModeForNextOpen : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE KeepModeForNextOpen() = 0;
};
QV_ARC_INTERFACE_ID(IArchiveKeepModeForNextOpen, 0x06, 0x04);

struct IArchiveAllowTail : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE AllowTail(INT32 allowTail) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveAllowTail, 0x06, 0x05);

struct IArchiveRequestMemoryUseCallback : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE RequestMemoryUse(UINT32 flags, UINT32 indexType, UINT32 index,
                                                       const wchar_t* path, UINT64 requiredSize,
                                                       UINT64* allowedSize, UINT32* answerFlags) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveRequestMemoryUseCallback, 0x06, 0x09);

struct IArchiveOpenCallback : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetTotal(const UINT64* files, const UINT64* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* files, const UINT64* bytes) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveOpenCallback, 0x06, 0x10);

struct IArchiveExtractCallback : public IProgress
{
    virtual HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialOutStream** outStream,
                                                INT32 askMode) = 0;
    virtual HRESULT STDMETHODCALLTYPE PrepareOperation(INT32 askMode) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 opResult) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveExtractCallback, 0x06, 0x20);

struct IArchiveExtractCallbackMessage2 : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE ReportExtractResult(UINT32 indexType, UINT32 index, INT32 opResult) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveExtractCallbackMessage2, 0x06, 0x22);

// GetStream returns S_FALSE when the volume does not exist.
struct IArchiveOpenVolumeCallback : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetProperty(PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStream(const wchar_t* name, IInStream** inStream) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveOpenVolumeCallback, 0x06, 0x30);

struct IInArchiveGetStream : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialInStream** stream) = 0;
};
QV_ARC_INTERFACE_ID(IInArchiveGetStream, 0x06, 0x40);

struct IArchiveOpenSetSubArchiveName : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetSubArchiveName(const wchar_t* name) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveOpenSetSubArchiveName, 0x06, 0x50);

// Open returns S_FALSE for "not this format"; call Close before the final Release.
struct IInArchive : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Open(IInStream* stream, const UINT64* maxCheckStartPosition,
                                           IArchiveOpenCallback* openCallback) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumberOfItems(UINT32* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Extract(const UINT32* indices, UINT32 count, INT32 testMode,
                                              IArchiveExtractCallback* extractCallback) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetArchiveProperty(PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumberOfProperties(UINT32* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropertyInfo(UINT32 index, BSTR* name, PROPID* propId,
                                                      VARTYPE* varType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumberOfArchiveProperties(UINT32* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetArchivePropertyInfo(UINT32 index, BSTR* name, PROPID* propId,
                                                             VARTYPE* varType) = 0;
};
QV_ARC_INTERFACE_ID(IInArchive, 0x06, 0x60);

struct IArchiveOpenSeq : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE OpenSeq(ISequentialInStream* stream) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveOpenSeq, 0x06, 0x61);

struct IArchiveGetRawProps : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetParent(UINT32 index, UINT32* parent, UINT32* parentType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRawProp(UINT32 index, PROPID propId, const void** data, UINT32* size,
                                                 UINT32* propType) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumRawProps(UINT32* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRawPropInfo(UINT32 index, BSTR* name, PROPID* propId) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveGetRawProps, 0x06, 0x70);

struct IArchiveGetRootProps : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetRootProp(PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootRawProp(PROPID propId, const void** data, UINT32* size,
                                                     UINT32* propType) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveGetRootProps, 0x06, 0x71);

struct IArchiveUpdateCallback : public IProgress
{
    virtual HRESULT STDMETHODCALLTYPE GetUpdateItemInfo(UINT32 index, INT32* newData, INT32* newProps,
                                                        UINT32* indexInArchive) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID propId, PROPVARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialInStream** inStream) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 opResult) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveUpdateCallback, 0x06, 0x80);

struct IArchiveUpdateCallback2 : public IArchiveUpdateCallback
{
    virtual HRESULT STDMETHODCALLTYPE GetVolumeSize(UINT32 index, UINT64* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVolumeStream(UINT32 index, ISequentialOutStream** volumeStream) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveUpdateCallback2, 0x06, 0x82);

struct IArchiveUpdateCallbackFile : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetStream2(UINT32 index, ISequentialInStream** inStream,
                                                 UINT32 notifyOp) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportOperation(UINT32 indexType, UINT32 index, UINT32 notifyOp) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveUpdateCallbackFile, 0x06, 0x83);

struct IArchiveGetDiskProperty : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetDiskProperty(UINT32 index, PROPID propId, PROPVARIANT* value) = 0;
};
QV_ARC_INTERFACE_ID(IArchiveGetDiskProperty, 0x06, 0x84);

struct IOutArchive : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE UpdateItems(ISequentialOutStream* outStream, UINT32 count,
                                                  IArchiveUpdateCallback* updateCallback) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFileTimeType(UINT32* type) = 0;
};
QV_ARC_INTERFACE_ID(IOutArchive, 0x06, 0xA0);

#undef QV_ARC_INTERFACE_ID

// A plain interface the volume stream uses to hear of read errors and of the stream's
// end; neither counted nor queried.
struct IInFileStream_Callback
{
    virtual HRESULT OnReadError(UINT_PTR callbackValue, DWORD systemError) = 0;
    virtual void OnStreamDestroyed(UINT_PTR callbackValue) = 0;

protected:
    ~IInFileStream_Callback() = default;
};

// ---- The library's exports ----

typedef UINT32(WINAPI* Func_IsArc)(const BYTE* data, size_t size);
typedef HRESULT(WINAPI* Func_CreateObject)(const GUID* clsid, const GUID* iid, void** out);
typedef HRESULT(WINAPI* Func_GetNumberOfFormats)(UINT32* count);
typedef HRESULT(WINAPI* Func_GetHandlerProperty)(PROPID propId, PROPVARIANT* value);
typedef HRESULT(WINAPI* Func_GetHandlerProperty2)(UINT32 formatIndex, PROPID propId, PROPVARIANT* value);
typedef HRESULT(WINAPI* Func_GetIsArc)(UINT32 formatIndex, Func_IsArc* isArc);
typedef HRESULT(WINAPI* Func_GetNumberOfMethods)(UINT32* count);
typedef HRESULT(WINAPI* Func_GetMethodProperty)(UINT32 index, PROPID propId, PROPVARIANT* value);
typedef HRESULT(WINAPI* Func_CreateDecoder)(UINT32 methodIndex, const GUID* iid, void** out);
typedef HRESULT(WINAPI* Func_CreateEncoder)(UINT32 methodIndex, const GUID* iid, void** out);
typedef HRESULT(WINAPI* Func_GetHashers)(IHashers** hashers);
typedef HRESULT(WINAPI* Func_SetCodecs)(ICompressCodecsInfo* info);
typedef HRESULT(WINAPI* Func_SetCaseSensitive)(INT32 caseSensitive);
typedef HRESULT(WINAPI* Func_GetModuleProp)(PROPID propId, PROPVARIANT* value);

// Func_IsArc answers.
enum : UINT32
{
    kIsArc_No = 0,
    kIsArc_Yes = 1,
    kIsArc_NeedMore = 2,
};

// Handler properties (GetHandlerProperty2).
enum EHandlerPropId : PROPID
{
    kHandlerName = 0,
    kHandlerClassId = 1, // a BSTR carrying 16 raw bytes
    kHandlerExtension = 2,
    kHandlerAddExtension = 3,
    kHandlerUpdate = 4,
    kHandlerKeepName = 5,
    kHandlerSignature = 6,
    kHandlerMultiSignature = 7, // [length byte][bytes] repeated
    kHandlerSignatureOffset = 8,
    kHandlerAltStreams = 9,
    kHandlerNtSecure = 10,
    kHandlerFlags = 11,
    kHandlerTimeFlags = 12,
};

// Bits of kHandlerFlags.
enum EArcInfoFlags : UINT32
{
    kArcFlagKeepName = 1u << 0,
    kArcFlagAltStreams = 1u << 1,
    kArcFlagNtSecure = 1u << 2,
    kArcFlagFindSignature = 1u << 3,
    kArcFlagMultiSignature = 1u << 4,
    kArcFlagUseGlobalOffset = 1u << 5,
    kArcFlagStartOpen = 1u << 6,
    kArcFlagPureStartOpen = 1u << 7,
    kArcFlagBackwardOpen = 1u << 8,
    kArcFlagPreArc = 1u << 9,
    kArcFlagSymLinks = 1u << 10,
    kArcFlagHardLinks = 1u << 11,
    kArcFlagByExtOnlyOpen = 1u << 12,
    kArcFlagHashHandler = 1u << 13,
    kArcFlagCTime = 1u << 14,
    kArcFlagCTimeDefault = 1u << 15,
    kArcFlagATime = 1u << 16,
    kArcFlagATimeDefault = 1u << 17,
    kArcFlagMTime = 1u << 18,
    kArcFlagMTimeDefault = 1u << 19,
};

// Method and hasher properties (GetMethodProperty, IHashers::GetHasherProp).
enum EMethodPropId : PROPID
{
    kMethodId = 0,
    kMethodName = 1,
    kMethodDecoder = 2,
    kMethodEncoder = 3,
    kMethodPackStreams = 4,
    kMethodUnpackStreams = 5,
    kMethodDescription = 6,
    kMethodDecoderIsAssigned = 7,
    kMethodEncoderIsAssigned = 8,
    kMethodDigestSize = 9,
    kMethodIsFilter = 10,
};

enum EModulePropId : PROPID
{
    kModuleInterfaceType = 0,
    kModuleVersion = 1,
};

// Item and archive properties used by the client (the library's kpid numbers).
enum EItemPropId : PROPID
{
    kpidNoProperty = 0,
    kpidPath = 3,
    kpidName = 4,
    kpidExtension = 5,
    kpidIsDir = 6,
    kpidSize = 7,
    kpidPackSize = 8,
    kpidAttrib = 9,
    kpidCTime = 10,
    kpidATime = 11,
    kpidMTime = 12,
    kpidSolid = 13,
    kpidEncrypted = 15,
    kpidCRC = 19,
    kpidType = 20,
    kpidIsAnti = 21,
    kpidMethod = 22,
    kpidPosition = 29,
    kpidOffset = 36,
    kpidPhySize = 44,
    kpidPosixAttrib = 53,
    kpidSymLink = 54,
    kpidError = 55,
    kpidIsAltStream = 63,
    kpidErrorType = 69,
    kpidErrorFlags = 71,
    kpidWarningFlags = 72,
    kpidWarning = 73,
    kpidTailSize = 87,
    kpidNtReparse = 89,
    kpidHardLink = 90,
    kpidCopyLink = 95,
    kpidUserDefined = 0x10000,
};

// Extraction ask modes and per-item results.
enum EAskMode : INT32
{
    kAskExtract = 0,
    kAskTest = 1,
    kAskSkip = 2,
    kAskReadExternal = 3,
};

enum EOperationResult : INT32
{
    kOpResultOk = 0,
    kOpResultUnsupportedMethod = 1,
    kOpResultDataError = 2,
    kOpResultCrcError = 3,
    kOpResultUnavailable = 4,
    kOpResultUnexpectedEnd = 5,
    kOpResultDataAfterEnd = 6,
    kOpResultIsNotArc = 7,
    kOpResultHeadersError = 8,
    kOpResultWrongPassword = 9,
};
