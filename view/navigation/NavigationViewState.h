// What pane navigation keeps between moves.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// A server visited through the network list.
struct SavedDomainName
{
    CString domain;
    CString server;
    CString network;
};

struct NavigationViewState
{
    // The servers visited through the network list, the latest first.
    CArray<SavedDomainName> savedDomainNames;
};
