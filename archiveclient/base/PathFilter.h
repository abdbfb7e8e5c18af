// Which paths an archive operation takes: include and exclude patterns (names,
// relative or absolute paths, with '*' and '?'), split into parts and kept in a tree
// of nodes per root prefix, so that a path is tested part by part. Names compare by
// the process-wide case rule (g_CaseSensitiveNames).
#pragma once
#include "fs/ArcString.h"
#include "fs/Vectors.h"
#include <vector>

// The parts of a path, split at every '\\' and '/'; empty parts are kept.
typedef std::vector<UString> CPathParts;

void SplitPathToParts(const UString& path, CPathParts& parts);
// dir: everything through the last separator; name: the rest.
void SplitPathDirAndName(const UString& path, UString& dir, UString& name);
UString GetPathFileName(const UString& path);
bool ContainsWildcard(const wchar_t* text);
// Exactly one letter followed by ':'.
bool IsBareDriveName(const wchar_t* text);
// '*' any run, '?' any one character; other characters by the case rule.
bool MatchFilterWildcard(const wchar_t* mask, const wchar_t* name);

struct CPathFilterItem
{
    CPathParts Parts;
    bool Recursive = false;
    bool ForFile = true;
    bool ForDir = true;
    bool WildcardMatching = true;

    bool CheckPath(const CPathParts& pathParts, bool isFile) const;
};

class CPathFilterNode
{
public:
    CPathFilterNode() = default;
    CPathFilterNode(const CPathFilterNode&) = delete;
    CPathFilterNode& operator=(const CPathFilterNode&) = delete;

    // depth: the number of levels whose first part names a sub-node even when it holds
    // a wildcard; -1 for none.
    void AddItem(bool include, CPathFilterItem& item, int depth = -1);
    // Whether any item decided; include tells the decision.
    bool MatchPathParts(const CPathParts& parts, bool isFile, bool& include) const;
    // Whether an item of the given kind here or in a node above matches; the names of
    // the nodes passed are put in front of the parts.
    bool CheckPathToRoot(bool include, CPathParts parts, bool isFile) const;
    // Whether an item of the given kind of this node matches.
    bool CheckPathCurrent(bool include, const CPathParts& parts, bool isFile) const;
    bool AreThereIncludeItems() const;
    // Some include item is recursive or has more than one part.
    bool NeedCheckSubDirs() const;
    // Every include item is one plain name, not recursive.
    bool AreAllIncludesFixedNames() const;
    int FindSubNode(const UString& name) const;
    // Appends copies of from's exclude items here, sub-node by sub-node.
    void MergeExcludes(const CPathFilterNode& from);

    CPathFilterNode* Parent = nullptr;
    UString Name;
    COwnedPtrVector<CPathFilterNode> SubNodes;
    COwnedPtrVector<CPathFilterItem> IncludeItems;
    COwnedPtrVector<CPathFilterItem> ExcludeItems;

private:
    CPathFilterNode& AddSubNode(const UString& name);
};

struct CPathFilterRoot
{
    UString Prefix; // empty, or a path prefix ending in '\\'
    CPathFilterNode Node;
};

struct CQueuedPattern
{
    UString Path;
    bool Include = true;
    bool Recursive = false;
    bool WildcardMatching = true;
};

class CDiskItemList;

// Path modes of AddPattern.
enum EPathFilterMode
{
    kPathModeFullPrefix = 0, // a rooted path gives all but its last part as root prefix
    kPathModeRootOnly = 1,   // only the root of the path is the root prefix
    kPathModeGivenPrefix = 2 // givenPrefix is the root prefix; the path stays whole
};

class CPathFilter
{
public:
    // Thrown: the narrow text "Empty file path" for an empty path.
    void AddPattern(int pathMode, bool include, const UString& path, bool recursive, bool wildcardMatching,
                    const UString& givenPrefix);
    void QueuePattern(bool include, const UString& path, bool recursive, bool wildcardMatching);
    void AddQueuedPatterns(int pathMode);
    // Copies the excludes of the first root with an empty prefix into every other root.
    void ShareRootExcludes();
    int FindRoot(const UString& prefix) const;

    // The directory scan for packing (defined with the scan).
    HRESULT CollectDiskItems(int pathMode, const UString& addPathPrefix, CDiskItemList& list);

    COwnedPtrVector<CPathFilterRoot> Roots;
    COwnedPtrVector<CQueuedPattern> Queue;
};
