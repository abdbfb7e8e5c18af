// The tags of an audio file (ID3v1 at the end of MPEG files, ID3v2.3 text frames at
// their start, the RIFF "LIST"/"INFO" chunk of WAV and RMP files) and the first MPEG
// frame headers: one record per file, the element of the play list and of the lists
// the tag dialogs work on.
#pragma once
#include <windows.h>
#include "filer/FileInfo.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// Bits of CMpegAudioData::m_tagFlags.
enum
{
    AUDIO_TAG_ID3V1 = 1,
    AUDIO_TAG_RIFF_INFO = 2,
    AUDIO_TAG_ID3V2 = 4,
};

enum
{
    ID3V1_BLOCK_SIZE = 128,
    ID3V1_NO_GENRE = 255,
    GENRE_TABLE_SIZE = 148,
    RIFF_INFO_FIELD_COUNT = 10,
    ID3V1_TEXT_FIELD_COUNT = 5,
};

// The fixed text fields of the ID3v1 block, each with room for its terminator.
struct CId3v1Fields
{
    wchar_t title[31];
    wchar_t artist[31];
    wchar_t album[31];
    wchar_t year[5];
    wchar_t comment[31];
    BYTE genre;
};

// One text field of the ID3v1 block: where it sits in the file and in the record.
struct Id3v1FieldRow
{
    int fileOffset; // within the 128-byte block
    int width;      // bytes in the file, characters in the record
    size_t recordOffset;
};
extern const Id3v1FieldRow g_Id3v1FieldTable[ID3V1_TEXT_FIELD_COUNT];

struct GenreRow
{
    LPCWSTR name;
    BYTE code;
};
extern const GenreRow g_GenreTable[GENRE_TABLE_SIZE];
// The name of the first row with the code; null when no row has it (255 included).
LPCWSTR FindGenreName(int code);

// The RIFF INFO items the tag dialog edits, in the order a LIST chunk is written.
struct RiffInfoFieldRow
{
    LPCWSTR itemId;
    int editId;
    int checkId;
    LPCWSTR label;
};
extern const RiffInfoFieldRow g_RiffInfoFieldTable[RIFF_INFO_FIELD_COUNT];

class CMpegAudioData
{
public:
    CMpegAudioData();
    CMpegAudioData(const CMpegAudioData& src);
    CMpegAudioData& operator=(const CMpegAudioData& src);

    // Clears the tags and the MPEG information; the marks, the file and the read
    // flag stay.
    void Reset();
    // Points the record at a file on disk; FALSE when the file is not found.
    BOOL SetFromPath(LPCWSTR fullPath);
    // Renames the record's file (the tag writer then moves the file to the name).
    void SetFileName(LPCWSTR name);

    // An MP2, MP3, WAV or RMP file of at least 128 bytes.
    BOOL IsTagFile() const;
    BOOL IsMpegKind() const;
    BOOL IsRiffKind() const;
    // 1 success (also for a file that cannot hold tags), 0 when the file could not
    // be opened or read.
    int ReadTags();
    void ScanMpegFrame(HANDLE file);
    // 1 read, 2 none, 0 seek or read failed.
    int ReadRiffInfo(HANDLE file, ULONGLONG length);
    int ReadId3v2Tag(HANDLE file, ULONGLONG length);

    // The 128-byte ID3v1 block of the record; the caller frees it with delete[].
    BYTE* BuildId3v1Block() const;
    // The LIST chunk of the record and its length; null when memory runs out. The
    // caller frees it with delete[].
    BYTE* BuildListInfoChunk(DWORD& length) const;
    // 1 when anything a tag writer or a list shows differs.
    int DiffersFrom(const CMpegAudioData& other) const;

    // The play list's marks.
    int m_failed;
    int m_played;
    CFileInfo m_file;
    int m_read;
    int m_tagFlags;
    CId3v1Fields m_id3v1;
    CMapStringToString m_riffInfo;
    CMapStringToString m_id3v2;
    CMapStringToString m_comments;
    // MPEG information of the accepted frame headers.
    int m_mpegFound;
    int m_mpegVersion;
    int m_mpegLayer;
    int m_mpegBitRateIndex;
    int m_mpegSampleRateIndex;
    int m_mpegChannelMode;
};

int ReadId3v1Tag(CMpegAudioData& record, HANDLE file);

// The title a listing shows for an audio file: its ID3v2 "TIT2" frame, else its RIFF
// INFO "INAM" item, else its ID3v1 title; empty when it has none of them.
CString ReadAudioTitle(const CFileInfo& entry);

// Writes the tags `wanted` describes into the file `current` describes, gives the file
// wanted's name when it differs, and rereads `current`. 1 success, 0 failure (the
// file keeps its attributes either way).
int WriteAudioTags(CMpegAudioData& current, const CMpegAudioData& wanted);

// Frame length in bytes of an MPEG audio frame; 0 for a reserved version, bit rate or
// sample rate.
int CalcMpegFrameLength(int versionCode, int layerCode, int bitRateIndex, int sampleRateIndex, int padding);
// Bit rate in kbit/s and sample rate in Hz; 0 when reserved.
int MpegBitRate(int versionCode, int layerCode, int bitRateIndex);
int MpegSampleRate(int versionCode, int sampleRateIndex);

// Tag bytes as text: UTF-16LE after an FF FE mark, the ANSI code page otherwise;
// ended at the first zero character, trailing blanks removed.
CString DecodeTagText(const BYTE* bytes, size_t length);
// Text as at most `width` ANSI bytes, cut at a character boundary; returns the bytes
// used.
int WideToAnsiField(LPCWSTR text, BYTE* out, int width);
