// The answers a worker (copy, delete, unpacking) gets to its questions about one
// entry, in one vocabulary for all of them. A worker asks on its own thread;
// what it then does with the entry and with the rest of the job follows the answer.
#pragma once

enum EngineAnswer
{
    ANSWER_GO_ON,         // do as chosen for this entry and ask again next time
    ANSWER_SAME_FOR_REST, // do as chosen for this entry and every later one, without asking
    ANSWER_SKIP,          // pass over this entry and go on with the next
    ANSWER_SKIP_ALL       // pass over this entry and every later one asked about the same way
};

// The answer of a question with a "the same for the rest" check: `same` makes a "go
// on" hold for the rest and a "skip" a "skip all".
inline EngineAnswer AnswerWithScope(bool goOn, bool same)
{
    if (goOn)
        return same ? ANSWER_SAME_FOR_REST : ANSWER_GO_ON;
    return same ? ANSWER_SKIP_ALL : ANSWER_SKIP;
}

// true when an earlier answer already decides the next question of the same kind.
inline bool AnswerHoldsForRest(EngineAnswer answer)
{
    return answer == ANSWER_SAME_FOR_REST || answer == ANSWER_SKIP_ALL;
}
