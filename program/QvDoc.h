// The document: empty, the panes keep their own data.
#pragma once
#include "framework/FwApp.h"

class CQvDoc : public CDocument
{
    DECLARE_DYNCREATE(CQvDoc)
};
