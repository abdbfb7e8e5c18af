// The work of higher libraries that lower ones reach through hook tables, installed
// by the program before anything runs it.
#pragma once

void InstallProgramHooks();
