// Backups of the settings file, made before every save: "<base>.bck" holds the
// previous save, and up to ten dated copies "<base>_YYYYMMDD_hhmmss.bck" hold the
// saves before it.
#pragma once
#include <windows.h>

// Dates the previous backup, keeps the ten newest dated backups and copies the
// settings file to "<base>.bck". TRUE when there is nothing to back up or that last
// copy succeeded.
BOOL BackupSettingsFile(LPCWSTR settingsPath);
