#include "app/dialogs/DialogAnswerScript.h"

#include <mutex>

namespace
{

// Workers ask from their own threads while the test thread adds answers and
// reads the questions.
std::mutex& ScriptMutex()
{
    static std::mutex mutex;
    return mutex;
}

CDialogAnswerScript*& ActiveScript()
{
    static CDialogAnswerScript* script = nullptr;
    return script;
}

} // namespace

CDialogAnswerScript::CDialogAnswerScript()
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    ASSERT(ActiveScript() == nullptr);
    ActiveScript() = this;
}

CDialogAnswerScript::~CDialogAnswerScript()
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    if (ActiveScript() == this)
        ActiveScript() = nullptr;
}

void CDialogAnswerScript::Add(INT_PTR result)
{
    CDialogAnswer answer;
    answer.result = result;
    Add(answer);
}

void CDialogAnswerScript::Add(INT_PTR result, LPCWSTR text)
{
    CDialogAnswer answer;
    answer.result = result;
    answer.text = text;
    Add(answer);
}

void CDialogAnswerScript::Add(const CDialogAnswer& answer)
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    m_answers.push_back(answer);
}

std::vector<CDialogQuestion> CDialogAnswerScript::GetQuestions() const
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    return m_questions;
}

size_t CDialogAnswerScript::GetRemaining() const
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    return m_answers.size() - m_nextAnswer;
}

int CDialogAnswerScript::GetUnanswered() const
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    return m_unanswered;
}

BOOL CDialogAnswerScript::Answer(const CDialogQuestion& question, CDialogAnswer& answer)
{
    std::lock_guard<std::mutex> lock(ScriptMutex());
    CDialogAnswerScript* script = ActiveScript();
    if (script == nullptr)
        return FALSE;
    script->m_questions.push_back(question);
    if (script->m_nextAnswer < script->m_answers.size())
    {
        answer = script->m_answers[script->m_nextAnswer++];
    }
    else
    {
        ++script->m_unanswered;
        answer = CDialogAnswer();
        answer.result = -1;
    }
    return TRUE;
}

INT_PTR CScriptedDialog::DoModal()
{
    CDialogAnswer answer;
    if (!CDialogAnswerScript::Answer(GetQuestion(), answer))
        return CDialog::DoModal();
    ApplyAnswer(answer);
    return answer.result;
}
