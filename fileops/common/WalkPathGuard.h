// The walk-path guard lies with the records, where the panes reach it too.
#pragma once
#include "app/records/WalkPathGuard.h"
