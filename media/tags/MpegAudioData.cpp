#include "media/tags/MpegAudioData.h"
#include "util/PathHelpers.h"

#include <cstddef>
#include <cstring>
#include <cwchar>

namespace
{

// A tail or an ID3v2 body is text frames, never audio: a length past this is a
// broken or hostile file, and reading it whole would exhaust memory.
const DWORD kMaxTagBytes = 16 * 1024 * 1024;
const DWORD kRiffHeadBytes = 2000;
const DWORD kFrameScanBytes = 65536;

class CFileHandle
{
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    ~CFileHandle() { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    BOOL IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    void Close()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

BOOL GetLength(HANDLE file, ULONGLONG& length)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return FALSE;
    length = static_cast<ULONGLONG>(size.QuadPart);
    return TRUE;
}

BOOL SeekTo(HANDLE file, ULONGLONG offset)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

BOOL ReadExactly(HANDLE file, void* buffer, DWORD count)
{
    BYTE* at = static_cast<BYTE*>(buffer);
    while (count > 0)
    {
        DWORD done = 0;
        if (!ReadFile(file, at, count, &done, nullptr) || done == 0)
            return FALSE;
        at += done;
        count -= done;
    }
    return TRUE;
}

BOOL ReadAt(HANDLE file, ULONGLONG offset, void* buffer, DWORD count)
{
    return SeekTo(file, offset) && ReadExactly(file, buffer, count);
}

BOOL WriteExactly(HANDLE file, const void* buffer, DWORD count)
{
    DWORD done = 0;
    return WriteFile(file, buffer, count, &done, nullptr) && done == count;
}

DWORD ReadLe32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

DWORD ReadBe32(const BYTE* p)
{
    return (static_cast<DWORD>(p[0]) << 24) | (static_cast<DWORD>(p[1]) << 16) |
           (static_cast<DWORD>(p[2]) << 8) | static_cast<DWORD>(p[3]);
}

void PutLe32(BYTE* p, DWORD value)
{
    p[0] = static_cast<BYTE>(value);
    p[1] = static_cast<BYTE>(value >> 8);
    p[2] = static_cast<BYTE>(value >> 16);
    p[3] = static_cast<BYTE>(value >> 24);
}

void TrimTrailingBlanks(CString& text)
{
    int length = text.GetLength();
    while (length > 0 && text[length - 1] == L' ')
        --length;
    if (length != text.GetLength())
        text = text.Left(length);
}

// Finds the "data" chunk among the first bytes of a RIFF file by walking the chunks
// from the form type on. Searching for the four letters instead would stop inside an
// earlier chunk that happens to hold them, and a writer would then cut the audio. A
// walk that leaves the head before reaching "data" finds nothing.
BOOL FindDataChunk(const BYTE* head, DWORD headLength, ULONGLONG& chunkOffset, DWORD& dataLength)
{
    if (headLength < 12 || memcmp(head, "RIFF", 4) != 0)
        return FALSE;
    ULONGLONG at = 12;
    while (at + 8 <= headLength)
    {
        DWORD length = ReadLe32(head + at + 4);
        if (memcmp(head + at, "data", 4) == 0)
        {
            chunkOffset = at;
            dataLength = length;
            return TRUE;
        }
        at += 8ull + length + (length & 1);
    }
    return FALSE;
}

BOOL ReadRiffHead(HANDLE file, ULONGLONG fileLength, BYTE* head, DWORD& headLength)
{
    headLength = fileLength < kRiffHeadBytes ? static_cast<DWORD>(fileLength) : kRiffHeadBytes;
    return ReadAt(file, 0, head, headLength);
}

CString AnsiFieldToWide(const BYTE* bytes, int width)
{
    return DecodeTagText(bytes, static_cast<size_t>(width));
}

BOOL HasExtension(const CFileInfo& file, std::initializer_list<LPCWSTR> extensions)
{
    for (LPCWSTR extension : extensions)
    {
        if (file.IsExtension(extension))
            return TRUE;
    }
    return FALSE;
}

// An id as four ANSI letters beginning "I"; FALSE for anything else, which a LIST
// chunk cannot carry.
BOOL ToItemId(const CString& key, BYTE* out)
{
    if (key.GetLength() != 4 || key[0] != L'I')
        return FALSE;
    for (int i = 0; i < 4; ++i)
    {
        if (key[i] <= 0 || key[i] > 0x7E)
            return FALSE;
        out[i] = static_cast<BYTE>(key[i]);
    }
    return TRUE;
}

BOOL IsRiffTableItem(const CString& key)
{
    for (const RiffInfoFieldRow& row : g_RiffInfoFieldTable)
    {
        if (key == row.itemId)
            return TRUE;
    }
    return FALSE;
}

// 1 when the map holds a key that `other` lacks or holds with another value.
int MapHasEntryNotIn(const CMapStringToString& map, const CMapStringToString& other)
{
    POSITION position = map.GetStartPosition();
    while (position)
    {
        CString key, value, otherValue;
        map.GetNextAssoc(position, key, value);
        if (!other.Lookup(key, otherValue) || otherValue != value)
            return 1;
    }
    return 0;
}

// A name the writer may give the file: a plain name in the file's own folder.
BOOL IsPlainFileName(const CString& name)
{
    if (name.IsEmpty() || name == L"." || name == L"..")
        return FALSE;
    for (int i = 0; i < name.GetLength(); ++i)
    {
        wchar_t c = name[i];
        if (c < 0x20 || wcschr(L"\\/:*?\"<>|", c) != nullptr)
            return FALSE;
    }
    return TRUE;
}

} // namespace

#define QV_ID3V1_FIELD(member) offsetof(CId3v1Fields, member)
const Id3v1FieldRow g_Id3v1FieldTable[ID3V1_TEXT_FIELD_COUNT] = {
    {3, 30, QV_ID3V1_FIELD(title)}, {33, 30, QV_ID3V1_FIELD(artist)},  {63, 30, QV_ID3V1_FIELD(album)},
    {93, 4, QV_ID3V1_FIELD(year)},  {97, 30, QV_ID3V1_FIELD(comment)},
};
#undef QV_ID3V1_FIELD

const RiffInfoFieldRow g_RiffInfoFieldTable[RIFF_INFO_FIELD_COUNT] = {
    {L"INAM", 831, 413, L"名前"},     {L"IART", 823, 408, L"アーティスト"},
    {L"IPRD", 822, 407, L"アルバム"}, {L"ICMT", 824, 409, L"コメント"},
    {L"IGNR", 827, 412, L"ジャンル"}, {L"ICRD", 828, 414, L"リリース"},
    {L"ICOP", 825, 410, L"著作権"},   {L"IENG", 826, 411, L"エンジニア"},
    {L"ISRC", 830, 416, L"ソース"},   {L"ISFT", 829, 415, L"ソフトウェア"},
};

// ---- Text ---------------------------------------------------------------------------

CString DecodeTagText(const BYTE* bytes, size_t length)
{
    CString text;
    if (bytes == nullptr || length == 0)
        return text;
    if (length >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
    {
        size_t count = (length - 2) / 2;
        const BYTE* at = bytes + 2;
        size_t used = 0;
        while (used < count && (at[used * 2] != 0 || at[used * 2 + 1] != 0))
            ++used;
        LPWSTR buffer = text.GetBuffer(static_cast<int>(used) + 1);
        for (size_t i = 0; i < used; ++i)
            buffer[i] = static_cast<wchar_t>(at[i * 2] | (at[i * 2 + 1] << 8));
        text.ReleaseBuffer(static_cast<int>(used));
    }
    else
    {
        size_t used = 0;
        while (used < length && bytes[used] != 0)
            ++used;
        if (used > 0)
        {
            int count = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(bytes),
                                            static_cast<int>(used), nullptr, 0);
            if (count > 0)
            {
                LPWSTR buffer = text.GetBuffer(count + 1);
                MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(bytes), static_cast<int>(used),
                                    buffer, count);
                text.ReleaseBuffer(count);
            }
        }
    }
    TrimTrailingBlanks(text);
    return text;
}

int WideToAnsiField(LPCWSTR text, BYTE* out, int width)
{
    memset(out, 0, static_cast<size_t>(width));
    if (text == nullptr)
        return 0;
    int count = static_cast<int>(wcslen(text));
    // Fewer characters until they fit, so that a double-byte character is never
    // split at the field's end.
    for (; count > 0; --count)
    {
        if (IS_HIGH_SURROGATE(text[count - 1]))
            continue;
        int need = WideCharToMultiByte(CP_ACP, 0, text, count, nullptr, 0, nullptr, nullptr);
        if (need > 0 && need <= width)
            return WideCharToMultiByte(CP_ACP, 0, text, count, reinterpret_cast<LPSTR>(out), width, nullptr,
                                       nullptr);
    }
    return 0;
}

// ---- MPEG frames --------------------------------------------------------------------

int MpegBitRate(int versionCode, int layerCode, int bitRateIndex)
{
    static const int kMpeg1[3][16] = {
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // Layer III
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // Layer II
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // Layer I
    };
    static const int kMpeg2LayerI[16] = {0,   32,  48,  56,  64,  80,  96,  112,
                                         128, 144, 160, 176, 192, 224, 256, 0};
    static const int kMpeg2LayerII_III[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                              64, 80, 96, 112, 128, 144, 160, 0};
    if (versionCode < 0 || versionCode > 3 || versionCode == 1 || layerCode < 1 || layerCode > 3 ||
        bitRateIndex < 0 || bitRateIndex > 15)
        return 0;
    if (versionCode == 3)
        return kMpeg1[layerCode - 1][bitRateIndex];
    return layerCode == 3 ? kMpeg2LayerI[bitRateIndex] : kMpeg2LayerII_III[bitRateIndex];
}

int MpegSampleRate(int versionCode, int sampleRateIndex)
{
    static const int kRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    if (versionCode < 0 || versionCode > 3 || sampleRateIndex < 0 || sampleRateIndex > 2)
        return 0;
    return kRates[versionCode][sampleRateIndex];
}

int CalcMpegFrameLength(int versionCode, int layerCode, int bitRateIndex, int sampleRateIndex, int padding)
{
    int bitRate = MpegBitRate(versionCode, layerCode, bitRateIndex);
    int sampleRate = MpegSampleRate(versionCode, sampleRateIndex);
    if (bitRate == 0 || sampleRate == 0)
        return 0;
    if (layerCode == 3)
        return (12 * bitRate * 1000 / sampleRate + padding) * 4;
    if (layerCode == 1 && versionCode != 3)
        return 72 * bitRate * 1000 / sampleRate + padding;
    return 144 * bitRate * 1000 / sampleRate + padding;
}

// ---- The record ---------------------------------------------------------------------

CMpegAudioData::CMpegAudioData() : m_failed(0), m_played(0), m_read(0)
{
    Reset();
}

CMpegAudioData::CMpegAudioData(const CMpegAudioData& src) : CMpegAudioData()
{
    *this = src;
}

CMpegAudioData& CMpegAudioData::operator=(const CMpegAudioData& src)
{
    if (this == &src)
        return *this;
    m_failed = src.m_failed;
    m_played = src.m_played;
    m_file = src.m_file;
    m_read = src.m_read;
    m_tagFlags = src.m_tagFlags;
    m_id3v1 = src.m_id3v1;
    m_riffInfo = src.m_riffInfo;
    m_id3v2 = src.m_id3v2;
    m_comments = src.m_comments;
    m_mpegFound = src.m_mpegFound;
    m_mpegVersion = src.m_mpegVersion;
    m_mpegLayer = src.m_mpegLayer;
    m_mpegBitRateIndex = src.m_mpegBitRateIndex;
    m_mpegSampleRateIndex = src.m_mpegSampleRateIndex;
    m_mpegChannelMode = src.m_mpegChannelMode;
    return *this;
}

void CMpegAudioData::Reset()
{
    m_tagFlags = 0;
    // Whole, padding included: DiffersFrom compares the block byte for byte.
    memset(&m_id3v1, 0, sizeof(m_id3v1));
    m_id3v1.genre = ID3V1_NO_GENRE;
    m_riffInfo.RemoveAll();
    m_id3v2.RemoveAll();
    m_comments.RemoveAll();
    m_mpegFound = m_mpegVersion = m_mpegLayer = 0;
    m_mpegBitRateIndex = m_mpegSampleRateIndex = m_mpegChannelMode = 0;
}

BOOL CMpegAudioData::SetFromPath(LPCWSTR fullPath)
{
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileLong(fullPath, &findData);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    FindCloseLong(find);
    CString folder;
    SplitPath(fullPath, &folder, nullptr);
    m_file.SetFromDisk(folder, findData);
    m_read = 0;
    return TRUE;
}

void CMpegAudioData::SetFileName(LPCWSTR name)
{
    WIN32_FIND_DATAW findData = m_file.m_findData;
    wcsncpy(findData.cFileName, name ? name : L"", MAX_PATH - 1);
    findData.cFileName[MAX_PATH - 1] = 0;
    m_file.SetFromFindData(m_file.m_source, m_file.m_owner, m_file.GetDirectory(),
                           m_file.GetRealDirectory(TRUE), findData, m_file.m_itemIndex);
}

BOOL CMpegAudioData::IsMpegKind() const
{
    return HasExtension(m_file, {L"MP2", L"MP3"});
}

BOOL CMpegAudioData::IsRiffKind() const
{
    return HasExtension(m_file, {L"WAV", L"RMP"});
}

BOOL CMpegAudioData::IsTagFile() const
{
    return (IsMpegKind() || IsRiffKind()) && m_file.m_size >= ID3V1_BLOCK_SIZE;
}

int CMpegAudioData::ReadTags()
{
    Reset();
    if (!IsTagFile())
    {
        m_read = 1;
        return 1;
    }
    CFileHandle file(CreateFileLong(m_file.GetRealFullPath(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsOpen())
        return 0;
    ULONGLONG length = 0;
    if (!GetLength(file.Get(), length))
        return 0;
    ScanMpegFrame(file.Get());
    m_read = 1;
    int result = ReadId3v1Tag(*this, file.Get());
    if (result == 0)
        return 0;
    if (result == 1)
        m_tagFlags |= AUDIO_TAG_ID3V1;
    result = ReadRiffInfo(file.Get(), length);
    if (result == 0)
        return 0;
    if (result == 1)
        m_tagFlags |= AUDIO_TAG_RIFF_INFO;
    result = ReadId3v2Tag(file.Get(), length);
    if (result == 0)
        return 0;
    if (result == 1)
        m_tagFlags |= AUDIO_TAG_ID3V2;
    return 1;
}

CString ReadAudioTitle(const CFileInfo& entry)
{
    CMpegAudioData record;
    record.m_file = entry;
    record.ReadTags();
    CString title;
    if (record.m_id3v2.Lookup(L"TIT2", title) && !title.IsEmpty())
        return title;
    if (record.m_riffInfo.Lookup(L"INAM", title) && !title.IsEmpty())
        return title;
    return CString(record.m_id3v1.title);
}

void CMpegAudioData::ScanMpegFrame(HANDLE file)
{
    m_mpegFound = m_mpegVersion = m_mpegLayer = 0;
    m_mpegBitRateIndex = m_mpegSampleRateIndex = m_mpegChannelMode = 0;
    if (!m_file.IsExtension(L"MP3"))
        return;
    ULONGLONG length = 0;
    if (!GetLength(file, length))
        return;
    DWORD count = length < kFrameScanBytes ? static_cast<DWORD>(length) : kFrameScanBytes;
    BYTE* bytes = new BYTE[count + 1];
    if (!ReadAt(file, 0, bytes, count))
    {
        delete[] bytes;
        return;
    }
    int state = 0;
    BYTE header[4] = {};
    DWORD headerStart = 0;
    DWORD at = 0;
    while (at < count)
    {
        BYTE b = bytes[at];
        if (state == 0)
        {
            if (b == 0xFF)
            {
                header[0] = b;
                headerStart = at;
                state = 1;
            }
            ++at;
            continue;
        }
        if (state == 1 && (b & 0xE0) != 0xE0)
        {
            state = 0;
            ++at;
            continue;
        }
        header[state++] = b;
        ++at;
        if (state < 4)
            continue;
        state = 0;
        int version = (header[1] >> 3) & 3;
        int layer = (header[1] >> 1) & 3;
        int bitRateIndex = header[2] >> 4;
        int sampleRateIndex = (header[2] >> 2) & 3;
        int padding = (header[2] >> 1) & 1;
        int channelMode = header[3] >> 6;
        if (version == 1 || layer != 1 || bitRateIndex == 0 || bitRateIndex == 15 || sampleRateIndex == 3)
            continue;
        int frameLength = CalcMpegFrameLength(version, layer, bitRateIndex, sampleRateIndex, padding);
        if (!m_mpegFound || channelMode < m_mpegChannelMode)
            m_mpegChannelMode = channelMode;
        m_mpegFound = 1;
        m_mpegVersion = version;
        m_mpegLayer = layer;
        if (bitRateIndex > m_mpegBitRateIndex)
            m_mpegBitRateIndex = bitRateIndex;
        m_mpegSampleRateIndex = sampleRateIndex;
        if (frameLength > 4)
            at = headerStart + static_cast<DWORD>(frameLength);
    }
    delete[] bytes;
}

int ReadId3v1Tag(CMpegAudioData& record, HANDLE file)
{
    ULONGLONG length = 0;
    if (!GetLength(file, length) || length < ID3V1_BLOCK_SIZE)
        return 0;
    BYTE block[ID3V1_BLOCK_SIZE];
    if (!ReadAt(file, length - ID3V1_BLOCK_SIZE, block, ID3V1_BLOCK_SIZE))
        return 0;
    if (memcmp(block, "TAG", 3) != 0)
        return 2;
    for (const Id3v1FieldRow& row : g_Id3v1FieldTable)
    {
        wchar_t* field =
            reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(&record.m_id3v1) + row.recordOffset);
        CString text = AnsiFieldToWide(block + row.fileOffset, row.width);
        memset(field, 0, sizeof(wchar_t) * (row.width + 1));
        wcsncpy(field, text, static_cast<size_t>(row.width));
    }
    record.m_id3v1.genre = block[127];
    return 1;
}

int CMpegAudioData::ReadRiffInfo(HANDLE file, ULONGLONG length)
{
    if (!IsRiffKind())
        return 2;
    BYTE head[kRiffHeadBytes];
    DWORD headLength = 0;
    if (!ReadRiffHead(file, length, head, headLength))
        return 0;
    ULONGLONG chunk = 0;
    DWORD dataLength = 0;
    if (!FindDataChunk(head, headLength, chunk, dataLength))
        return 2;
    ULONGLONG dataEnd = chunk + 8 + dataLength;
    if (dataEnd >= length)
        return 2;
    ULONGLONG rest = length - dataEnd;
    DWORD tailLength = rest < kMaxTagBytes ? static_cast<DWORD>(rest) : kMaxTagBytes;
    BYTE* tail = new BYTE[tailLength];
    if (!ReadAt(file, dataEnd, tail, tailLength))
    {
        delete[] tail;
        return 2;
    }
    DWORD at = 0;
    if (at < tailLength && tail[at] == 0)
        ++at;
    if (tailLength - at < 12 || memcmp(tail + at, "LIST", 4) != 0 || memcmp(tail + at + 8, "INFO", 4) != 0)
    {
        delete[] tail;
        return 2;
    }
    at += 12;
    while (tailLength - at >= 5)
    {
        if (tail[at] == 0)
            ++at;
        if (tailLength - at < 8)
            break;
        const BYTE* id = tail + at;
        if (id[0] != 'I' || id[1] == 0 || id[2] == 0 || id[3] == 0)
            break;
        DWORD itemLength = ReadLe32(tail + at + 4);
        if (itemLength > tailLength - at - 8)
            break;
        CString key = DecodeTagText(id, 4);
        if (key != L"IID3")
            m_riffInfo.SetAt(key, DecodeTagText(tail + at + 8, itemLength));
        at += 8 + itemLength;
    }
    delete[] tail;
    return 1;
}

int CMpegAudioData::ReadId3v2Tag(HANDLE file, ULONGLONG length)
{
    if (!m_file.IsExtension(L"MP3"))
        return 2;
    if (!SeekTo(file, 0))
        return 0;
    if (length <= 9)
        return 2;
    BYTE header[10];
    if (!ReadExactly(file, header, sizeof(header)))
        return 0;
    if (memcmp(header, "ID3", 3) != 0 || header[3] != 3)
        return 2;
    DWORD bodyLength = ((header[6] & 0x7F) << 21) | ((header[7] & 0x7F) << 14) | ((header[8] & 0x7F) << 7) |
                       (header[9] & 0x7F);
    if (length < static_cast<ULONGLONG>(bodyLength) + 10)
        return 2;
    DWORD size = bodyLength < kMaxTagBytes ? bodyLength : kMaxTagBytes;
    BYTE* body = new BYTE[size + 1];
    if (!ReadExactly(file, body, size))
    {
        delete[] body;
        return 2;
    }
    DWORD at = 0;
    while (size - at >= 10)
    {
        const BYTE* id = body + at;
        if (id[0] == 0 || id[1] == 0 || id[2] == 0 || id[3] == 0)
            break;
        DWORD frameLength = ReadBe32(body + at + 4);
        if (frameLength > size - at - 10)
            break;
        CString key = DecodeTagText(id, 4);
        const BYTE* data = body + at + 10;
        at += 10 + frameLength;
        if (frameLength == 0)
            continue;
        if (key == L"TIT2" || key == L"TPE1" || key == L"TALB" || key == L"TYER" || key == L"TCON")
        {
            m_id3v2.SetAt(key, DecodeTagText(data + 1, frameLength - 1));
            continue;
        }
        if (key != L"COMM" || frameLength < 6)
            continue;
        CString language = DecodeTagText(data + 1, 3);
        if (language != L"eng" && language != L"jpn")
            continue;
        if (data[4] == 0)
        {
            m_comments.SetAt(language, DecodeTagText(data + 5, frameLength - 5));
            continue;
        }
        // UTF-16 strings with their marks: the short description, then the text.
        DWORD pos = 4;
        while (frameLength - pos >= 4 && data[pos] == 0xFF && data[pos + 1] == 0xFE)
        {
            DWORD end = pos + 2;
            while (frameLength - end >= 2 && (data[end] != 0 || data[end + 1] != 0))
                end += 2;
            // An unterminated string ends with its frame.
            if (frameLength - end < 2)
                end = frameLength;
            CString text = DecodeTagText(data + pos, end - pos);
            pos = end + 2 <= frameLength ? end + 2 : frameLength;
            if (!text.IsEmpty())
            {
                m_comments.SetAt(language, text);
                break;
            }
        }
    }
    delete[] body;
    return 1;
}

BYTE* CMpegAudioData::BuildId3v1Block() const
{
    BYTE* block = new BYTE[ID3V1_BLOCK_SIZE];
    memset(block, 0, ID3V1_BLOCK_SIZE);
    memcpy(block, "TAG", 3);
    for (const Id3v1FieldRow& row : g_Id3v1FieldTable)
    {
        const wchar_t* field =
            reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(&m_id3v1) + row.recordOffset);
        wchar_t text[32] = {};
        wcsncpy(text, field, static_cast<size_t>(row.width));
        WideToAnsiField(text, block + row.fileOffset, row.width);
    }
    block[127] = m_id3v1.genre;
    return block;
}

BYTE* CMpegAudioData::BuildListInfoChunk(DWORD& length) const
{
    // The dialog's items first, in its order, then any other item the file held.
    CStringArray keys;
    for (const RiffInfoFieldRow& row : g_RiffInfoFieldTable)
    {
        CString value;
        if (m_riffInfo.Lookup(row.itemId, value))
            keys.Add(row.itemId);
    }
    POSITION position = m_riffInfo.GetStartPosition();
    while (position)
    {
        CString key, value;
        m_riffInfo.GetNextAssoc(position, key, value);
        if (!IsRiffTableItem(key) && key != L"IID3")
            keys.Add(key);
    }
    CArray<CStringA> texts;
    ULONGLONG total = 12;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
    {
        CString value;
        m_riffInfo.Lookup(keys[i], value);
        CStringA ansi(value);
        texts.Add(ansi);
        total += 8 + static_cast<ULONGLONG>(ansi.GetLength()) + 2;
    }
    if (m_tagFlags & AUDIO_TAG_ID3V1)
        total += 8 + ID3V1_BLOCK_SIZE;
    if (total > 0x7FFFFFFF)
        return nullptr;
    BYTE* chunk = new (std::nothrow) BYTE[static_cast<size_t>(total)];
    if (chunk == nullptr)
        return nullptr;
    memset(chunk, 0, static_cast<size_t>(total));
    memcpy(chunk, "LIST", 4);
    PutLe32(chunk + 4, static_cast<DWORD>(total - 8));
    memcpy(chunk + 8, "INFO", 4);
    DWORD at = 12;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
    {
        BYTE id[4];
        if (!ToItemId(keys[i], id))
            continue;
        DWORD textLength = static_cast<DWORD>(texts[i].GetLength());
        memcpy(chunk + at, id, 4);
        PutLe32(chunk + at + 4, textLength + 1);
        memcpy(chunk + at + 8, texts[i].GetString(), textLength);
        at += 8 + textLength + 2;
    }
    if (m_tagFlags & AUDIO_TAG_ID3V1)
    {
        memcpy(chunk + at, "IID3", 4);
        PutLe32(chunk + at + 4, ID3V1_BLOCK_SIZE);
        BYTE* block = BuildId3v1Block();
        memcpy(chunk + at + 8, block, ID3V1_BLOCK_SIZE);
        delete[] block;
        at += 8 + ID3V1_BLOCK_SIZE;
    }
    // Items whose id a chunk cannot carry were left out.
    PutLe32(chunk + 4, at - 8);
    length = at;
    return chunk;
}

int CMpegAudioData::DiffersFrom(const CMpegAudioData& other) const
{
    if (m_file.GetDirectory().CompareNoCase(other.m_file.GetDirectory()) != 0)
        return 1;
    if (m_file.m_findData != other.m_file.m_findData)
        return 1;
    if (m_tagFlags != other.m_tagFlags || memcmp(&m_id3v1, &other.m_id3v1, sizeof(m_id3v1)) != 0)
        return 1;
    return MapHasEntryNotIn(m_riffInfo, other.m_riffInfo) || MapHasEntryNotIn(other.m_riffInfo, m_riffInfo) ||
           MapHasEntryNotIn(m_id3v2, other.m_id3v2) || MapHasEntryNotIn(other.m_id3v2, m_id3v2) ||
           MapHasEntryNotIn(m_comments, other.m_comments) || MapHasEntryNotIn(other.m_comments, m_comments);
}

// ---- The writer ---------------------------------------------------------------------

namespace
{

// Writes the tags into an open MPEG file. The block to replace is looked for in the
// file itself: a record read before the file changed would otherwise cut 128 bytes
// of audio, or leave an old block behind the new one.
BOOL WriteMpegTags(HANDLE file, const CMpegAudioData& wanted)
{
    ULONGLONG length = 0;
    if (!GetLength(file, length))
        return FALSE;
    ULONGLONG at = length;
    if (length >= ID3V1_BLOCK_SIZE)
    {
        BYTE magic[3];
        if (!ReadAt(file, length - ID3V1_BLOCK_SIZE, magic, sizeof(magic)))
            return FALSE;
        if (memcmp(magic, "TAG", 3) == 0)
            at = length - ID3V1_BLOCK_SIZE;
    }
    if (!SeekTo(file, at))
        return FALSE;
    if (wanted.m_tagFlags & AUDIO_TAG_ID3V1)
    {
        BYTE* block = wanted.BuildId3v1Block();
        BOOL written = WriteExactly(file, block, ID3V1_BLOCK_SIZE);
        delete[] block;
        if (!written)
            return FALSE;
    }
    return SetEndOfFile(file);
}

BOOL IsId3v1At(HANDLE file, ULONGLONG at)
{
    BYTE magic[3];
    return ReadAt(file, at, magic, sizeof(magic)) && memcmp(magic, "TAG", 3) == 0;
}

// True when the bytes from `at` to `end` (what follows the "data" chunk) are tags this
// writer may replace: nothing, a pad byte, a raw ID3v1 block that ends the file, or a
// "LIST"/"INFO" chunk, itself followed by nothing, a pad byte or a raw ID3v1 block. A
// "LIST" chunk that claims more than the file holds runs to its end. Anything else may
// be audio behind a "data" chunk whose size is wrong, or a chunk of another program,
// and replacing it would lose it.
BOOL IsReplaceableTail(HANDLE file, ULONGLONG at, ULONGLONG end)
{
    BYTE first = 0;
    if (at < end && !ReadAt(file, at, &first, 1))
        return FALSE;
    if (at < end && first == 0)
        ++at;
    if (at >= end)
        return TRUE;
    if (end - at == ID3V1_BLOCK_SIZE && IsId3v1At(file, at))
        return TRUE;
    BYTE header[12];
    if (end - at < sizeof(header) || !ReadAt(file, at, header, sizeof(header)) ||
        memcmp(header, "LIST", 4) != 0 || memcmp(header + 8, "INFO", 4) != 0)
        return FALSE;
    ULONGLONG listEnd = at + 8 + ReadLe32(header + 4);
    if (listEnd >= end)
        return TRUE;
    BYTE pad = 0;
    if (!ReadAt(file, listEnd, &pad, 1))
        return FALSE;
    if (pad == 0)
        ++listEnd;
    return listEnd == end || (end - listEnd == ID3V1_BLOCK_SIZE && IsId3v1At(file, listEnd));
}

BOOL WriteRiffTags(HANDLE file, const CMpegAudioData& wanted)
{
    ULONGLONG length = 0;
    if (!GetLength(file, length))
        return FALSE;
    BYTE head[kRiffHeadBytes];
    DWORD headLength = 0;
    if (!ReadRiffHead(file, length, head, headLength))
        return FALSE;
    ULONGLONG chunk = 0;
    DWORD dataLength = 0;
    if (!FindDataChunk(head, headLength, chunk, dataLength))
        return FALSE;
    ULONGLONG dataEnd = chunk + 8 + dataLength;
    // A size that runs past the end of the file (a recording cut short, or a size
    // that wrapped round) is taken as audio up to the end: every byte of it is kept,
    // and the chunk is given the size it really has.
    const BOOL clamped = dataEnd > length;
    if (clamped)
    {
        dataEnd = length;
        dataLength = static_cast<DWORD>(length - chunk - 8);
    }
    if (!IsReplaceableTail(file, dataEnd, length))
        return FALSE;
    // All checks are done before the first byte is written.
    BYTE* tags = nullptr;
    DWORD tagsLength = 0;
    int flags = wanted.m_tagFlags & (AUDIO_TAG_ID3V1 | AUDIO_TAG_RIFF_INFO);
    if (flags & AUDIO_TAG_RIFF_INFO)
    {
        tags = wanted.BuildListInfoChunk(tagsLength);
        if (tags == nullptr)
            return FALSE;
    }
    else if (flags == AUDIO_TAG_ID3V1)
    {
        tags = wanted.BuildId3v1Block();
        tagsLength = ID3V1_BLOCK_SIZE;
    }
    // The "RIFF" size must be able to hold what the file becomes.
    if (dataEnd + (dataLength & 1) + tagsLength - 8 > 0xFFFFFFFFull || !SeekTo(file, dataEnd))
    {
        delete[] tags;
        return FALSE;
    }
    // An odd-length chunk is followed by a pad byte that belongs to it.
    BOOL ok = TRUE;
    if (dataLength & 1)
    {
        BYTE pad = 0;
        ok = WriteExactly(file, &pad, 1);
    }
    if (ok && tags)
        ok = WriteExactly(file, tags, tagsLength);
    delete[] tags;
    if (!ok || !SetEndOfFile(file) || !GetLength(file, length))
        return FALSE;
    BYTE size[4];
    if (clamped)
    {
        PutLe32(size, dataLength);
        if (!SeekTo(file, chunk + 4) || !WriteExactly(file, size, sizeof(size)))
            return FALSE;
    }
    PutLe32(size, static_cast<DWORD>(length - 8));
    return SeekTo(file, 4) && WriteExactly(file, size, sizeof(size));
}

} // namespace

int WriteAudioTags(CMpegAudioData& current, const CMpegAudioData& wanted)
{
    if (!current.IsMpegKind() && !current.IsRiffKind())
        return 1;
    const CString directory = current.m_file.GetRealDirectory(FALSE);
    const CString path = current.m_file.GetRealFullPath();
    CString newName = wanted.m_file.GetName();
    BOOL rename = !newName.IsEmpty() && newName.CompareNoCase(current.m_file.GetName()) != 0;
    // The name is joined to the file's own folder: one holding a separator or a
    // drive, or naming a folder, would move the file elsewhere.
    if (rename && !IsPlainFileName(newName))
        return 0;
    WIN32_FIND_DATAW before;
    HANDLE find = FindFirstFileLong(path, &before);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindCloseLong(find);
    const DWORD attributes = before.dwFileAttributes;
    if (!SetFileAttributesLong(path, FILE_ATTRIBUTE_NORMAL))
        return 0;
    BOOL written = FALSE;
    {
        CFileHandle file(CreateFileLong(path, GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsOpen())
            written =
                current.IsMpegKind() ? WriteMpegTags(file.Get(), wanted) : WriteRiffTags(file.Get(), wanted);
    }
    CString finalPath = path;
    if (written && rename)
    {
        CString target = directory + L"\\" + newName;
        if (MoveFileLong(path, target))
            finalPath = target;
        else
            written = FALSE;
    }
    if (!SetFileAttributesLong(finalPath, attributes) || !written)
        return 0;
    WIN32_FIND_DATAW after;
    find = FindFirstFileLong(finalPath, &after);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    FindCloseLong(find);
    CFileInfo& entry = current.m_file;
    entry.SetFromFindData(entry.m_source, entry.m_owner, CString(entry.GetDirectory()),
                          entry.GetRealDirectory(TRUE), after, entry.m_itemIndex);
    current.ReadTags();
    return 1;
}
