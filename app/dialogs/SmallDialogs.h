// The small common dialogs in one include.
#pragma once

#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/InputDlgs.h"
#include "app/dialogs/ListDlgs.h"
#include "app/dialogs/MessageBoxDlg.h"
#include "app/dialogs/QuitDlg.h"
