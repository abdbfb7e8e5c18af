// The option switches of the common-archiver libraries that the settings file keeps
// (sections "UNPACKDATA" and "PACKDATA"). They live in the settings layer so that
// every library can reach them, the archive front end included.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// One unpack or pack option; the flag (1 on) is the user's setting.
struct CArchiverOption
{
    const wchar_t* label;
    const wchar_t* switchOn;
    const wchar_t* switchOff;
    WORD flag;
};

// The rows' options, with the built-in flags.
inline CArchiverOption g_LzhUnpackOptions[] = {{L"属性を再現する", L"-a2", L"-a0", 1},
                                               {L"質問にYESと返す", L"-m1", L"-m0", 1},
                                               {L"新規作成・古いファイルで上書き", L"-u2", L"", 0},
                                               {L"空き", L"", L"", 1},
                                               {L"破損ヘッダを無視", L"-jc1", L"-jc0", 0},
                                               {L"存在しないファイルのみ展開", L"-jn1", L"-jn0", 0}};
inline CArchiverOption g_ZipUnpackOptions[] = {{L"新規作成・ファイルのアップデート", L"-u", L"-x", 0},
                                               {L"正規表現で大文字と小文字を区別する", L"-C", L"--C", 1},
                                               {L"空き", L"", L"", 0},
                                               {L"ファイルが存在すれば上書きしない", L"-n", L"", 0},
                                               {L"ユーザーに問い合わせることなくすべて上書き", L"-o", L"", 0},
                                               {L"できるだけよけいな情報は表示しない", L"-qq", L"", 0}};
inline CArchiverOption g_CabUnpackOptions[] = {
    {L"空き", L"", L"", 0}, {L"新しいファイルのみを解凍", L"-n", L"", 0}, {L"無条件に上書き", L"-o", L"", 0}};
inline CArchiverOption g_RarUnpackOptions[] = {{L"すべてにYESを返す", L"-y", L"", 0},
                                               {L"無条件に上書き", L"-o", L"", 0},
                                               {L"ファイルが存在すれば上書きしない", L"-o-", L"", 0},
                                               {L"ファイルのアップデート", L"-f", L"", 0},
                                               {L"新規作成・ファイルのアップデート", L"-u", L"", 0}};
inline CArchiverOption g_ArjUnpackOptions[] = {
    {L"すでにあるファイルを更新", L"-f", L"", 0},         {L"新しいファイルのみ展開", L"-n", L"", 0},
    {L"新規作成・ファイルのアップデート", L"-u", L"", 1}, {L"すべてにYESを返す", L"-y", L"", 0},
    {L"書き込み不可属性を無視", L"-ha", L"", 1},          {L"空き", L"", L"", 0}};
inline CArchiverOption g_TarUnpackOptions[] = {{L"オプションなし", L"", L"", 0}};
inline CArchiverOption g_GcaUnpackOptions[] = {{L"すべてにYESを返す", L"-yx0", L"-yx1", 1},
                                               {L"進捗ダイアログの表示", L"-sx1", L"-sx0", 1}};
inline CArchiverOption g_SevenZipUnpackOptions[] = {
    {L"ファイルが存在すれば上書きしない", L"-aos", L"-aoa", 0}, {L"すべてにYESを返す", L"-y", L"", 0}};
inline CArchiverOption g_LzhPackOptions[] = {{L"属性を再現する", L"-a2", L"-a0", 1},
                                             {L"ディレクトリ名の格納", L"-d1", L"-d0", 1},
                                             {L"質問にYESと返す", L"-m1", L"-m0", 1},
                                             {L"短いファイル名で格納", L"-ji1", L"-ji0", 0}};
inline CArchiverOption g_ZipPackOptions[] = {{L"システム属性や隠し属性のファイルも対象とする", L"-S", L"", 1},
                                             {L"ボリュームラベルも格納する", L"-$", L"", 0},
                                             {L"UnixやOS/2等で用いる(拡張)属性は保存しない", L"-X", L"", 0},
                                             {L"ディレクトリ名を格納しない", L"-D", L"", 0},
                                             {L"メッセージを詳細表示する", L"-v", L"", 0},
                                             {L"処理を静かにする", L"-q", L"", 0},
                                             {L"CR/LFをLFに変換する(MS-DOS->Unix)", L"-ll", L"", 0},
                                             {L"LFをCR/LFに変換する(Unix->MS-DOS)", L"-l", L"", 0},
                                             {L"ファイル名のパスを保存しない", L"-j", L"", 0},
                                             {L"Allow appending to a zip file", L"-g", L"", 1},
                                             {L"ファイル名をMS-DOS形式で保存する", L"-k", L"", 0},
                                             {L"書庫にファイルを移動する", L"-m", L"", 0}};

// One archiver row as far as the settings file concerns it; the archive front end
// adds the library names and commands.
struct CArchiverDllEntry
{
    const wchar_t* formatName;
    int unpackOptionCount;
    CArchiverOption* unpackOptions;
    int packOptionCount;
    CArchiverOption* packOptions;
};

constexpr int ARCHIVER_ROW_COUNT = 8;
// LZH, ZIP, CAB, RAR, ARJ, TAR, GCA, 7Z: the row numbers of "UNPACK%02d%02d".
inline CArchiverDllEntry g_ArchiverDllTable[ARCHIVER_ROW_COUNT] = {
    {L"LZH", 6, g_LzhUnpackOptions, 4, g_LzhPackOptions},
    {L"ZIP", 6, g_ZipUnpackOptions, 12, g_ZipPackOptions},
    {L"CAB", 3, g_CabUnpackOptions, 0, nullptr},
    {L"RAR", 5, g_RarUnpackOptions, 0, nullptr},
    {L"ARJ", 6, g_ArjUnpackOptions, 0, nullptr},
    {L"TAR", 1, g_TarUnpackOptions, 0, nullptr},
    {L"GCA", 2, g_GcaUnpackOptions, 0, nullptr},
    {L"7Z", 2, g_SevenZipUnpackOptions, 0, nullptr}};

// The folder of the archiver bridge library "Unbypass.dll"; guarded by g_DataMutex.
inline CString g_UnbypassDllPath;

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

// "UNPACKDATA": the bridge folder and the unpack options; "PACKDATA": the pack options.
void LoadSectionUnpackData(CIniFile& ini);
void SaveSectionUnpackData(CIniFile& ini);
void ResetSectionUnpackData();
void LoadSectionPackData(CIniFile& ini);
void SaveSectionPackData(CIniFile& ini);
void ResetSectionPackData();
