// An operation that belongs to a later piece of work: its dispatcher knows the
// keyword, and the handler only writes one log line naming itself.
#pragma once
#include "view/commands/CommandDispatch.h"

#define QV_PENDING_COMMAND(name)                                                                             \
    int name(CQvView&, const CommandCall& call, INT_PTR)                                                     \
    {                                                                                                        \
        return ReportPendingCommand(QV_COMMAND_WIDEN(#name), call.keyword);                                  \
    }
