// The binary compare: the report byte for byte in its forms and limits, a file that
// shrank under the worker, and the dialog's run and abort.
#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/compare/CmpBinaryDlg.h"
#include "fileops/compare/CmpThread.h"
#include "res/SyncDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "tests/fileops/FileopsTestHelpers.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using fileopstest::MakeFile;

namespace
{

std::wstring Head(const std::wstring& file1, const std::wstring& file2, const std::wstring& forms,
                  const std::wstring& columns)
{
    return L"File1:" + file1 + L"\nFile2:" + file2 + L"\n           " + forms + L"\nADDRESS    FILE1 FILE2" +
           columns + L"\n";
}

struct CompareRun
{
    int result;
    std::string report;
    int lastPercent;
};

void RecordPercent(int done, int total, void* owner)
{
    *static_cast<int*>(owner) = done * 100 / total;
}

CompareRun Compare(const std::wstring& file1, const std::wstring& file2, BOOL decimal, BOOL hexadecimal,
                   BOOL noLimit = TRUE, int maximum = 0)
{
    const std::wstring output = file1.substr(0, file1.rfind(L'\\')) + L"\\report.txt";
    CCmpThread worker;
    worker.m_file1 = file1.c_str();
    worker.m_file2 = file2.c_str();
    worker.m_output = output.c_str();
    worker.m_decimal = decimal;
    worker.m_hexadecimal = hexadecimal;
    worker.m_noLimit = noLimit;
    worker.m_maximum = maximum;
    CompareRun run = {0, "", -1};
    worker.m_progress = RecordPercent;
    worker.m_progressOwner = &run.lastPercent;
    run.result = worker.Compare();
    run.report = qvtest::ReadFileBytes(output);
    return run;
}

TEST(BinaryCompare, ReportsEveryDifferenceInTheChosenForms)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring same1 = MakeFile(dir, L"same1.bin", "0123456789");
    const std::wstring same2 = MakeFile(dir, L"same2.bin", "0123456789");
    const std::wstring longer = MakeFile(dir, L"longer.bin", "01234567890123456789");
    const std::wstring a = MakeFile(dir, L"a.bin", std::string("\x00\x41\x42\xff", 4));
    const std::wstring b = MakeFile(dir, L"b.bin", std::string("\x00\x42\x42\x10\x99", 5));
    const std::wstring empty = MakeFile(dir, L"empty.bin", "");
    struct Case
    {
        std::wstring file1, file2;
        BOOL decimal, hexadecimal;
        std::wstring forms, columns, lines;
    } cases[] = {
        {same1, same2, TRUE, FALSE, L"10進表記", L"", L""},
        // Bytes past the end of the shorter file are neither compared nor mentioned.
        {same1, longer, TRUE, TRUE, L"10進表記    | 16進表記", L" | FILE1 FILE2", L""},
        {a, b, TRUE, TRUE, L"10進表記    | 16進表記", L" | FILE1 FILE2",
         L"00000001H  065   066   | 41    42\n00000003H  255   016   | FF    10\n"},
        {a, b, TRUE, FALSE, L"10進表記", L"", L"00000001H  065   066\n00000003H  255   016\n"},
        {a, b, FALSE, TRUE, L"16進表記", L"", L"00000001H  41    42\n00000003H  FF    10\n"},
        {empty, a, TRUE, FALSE, L"10進表記", L"", L""},
    };
    for (const Case& c : cases)
    {
        const CompareRun run = Compare(c.file1, c.file2, c.decimal, c.hexadecimal);
        EXPECT_EQ(0, run.result);
        EXPECT_EQ(qvtest::Utf16File(Head(c.file1, c.file2, c.forms, c.columns) + c.lines), run.report);
        EXPECT_EQ(100, run.lastPercent);
    }
}

TEST(BinaryCompare, MaximumCountEndsTheReport)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring a = MakeFile(dir, L"a.bin", "aaaaaa");
    const std::wstring b = MakeFile(dir, L"b.bin", "bbbbbb");
    const CompareRun run = Compare(a, b, FALSE, TRUE, FALSE, 3);
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(qvtest::Utf16File(Head(a, b, L"16進表記", L"") +
                                L"00000000H  61    62\n00000001H  61    62\n00000002H  61    62\n"),
              run.report);
}

TEST(BinaryCompare, LineFormatterWidensLargeOffsets)
{
    EXPECT_EQ(L"100000000H  001   002",
              std::wstring(CCmpThread::FormatDifferenceLine(0x100000000ULL, 1, 2, TRUE, FALSE)));
    EXPECT_EQ(L"00000010H  0A    0B",
              std::wstring(CCmpThread::FormatDifferenceLine(16, 10, 11, FALSE, TRUE)));
}

TEST(BinaryCompare, MissingFileAndUncreatableReportFail)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring a = MakeFile(dir, L"a.bin", "abc");
    EXPECT_EQ(-1, Compare(a, dir + L"\\missing.bin", TRUE, FALSE).result);
    CCmpThread worker;
    worker.m_file1 = a.c_str();
    worker.m_file2 = a.c_str();
    worker.m_output = (dir + L"\\no\\such\\folder\\report.txt").c_str();
    EXPECT_EQ(-1, worker.Compare());
}

class CDrivenCmpBinaryDlg : public qvtest::CDrivenDialog<CDrivenCmpBinaryDlg, CCmpBinaryDlg>
{
};

TEST(BinaryCompareDialog, RunsToTheEndAndAbortReturns)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring a = MakeFile(dir, L"a.bin", std::string(4000000, 'a'));
    const std::wstring b = MakeFile(dir, L"b.bin", std::string(4000000, 'b'));
    for (int abort = 0; abort < 2; ++abort)
    {
        CDrivenCmpBinaryDlg dialog;
        dialog.m_file1 = L"a.bin";
        dialog.m_file2 = L"b.bin";
        dialog.m_workingDirectory = dir.c_str();
        dialog.drive = [&](CDrivenCmpBinaryDlg& d) {
            d.SetDlgItemText(IDC_CMP_OUTPUT, L"report.txt");
            d.CheckDlgButton(IDC_CMP_NO_LIMIT, BST_UNCHECKED);
            d.SetDlgItemText(IDC_CMP_MAXIMUM, abort ? L"100000000" : L"2");
            d.Command(IDOK);
            if (abort)
                d.Command(IDC_CMP_ABORT);
        };
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(nullptr, g_pCmpThread);
        const std::string report = qvtest::ReadFileBytes(dir + L"\\report.txt");
        const std::string head = qvtest::Utf16File(Head(L"a.bin", L"b.bin", L"10進表記", L""));
        EXPECT_EQ(head, report.substr(0, head.size()));
        if (!abort)
        {
            EXPECT_EQ(head + qvtest::Utf16Bytes(L"00000000H  097   098\n00000001H  097   098\n", false),
                      report);
        }
    }
}

TEST(BinaryCompareDialog, RefusesMissingInputInOrderWithItsMessage)
{
    CDialogAnswerScript script;
    for (int i = 0; i < 4; ++i)
        script.Add(IDOK);
    CDrivenCmpBinaryDlg dialog;
    dialog.drive = [&](CDrivenCmpBinaryDlg& d) {
        d.Command(IDOK);
        d.SetDlgItemText(IDC_CMP_FILE1, L"a");
        d.Command(IDOK);
        d.SetDlgItemText(IDC_CMP_FILE2, L"b");
        d.Command(IDOK);
        d.SetDlgItemText(IDC_CMP_OUTPUT, L"c");
        d.CheckDlgButton(IDC_CMP_DECIMAL, BST_UNCHECKED);
        d.Command(IDOK);
        EXPECT_EQ(nullptr, g_pCmpThread);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    const std::vector<CDialogQuestion> questions = script.GetQuestions();
    ASSERT_EQ(4u, questions.size());
    const wchar_t* expected[] = {L"File1の名前を入力してください", L"File2の名前を入力してください",
                                 L"出力ファイルの名前を入力してください",
                                 L"10進表記か16進表記をチェックしてください"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::wstring(expected[i]), std::wstring(questions[i].text));
}

} // namespace
