#include "archivefront/archiver/ArchiverTable.h"

const CArchiverLibraryRow g_ArchiverLibraryTable[ARCHIVER_ROW_COUNT] = {
    {L"", L"Unlha32.dll", L"Unlha32.dll", "Unlha", "Unlha", L"LZH", L"LZH,EXE,", 0, L"", L"e -d1", L"e -d0",
     0, 0x0E, "*.*", L"-n1", 0x1002, L"e -d1 -m1 -p1 -n1", L"e -d0 -m1 -p1 -n1", L"-d1 -c1"},
    {L"", L"Unzip32.dll", L"Zip32J.dll", "UnZip", "Zip", L"ZIP", L"ZIP,EXE,", 1, L"-P%s", L"-x", L"-x -j", 0,
     0x0D, "*.*", L"--i", 0x1002, L"-x --i", L"-x -j --i", L"-r -S"},
    {L"", L"Cab32.dll", L"", "Cab", "", L"CAB", L"CAB,EXE,", 0, L"", L"-x", L"-x -j", 0, 0x0A, "*.*", L"",
     0x1002, L"-x -o -r", L"-x -j -o -r", L""},
    {L"Unrar64j.dll", L"Unrar32.dll", L"", "Unrar", "", L"RAR", L"RAR,EXE,", 1, L"-p<%s>", L"-x", L"-e", 0,
     0x0A, "*", L"", 0x1002, L"-x -s", L"-e -s", L""},
    {L"", L"Unarj32.dll", L"", "Unarj", "", L"ARJ", L"ARJ,EXE,", 0, L"", L"x", L"x -hj", 0, 0x08, "*.*",
     L"-i", 0x1002, L"", L"", L""},
    {L"Tar64.dll", L"Tar32.dll", L"", "Tar", "", L"TAR", L"TAR,GZ,Z,TGZ,ZST,EXE,", 0, L"", L"-x",
     L"-x --use-directory=0", 0, 0x0A, "*.*", L"", 0x1002, L"-x --display-dialog=0 --use-directory=1",
     L"-x --display-dialog=0 --use-directory=0", L""},
    {L"", L"Ungca32.dll", L"", "UnGCA", "", L"GCA", L"GCA,EXE,", 1, L"-p %s", L"e", L"e", 0x18, 0x0A, "*.*",
     L"", 0x1002, L"ex -xx1", L"ex -xx0", L""},
    {L"7-zip64.dll", L"7-zip32.dll", L"", "SevenZip", "", L"7Z", L"7Z,ZIP,EXE,", 1, L"-p%s", L"x", L"e", 0,
     0x0A, "*.*", L"-hide", 0x1102, L"x -r -y", L"e -r -y", L""},
};
