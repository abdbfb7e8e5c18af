// The plug-in host as the archive front holds it.
#pragma once
#include "archivefront/ArchivePlugInBackEnd.h"

IArchivePlugInHost* CreateArchivePlugInHost();
int IsArchivePlugInName(LPCWSTR name);
