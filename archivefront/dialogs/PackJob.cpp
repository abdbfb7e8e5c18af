#include "archivefront/dialogs/PackJob.h"

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/settings/ArchiverSettings.h"
#include "archivefront/ArchiveFront.h"
#include "archivefront/sevenzip/SevenZipArchive.h"

#include <vector>

const PackSfxKindRow g_LhaSfxKinds[7] = {{L"LZH形式(SFXにしない)", L"", 0},
                                         {L"NT/95版SFX", L"-gw", 0},
                                         {L"NT/95版SFX(WinSFX32M)", L"-gw3", 0},
                                         {L"Win版SFX", L"-jw", 1},
                                         {L"Win版SFX(WinSFXM)", L"-jw3", 1},
                                         {L"SMALL版SFX", L"-x0", 1},
                                         {L"LARGE版SFX", L"-x1", 1}};
const PackSfxKindRow g_ZipSfxKinds[3] = {
    {L"ZIP形式(SFXにしない)", L"", 0}, {L"WIN32/GUI", L"--sfx=sfx32gui.dat", 0}, {L"DOS用", L"sfx16.dat", 1}};
const PackTypeRow g_LhaPackTypes[4] = {
    {L"無圧縮", L"-jm0"}, {L"lh5形式", L"-jm2"}, {L"lh6形式", L"-jm3"}, {L"lh7形式", L"-jm4"}};
const PackTypeRow g_ZipPackTypes[10] = {
    {L"無圧縮", L"-0"}, {L"最最高速", L"-1"}, {L"最高速", L"-2"}, {L"高速", L"-3"},   {L"微高速", L"-4"},
    {L"中速", L"-5"},   {L"微低速", L"-6"},   {L"低速", L"-7"},   {L"最低速", L"-8"}, {L"最最低速", L"-9"}};
const PackTypeRow g_SevenZipPackTypes[6] = {{L"7z", L"7z"}, {L"ZIP", L"zip"},     {L"TAR", L"tar"},
                                            {L"XZ", L"xz"}, {L"BZIP2", L"bzip2"}, {L"GZIP", L"gzip"}};

namespace
{
const PackSfxKindRow kNoSfxRow[1] = {{L"", L"", 0}};

const CPackKindInfo kKinds[] = {
    {ARCFRONT_ARCHIVER, L"ファイルの圧縮(LHA)", L"個別ファイルの圧縮(LHA)", g_LhaSfxKinds, 7, &g_LHASFXTYPE,
     g_LhaPackTypes, 4, &g_LHAPACKTYPE, &g_LHA_PACK_EXT},
    {ARCFRONT_ARCHIVER, L"ファイルの圧縮(ZIP)", L"個別ファイルの圧縮(ZIP)", g_ZipSfxKinds, 3, &g_ZIPSFXTYPE,
     g_ZipPackTypes, 10, &g_ZIPPACKTYPE, &g_ZIP_PACK_EXT},
    {ARCFRONT_SEVENZIP, L"ファイルの圧縮(7Z)", L"個別ファイルの圧縮(7Z)", kNoSfxRow, 1, nullptr,
     g_SevenZipPackTypes, 6, &g_7Z_PACK_TYPE, &g_7Z_PACK_EXT},
};

int Clamp(int value, int count)
{
    return value < 0 || value >= count ? 0 : value;
}

CString ErrorText(CArchiveFront& front)
{
    return front.m_errors.GetMessageText();
}

// A folder of its own under the temporary folder, so that an archive of the same
// name left there before is never added to.
CString MakeFreshTempFolder()
{
    CString temp;
    GetTempDirectory(temp);
    for (DWORD attempt = 0; attempt < 1000; ++attempt)
    {
        CString folder;
        folder.Format(L"%s\\QvPack%08X", temp.GetString(), GetTickCount() + GetCurrentThreadId() + attempt);
        if (CreateDirectoryLong(folder, nullptr))
            return folder;
    }
    return CString();
}

// Loads the 7-Zip library and gives it up again at once.
int SevenZipLoads()
{
    CSevenZipArchive probe;
    int loads = probe.LoadLibrary();
    probe.UnloadLibrary();
    return loads;
}

CString BaseNameOf(const CString& name)
{
    CString base;
    SplitExtension(name, &base, nullptr);
    return base;
}

// A failure of one pass: the loop ends (return false) or goes on after the user's Yes.
bool GoOnAfterFailure(CArchiveFront& front, const CPackRequest& request, CWnd* owner, LPCWSTR oneFormat,
                      LPCWSTR perFileFormat)
{
    if (front.m_errors.HasCode(ARCERR_USER_CANCEL))
        return false;
    CString text;
    if (!request.perFile)
    {
        text.Format(oneFormat, ErrorText(front).GetString());
        Tell(owner, text, L"圧縮失敗");
        return false;
    }
    text.Format(perFileFormat, ErrorText(front).GetString());
    return Ask(owner, text, L"圧縮失敗", MessageBoxKind::YesNo);
}
} // namespace

const CPackKindInfo& GetPackKindInfo(int kind)
{
    if (kind == PACK_KIND_ZIP)
        return kKinds[1];
    if (kind == PACK_KIND_7Z)
        return kKinds[2];
    return kKinds[0];
}

int GetStoredSfxRow(int kind)
{
    const CPackKindInfo& info = GetPackKindInfo(kind);
    return info.sfxSetting ? Clamp(*info.sfxSetting, info.sfxCount) : 0;
}

int GetStoredTypeRow(int kind)
{
    const CPackKindInfo& info = GetPackKindInfo(kind);
    return Clamp(*info.typeSetting, info.typeCount);
}

int GetStoredExtensionCase(int kind)
{
    return Clamp(*GetPackKindInfo(kind).extensionSetting, 3);
}

int RunPackRequest(const CPackRequest& request, CWnd* owner)
{
    const CPackKindInfo& info = GetPackKindInfo(request.kind);
    if (!request.perFile && request.archiveName.IsEmpty() &&
        !Ask(owner, L"圧縮ファイル名が入力されていません。\n処理を続けますか?", L"確認",
             MessageBoxKind::OkCancel))
        return PACK_STAY_OPEN;

    int backEnd = info.backEnd;
    int sfxRow = Clamp(request.sfxRow, info.sfxCount);
    const PackTypeRow* typeRow = &info.typeRows[Clamp(request.typeRow, info.typeCount)];
    if (info.sfxSetting)
        *info.sfxSetting = sfxRow;
    *info.extensionSetting = Clamp(request.extensionCase, 3);

    // A zip archive without a program around it is made by the 7-Zip library whenever
    // that library is there: the level chosen for the archiver library does not apply.
    if (request.kind == PACK_KIND_ZIP && sfxRow == 0 && SevenZipLoads())
    {
        backEnd = ARCFRONT_SEVENZIP;
        typeRow = &g_SevenZipPackTypes[1];
    }
    else
        *info.typeSetting = Clamp(request.typeRow, info.typeCount);

    CString extension, forcedSwitch;
    if (backEnd == ARCFRONT_ARCHIVER)
    {
        extension = request.kind == PACK_KIND_ZIP ? L"zip" : L"lzh";
        forcedSwitch = request.kind == PACK_KIND_ZIP ? L"-k" : L"-ji1";
    }
    else
        extension = typeRow->switchText;
    int extensionCase = Clamp(request.extensionCase, 3);
    if (extensionCase == PACK_EXT_LOWER)
        extension.MakeLower();
    else if (extensionCase == PACK_EXT_UPPER)
        extension.MakeUpper();

    if (!request.perFile)
        g_PACKEXISTOVERWRITE = request.confirmOverwrite ? 1 : 0;

    CString destination = request.destination;
    if (destination == L"..")
    {
        int backslashes = 0;
        for (int i = 0; i < request.sourceDir.GetLength(); ++i)
            backslashes += request.sourceDir[i] == L'\\';
        int last = request.sourceDir.ReverseFind(L'\\');
        if (last < 0 || (request.sourceDir.Left(1) == L"\\" && backslashes < 4))
        {
            Tell(owner, L"親ディレクトリがないため圧縮できません");
            return PACK_STAY_OPEN;
        }
        destination = request.sourceDir.Left(last);
    }

    CString folder;
    if (!ResolvePaneTargetDirectory(request.sourceDir, destination, folder, RESOLVE_CHECK_DRIVE,
                                    request.paneIndex))
    {
        Tell(owner, L"入力したディレクトリ名が不正です");
        return PACK_STAY_OPEN;
    }

    std::vector<char> done(static_cast<size_t>(request.files.GetSize()) + 5, 0);
    for (;;)
    {
        CArchiveFront front;
        if (!front.SelectPackBackEnd(backEnd, request.kind))
        {
            CString text;
            if (!request.perFile)
            {
                text.Format(L"圧縮に失敗しました(%s)。", ErrorText(front).GetString());
                Tell(owner, text, L"圧縮失敗");
                break;
            }
            text.Format(L"圧縮に失敗しました(%s)。\n続けますか?", ErrorText(front).GetString());
            if (!Ask(owner, text, L"圧縮失敗", MessageBoxKind::YesNo))
                break;
        }
        front.ResetOptions();

        CString name;
        INT_PTR first = -1;
        if (request.perFile)
        {
            for (INT_PTR i = 0; i < request.files.GetSize() && first < 0; ++i)
                if (!done[static_cast<size_t>(i)])
                    first = i;
            if (first < 0)
                break;
            name = BaseNameOf(request.files[first]);
        }
        else
        {
            CString base, typed;
            SplitExtension(request.archiveName, &base, &typed);
            name = typed.CompareNoCase(extension) == 0 ? base : request.archiveName;
        }
        CString fullName;
        fullName.Format(L"%s\\%s.%s", folder.GetString(), name.GetString(), extension.GetString());

        // An archive that is one of its own inputs would be read while it is rewritten.
        CStringArray group;
        for (INT_PTR i = request.perFile ? first : 0; i < request.files.GetSize(); ++i)
            if (!request.perFile ||
                (!done[static_cast<size_t>(i)] && BaseNameOf(request.files[i]).CompareNoCase(name) == 0))
            {
                group.Add(request.files[i]);
                if (request.perFile)
                    done[static_cast<size_t>(i)] = 1;
            }
        bool packsItself = false;
        for (INT_PTR i = 0; i < group.GetSize() && !packsItself; ++i)
        {
            CString input;
            MakePath(request.sourceDir, group[i], input);
            packsItself = input.CompareNoCase(fullName) == 0;
        }
        if (packsItself)
        {
            CString text;
            text.Format(L"圧縮するファイルに圧縮ファイル自身が含まれているため圧縮できません\n%s",
                        fullName.GetString());
            if (!request.perFile)
            {
                Tell(owner, text, L"圧縮失敗");
                return PACK_STAY_OPEN;
            }
            if (!Ask(owner, text + L"\n続けますか?", L"圧縮失敗", MessageBoxKind::YesNo))
                break;
            continue;
        }

        if (!request.perFile && request.confirmOverwrite && FileExists(fullName))
        {
            CString text;
            text.Format(L"%sは存在します。\n上書きしますか", fullName.GetString());
            if (!Ask(owner, text, L"確認", MessageBoxKind::YesNo))
                return PACK_STAY_OPEN;
        }

        CString tempFolder;
        CString basePath;
        basePath.Format(L"%s\\%s", folder.GetString(), name.GetString());
        if (request.kind == PACK_KIND_LHA && sfxRow != 0)
        {
            tempFolder = MakeFreshTempFolder();
            basePath.Format(L"%s\\%s", tempFolder.GetString(), name.GetString());
        }
        CString archivePath = basePath + L"." + extension;

        front.SetOption(1, extensionCase == PACK_EXT_AS_GIVEN && backEnd == ARCFRONT_ARCHIVER ? basePath
                                                                                              : archivePath);
        front.SetOption(0, request.sourceDir);
        if (backEnd == ARCFRONT_ARCHIVER)
        {
            const CArchiverDllEntry& row = g_ArchiverDllTable[request.kind];
            const PackSfxKindRow& sfx = info.sfxRows[sfxRow];
            for (int i = 0; i < row.packOptionCount; ++i)
            {
                const CArchiverOption& option = row.packOptions[i];
                // Self-extracting programs of these rows cannot carry long names.
                bool forced = sfxRow != 0 && sfx.shortNameFlag == 1 && forcedSwitch == option.switchOn;
                front.SetOption(3, forced || option.flag == 1 ? option.switchOn : option.switchOff);
            }
        }
        if (request.password)
            front.SetOption(4, static_cast<LPCWSTR>(nullptr));
        front.SetOption(3, typeRow->switchText);
        for (INT_PTR i = 0; i < group.GetSize(); ++i)
            front.SetOption(13, group[i]);

        bool goOn = true;
        if (!front.CreateArchive(owner, 0))
            goOn = GoOnAfterFailure(front, request, owner, L"%s", L"%s\n続けますか?");
        else if (sfxRow != 0)
        {
            CString source = basePath;
            if (request.kind == PACK_KIND_ZIP)
                source += L"." + extension;
            front.ResetOptions();
            front.SetOption(5, folder);
            front.SetOption(1, source);
            front.SetOption(3, info.sfxRows[sfxRow].switchText);
            int made = front.MakeSelfExtracting(owner, 0);
            if (!made)
                goOn = GoOnAfterFailure(front, request, owner, L"%s", L"%s\n続けますか?");
            // The intermediate archive goes once the program exists or the user gave
            // the program up and went on.
            if (made || goOn)
                DeleteFileLong(archivePath);
        }
        if (!tempFolder.IsEmpty())
        {
            DeleteFileLong(archivePath);
            RemoveDirectoryLong(tempFolder);
        }
        if (!goOn || !request.perFile)
            break;
    }
    return PACK_CLOSE;
}
