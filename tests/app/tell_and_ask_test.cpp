// Tell and Ask: every kind of box records its question for a script, and the
// answer becomes true only for OK, Yes or Retry.
#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "res/CommonDialogs.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::wstring W(const CString& text)
{
    return std::wstring(text.GetString());
}

struct AskCase
{
    MessageBoxKind kind;
    INT_PTR answer;
    bool expected;
    UINT dialogId; // the program's own box, or none for the system's
};

TEST(TellAndAsk, AskIsTrueOnlyForTheFirstButtonOfEachKind)
{
    const AskCase cases[] = {
        {MessageBoxKind::OkCancel, IDOK, true, IDD_MESSAGE_BOX},
        {MessageBoxKind::OkCancel, IDCANCEL, false, IDD_MESSAGE_BOX},
        {MessageBoxKind::YesNo, IDYES, true, IDD_MESSAGE_BOX},
        {MessageBoxKind::YesNo, IDNO, false, IDD_MESSAGE_BOX},
        {MessageBoxKind::YesNo, IDOK, false, IDD_MESSAGE_BOX},
        {MessageBoxKind::YesNoCancel, IDYES, true, 0},
        {MessageBoxKind::YesNoCancel, IDCANCEL, false, 0},
        {MessageBoxKind::RetryCancel, IDRETRY, true, 0},
        {MessageBoxKind::RetryCancel, IDCANCEL, false, 0},
    };
    for (const AskCase& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.kind));
        SCOPED_TRACE(c.answer);
        CDialogAnswerScript script;
        script.Add(c.answer);
        EXPECT_EQ(c.expected, Ask(nullptr, L"続けますか", L"確認", c.kind));
        const std::vector<CDialogQuestion> questions = script.GetQuestions();
        ASSERT_EQ(1u, questions.size());
        EXPECT_EQ(c.dialogId, questions[0].dialogId);
        EXPECT_EQ(static_cast<int>(c.kind), questions[0].type);
        EXPECT_EQ(L"続けますか", W(questions[0].text));
        EXPECT_EQ(L"確認", W(questions[0].caption));
    }
}

TEST(TellAndAsk, AskYesNoCancelKeepsCancelApart)
{
    CDialogAnswerScript script;
    script.Add(IDYES);
    script.Add(IDNO);
    script.Add(IDCANCEL);
    EXPECT_EQ(std::optional<bool>(true), AskYesNoCancel(nullptr, L"保存しますか", nullptr));
    EXPECT_EQ(std::optional<bool>(false), AskYesNoCancel(nullptr, L"保存しますか", nullptr));
    EXPECT_EQ(std::nullopt, AskYesNoCancel(nullptr, L"保存しますか", nullptr));
    // The script has run out: no answer is no choice.
    EXPECT_EQ(std::nullopt, AskYesNoCancel(nullptr, L"保存しますか", nullptr));
    EXPECT_EQ(MB_YESNOCANCEL, script.GetQuestions()[0].type);
    EXPECT_EQ(L"qv", W(script.GetQuestions()[0].caption));
}

TEST(TellAndAsk, TellShowsOkOnlyWithTheDefaultOrTheGivenCaption)
{
    CDialogAnswerScript script;
    CWnd noWindow; // an owner without a window owns nothing
    Tell(&noWindow, L"検索終了しました");
    Tell(nullptr, L"失敗しました", L"エラー");
    Tell(nullptr, L"ボリュームラベルの変更に失敗しました", L"");
    const std::vector<CDialogQuestion> questions = script.GetQuestions();
    ASSERT_EQ(3u, questions.size());
    for (const CDialogQuestion& question : questions)
    {
        EXPECT_EQ(static_cast<UINT>(IDD_MESSAGE_BOX), question.dialogId);
        EXPECT_EQ(MB_OK, question.type);
    }
    EXPECT_EQ(L"検索終了しました", W(questions[0].text));
    EXPECT_EQ(L"qv", W(questions[0].caption));
    EXPECT_EQ(L"エラー", W(questions[1].caption));
    EXPECT_EQ(L"", W(questions[2].caption));
    EXPECT_EQ(nullptr, DialogOwner(&noWindow));
    EXPECT_EQ(nullptr, DialogOwner(nullptr));
}

} // namespace
