// The name exchange: two files swap their names, each keeping its attributes.
#pragma once
#include "framework/FwDialog.h"
#include "filer/FileInfo.h"

// Results of CRenameExchangeDlg::ExchangeNames.
enum
{
    EXCHANGE_DONE = 0,
    EXCHANGE_CLASH = 1,     // a target name exists; nothing changed
    EXCHANGE_FAILED = 2,    // a step failed; what was done stays
    EXCHANGE_SAME_FILE = 3, // both entries name one file; nothing changed
};

class CRenameExchangeDlg : public CDialog
{
public:
    explicit CRenameExchangeDlg(CWnd* pParent = nullptr);

    CFileInfo m_file1;
    CFileInfo m_file2;

    static int ExchangeNames(const CFileInfo& file1, const CFileInfo& file2);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
