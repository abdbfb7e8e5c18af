// Character-code detection of the text viewer over a generated corpus: files of random
// sentences from a word list, 20 to 5,000 bytes long, in every code the viewer knows
// (Shift_JIS, EUC-JP, UTF-16LE, JIS and UTF-8, without byte-order marks). For each code
// it prints the share of files detected right (goals: 99.5% in every code, and 100% for
// UTF-8 files of 40 bytes or more) and the time detection takes per file against a
// plain read of the bytes it samples. Arguments: files per code (default 300; 1000 for
// the size the goals were set at), and a
// seed for another corpus (default 1).
#include "bench/BenchSupport.h"
#include "viewers/text/ViewDataThread.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace
{
using qvbench::Seconds;

// Words of everyday text, with some of what makes detection hard: katakana and
// half-width katakana words, characters whose second Shift_JIS byte is 0x5C,
// second-level kanji, the machine-dependent characters of row 13, and ASCII words.
const wchar_t kWordList[] = L"今日 明日 昨日 天気 雨 晴れ 東京 大阪 会社 学校 先生 学生 "
                            L"友達 家族 時間 仕事 電車 駅 電話 予定表 表示 能力 機能 "
                            L"性能 ソフト ソース ソート データ ファイル フォルダ "
                            L"メール サーバー ネットワーク プログラム 設定 変更 保存 "
                            L"削除 確認 開始 終了 入力 出力 文字 漢字 日本語 英語 会議 "
                            L"資料 報告 連絡 問題 解決 結果 理由 方法 必要 重要 簡単 "
                            L"便利 大切 新しい 古い 大きい 小さい 早い 遅い 高い 安い "
                            L"嬉しい 楽しい 難しい 行く 来る 見る 書く 読む 話す 聞く "
                            L"使う 作る 送る 届く 待つ 始める 終わる 呟く 拘る 叱る "
                            L"頷く 曖昧 綺麗 鞄 蕎麦 です ます でした ました ません "
                            L"でしょう ください は が を に で と も の へ から まで "
                            L"より や か ね よ これ それ この その ここ 私 彼 彼女 "
                            L"皆さん ありがとう こんにちは すみません よろしく "
                            L"お願いします 一 二 三 十 百 千 万 円 年 月 日 時 分 "
                            L"ﾃﾞｰﾀ ﾌｧｲﾙ ｶﾀｶﾅ ｼｮｳﾋﾝ ｺｰﾄﾞ "
                            L"ﾊﾞｰｼﾞｮﾝ ① ② ③ ㈱ № ℡ ㎡ ㌔ Ⅱ 「 」 （ ） ・ "
                            L"… ※ ○ ■ ★ →";
const wchar_t kAsciiWordList[] = L"PC USB Windows OK ID 2024 10 v1.2";

// The words of a list separated by spaces.
std::vector<std::wstring> Split(const wchar_t* list)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (const wchar_t* c = list;; ++c)
    {
        if (*c == L' ' || *c == 0)
        {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            if (*c == 0)
                return words;
        }
        else
            word += *c;
    }
}

struct CodeInfo
{
    int code;
    const char* name;
};
const CodeInfo kCodes[] = {
    {VIEWER_CODE_ANSI, "Shift_JIS"}, {VIEWER_CODE_EUC, "EUC-JP"}, {VIEWER_CODE_UTF16, "UTF-16LE"},
    {VIEWER_CODE_JIS, "JIS"},        {VIEWER_CODE_UTF8, "UTF-8"},
};

// Appends text in one code; JIS keeps the mode of the last character so that escape
// sequences stand only where the kind of character changes.
class Encoder
{
public:
    explicit Encoder(int code) : m_code(code) {}

    void Append(const std::wstring& text)
    {
        switch (m_code)
        {
        case VIEWER_CODE_UTF16:
            m_bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
            break;
        case VIEWER_CODE_UTF8:
            m_bytes += Narrow(text, CP_UTF8);
            break;
        case VIEWER_CODE_ANSI:
            m_bytes += Narrow(text, 932);
            break;
        default:
            AppendEuc(Narrow(text, 932));
            break;
        }
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    static std::string Narrow(const std::wstring& w, UINT cp)
    {
        int n =
            WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
        return s;
    }

    // Shift_JIS to EUC-JP (row and cell with the high bit) or JIS (the same between
    // ESC $ B and ESC ( B, half-width katakana between ESC ( I and ESC ( B).
    void AppendEuc(const std::string& sjis)
    {
        for (size_t i = 0; i < sjis.size(); ++i)
        {
            const BYTE s1 = static_cast<BYTE>(sjis[i]);
            if (s1 < 0x80)
            {
                Put(0, s1, 0);
                continue;
            }
            if (s1 >= 0xA1 && s1 <= 0xDF)
            {
                Put(1, s1, 0);
                continue;
            }
            const BYTE s2 = static_cast<BYTE>(sjis[++i]);
            int row = (s1 <= 0x9F ? s1 - 0x81 : s1 - 0xC1) * 2 + 1;
            int cell;
            if (s2 >= 0x9F)
            {
                ++row;
                cell = s2 - 0x9E;
            }
            else
                cell = s2 < 0x7F ? s2 - 0x3F : s2 - 0x40;
            Put(2, static_cast<BYTE>(row + 0xA0), static_cast<BYTE>(cell + 0xA0));
        }
    }

    // kind 0: ASCII, 1: half-width katakana, 2: JIS X 0208.
    void Put(int kind, BYTE a, BYTE b)
    {
        if (m_code == VIEWER_CODE_EUC)
        {
            if (kind == 1)
                m_bytes += '\x8E';
            m_bytes += static_cast<char>(a);
            if (kind == 2)
                m_bytes += static_cast<char>(b);
            return;
        }
        if (kind != m_jisKind)
        {
            m_bytes += kind == 0 ? "\x1B(B" : kind == 1 ? "\x1B(I" : "\x1B$B";
            m_jisKind = kind;
        }
        m_bytes += static_cast<char>(kind == 0 ? a : a & 0x7F);
        if (kind == 2)
            m_bytes += static_cast<char>(b & 0x7F);
    }

    int m_code;
    int m_jisKind = 0;
    std::string m_bytes;
};

// Lines of sentences until the file has reached its length, ending with a line break.
std::string MakeSample(int code, std::mt19937& random)
{
    static const std::vector<std::wstring> kWords = Split(kWordList);
    static const std::vector<std::wstring> kAsciiWords = Split(kAsciiWordList);
    // Lengths spread evenly on a logarithmic scale: as many short files as long ones.
    std::uniform_real_distribution<double> scale(0.0, 1.0);
    const size_t target = static_cast<size_t>(20.0 * std::pow(4950.0 / 20.0, scale(random)));
    const std::wstring lineBreak = random() % 2 ? L"\r\n" : L"\n";
    const size_t breakBytes = code == VIEWER_CODE_UTF16 ? lineBreak.size() * 2 : lineBreak.size();
    Encoder out(code);
    int inLine = 0;
    while (out.Bytes().size() + breakBytes < target)
    {
        const int words = 3 + static_cast<int>(random() % 10);
        for (int w = 0; w < words && out.Bytes().size() + breakBytes < target; ++w)
        {
            // A sentence starts with Japanese; one word in twelve after that is ASCII.
            std::wstring word = w > 0 && random() % 12 == 0 ? kAsciiWords[random() % kAsciiWords.size()]
                                                            : kWords[random() % kWords.size()];
            const unsigned separator = random() % 20;
            if (separator < 2)
                word += L"、";
            else if (separator < 3)
                word += L" ";
            out.Append(word);
        }
        static const wchar_t* const kEnds[] = {L"。", L"。", L"。", L"！", L"？"};
        out.Append(kEnds[random() % 5]);
        if (++inLine == 1 + static_cast<int>(random() % 4))
        {
            out.Append(lineBreak);
            inLine = 0;
        }
    }
    if (inLine != 0 || out.Bytes().empty())
        out.Append(lineBreak);
    return out.Bytes();
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(h);
    return ok && done == bytes.size();
}

HANDLE OpenForReading(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

// What detection reads of the file, and nothing else.
double PlainRead(const std::wstring& path, INT64 size, std::vector<char>& buffer)
{
    const double start = Seconds();
    HANDLE h = OpenForReading(path);
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(size < kViewerSampleSize ? size : kViewerSampleSize);
    ReadFile(h, buffer.data(), wanted, &got, nullptr);
    CloseHandle(h);
    return Seconds() - start;
}

// Opens the file as the viewer does and detects its code.
double Detect(const std::wstring& path, INT64 size, int& found)
{
    const double start = Seconds();
    ViewerTextData data;
    {
        CViewDataThread loader(data, OpenForReading(path), size, 8, 80);
        int detected = -1;
        found = loader.DetectEncoding(VIEWER_CODE_DETECT, detected);
    }
    return Seconds() - start;
}

struct Tally
{
    int files = 0;
    int right = 0;
    int files40 = 0; // of 40 bytes or more
    int right40 = 0;
    long long bytes = 0;
    double detect = 0;
    double read = 0;
    int wrongAs[5] = {};
};
} // namespace

int wmain(int argc, wchar_t** argv)
{
    int perCode = argc > 1 ? _wtoi(argv[1]) : 300;
    if (perCode <= 0)
        perCode = 300;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(_wtoi(argv[2])) : 1u;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"qv_detect_bench";
    CreateDirectoryW(folder.c_str(), nullptr);

    std::mt19937 random(seed);
    std::vector<char> buffer(static_cast<size_t>(kViewerSampleSize));
    Tally tallies[5];
    const double started = Seconds();
    for (int c = 0; c < 5; ++c)
    {
        const CodeInfo& code = kCodes[c];
        Tally& t = tallies[c];
        std::vector<std::wstring> paths;
        std::vector<INT64> sizes;
        for (int i = 0; i < perCode; ++i)
        {
            const std::string sample = MakeSample(code.code, random);
            const std::wstring path =
                folder + L"\\" + std::to_wstring(c) + L"_" + std::to_wstring(i) + L".txt";
            if (!WriteBytes(path, sample))
            {
                std::printf("cannot write the sample files\n");
                return 1;
            }
            paths.push_back(path);
            sizes.push_back(static_cast<INT64>(sample.size()));
        }
        for (size_t i = 0; i < paths.size(); ++i)
        {
            // An untimed read first: both timed runs then find the file in the cache.
            PlainRead(paths[i], sizes[i], buffer);
            t.read += PlainRead(paths[i], sizes[i], buffer);
            int found = -1;
            t.detect += Detect(paths[i], sizes[i], found);
            ++t.files;
            t.bytes += sizes[i];
            const bool right = found == code.code;
            t.right += right;
            if (sizes[i] >= 40)
            {
                ++t.files40;
                t.right40 += right;
            }
            if (!right && found >= 0 && found < 5)
                ++t.wrongAs[found];
            DeleteFileW(paths[i].c_str());
        }
        std::printf("%-10s %d files, %.0f bytes on average: %d right", code.name, t.files,
                    static_cast<double>(t.bytes) / t.files, t.right);
        for (int w = 0; w < 5; ++w)
            if (t.wrongAs[w] > 0)
                std::printf(", %d taken for %s", t.wrongAs[w], kCodes[w].name);
        std::printf("\n");
    }
    RemoveDirectoryW(folder.c_str());

    std::printf("\n%-10s %6s %8s %8s %11s %8s %12s %10s %6s\n", "code", "files", "right", "goal",
                "40 B and up", "goal", "detect us", "read us", "ratio");
    for (int c = 0; c < 5; ++c)
    {
        const Tally& t = tallies[c];
        const double share = 100.0 * t.right / t.files;
        const double share40 = t.files40 ? 100.0 * t.right40 / t.files40 : 100.0;
        const double goal40 = kCodes[c].code == VIEWER_CODE_UTF8 ? 100.0 : 99.5;
        const double detect = t.detect * 1e6 / t.files;
        const double read = t.read * 1e6 / t.files;
        std::printf("%-10s %6d %7.2f%% %7.1f%% %10.2f%% %7.1f%% %12.1f %10.1f %6.2f%s\n", kCodes[c].name,
                    t.files, share, 99.5, share40, goal40, detect, read, read > 0 ? detect / read : 0.0,
                    share >= 99.5 && share40 >= goal40 ? "" : "  below the goal");
        char scenario[96];
        std::snprintf(scenario, sizeof scenario, "detection, %s, %% right", kCodes[c].name);
        qvbench::RecordRow(scenario, share, share, share, 1, 99.5, true);
        if (kCodes[c].code == VIEWER_CODE_UTF8)
            qvbench::RecordRow("detection, UTF-8 of 40 B and up, % right", share40, share40, share40, 1,
                               goal40, true);
        std::snprintf(scenario, sizeof scenario, "detection, %s, time per file", kCodes[c].name);
        const double ratio = read > 0 ? detect / read : 0.0;
        qvbench::RecordRow(scenario, ratio, ratio, ratio, 1, 0);
    }
    std::printf("(%.1f s in all; times per file, detection against a plain read of its sample)\n",
                Seconds() - started);
    return 0;
}
