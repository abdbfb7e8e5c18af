#include "archiveclient/base/PathFilter.h"

namespace
{

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

int FindLastSeparator(const UString& path)
{
    for (uint32_t i = path.Length(); i != 0; i--)
        if (IsSeparator(path[i - 1]))
            return static_cast<int>(i - 1);
    return -1;
}

bool NamesEqual(const UString& a, const UString& b)
{
    return ComparePathNames(a, b) == 0;
}

bool CharsMatch(wchar_t maskChar, wchar_t nameChar)
{
    if (maskChar == nameChar)
        return true;
    if (g_CaseSensitiveNames)
        return false;
    return ToUpperWideChar(maskChar) == ToUpperWideChar(nameChar);
}

// How many leading parts of a split path form its root: a drive, a leading
// separator, a network server, or one of the "\\.\" and "\\?\" forms.
uint32_t CountRootParts(const CPathParts& parts)
{
    size_t count = parts.size();
    if (count == 0)
        return 0;
    if (IsBareDriveName(parts[0]))
        return 1;
    if (!parts[0].IsEmpty())
        return 0;
    if (count == 1 || !parts[1].IsEmpty())
        return 1;
    if (count == 2)
        return 2;
    size_t n = 2;
    if (parts[2].Equals(L"."))
        return 3;
    if (parts[2].Equals(L"?"))
    {
        if (count == 3)
            return 3;
        if (IsBareDriveName(parts[3]))
            return 4;
        n = parts[3].EqualsAsciiNoCase("UNC") ? 4 : 3;
    }
    return static_cast<uint32_t>(n + 1 < count ? n + 1 : count);
}

bool IsDotPart(const UString& part)
{
    return part.Equals(L".") || part.Equals(L"..");
}

} // namespace

// ---- Path parts ----

void SplitPathToParts(const UString& path, CPathParts& parts)
{
    parts.clear();
    uint32_t start = 0;
    for (uint32_t i = 0; i < path.Length(); i++)
    {
        if (IsSeparator(path[i]))
        {
            parts.push_back(path.Substring(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(path.Substring(start, path.Length() - start));
}

void SplitPathDirAndName(const UString& path, UString& dir, UString& name)
{
    uint32_t split = static_cast<uint32_t>(FindLastSeparator(path) + 1);
    dir = UString::FromLeftPart(path, split);
    name = path.Substring(split, path.Length() - split);
}

UString GetPathFileName(const UString& path)
{
    uint32_t split = static_cast<uint32_t>(FindLastSeparator(path) + 1);
    return path.Substring(split, path.Length() - split);
}

bool ContainsWildcard(const wchar_t* text)
{
    for (; *text != 0; text++)
        if (*text == L'*' || *text == L'?')
            return true;
    return false;
}

bool IsBareDriveName(const wchar_t* text)
{
    wchar_t c = text[0];
    bool letter = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
    return letter && text[1] == L':' && text[2] == 0;
}

// Greedy with one resumption point: a later '*' covers everything an earlier one
// could, so only the last '*' seen ever needs to take one more character. This gives
// the same answers as trying every split, without the exponential cost of masks with
// many stars.
bool MatchFilterWildcard(const wchar_t* mask, const wchar_t* name)
{
    const wchar_t* starMask = nullptr;
    const wchar_t* starName = nullptr;
    for (;;)
    {
        if (*mask == L'*')
        {
            starMask = ++mask;
            starName = name;
            continue;
        }
        if (*name == 0)
        {
            if (*mask == 0)
                return true;
        }
        else if (*mask != 0 && (*mask == L'?' || CharsMatch(*mask, *name)))
        {
            mask++;
            name++;
            continue;
        }
        if (starMask == nullptr || *starName == 0)
            return false;
        mask = starMask;
        name = ++starName;
    }
}

// ---- CPathFilterItem ----

bool CPathFilterItem::CheckPath(const CPathParts& pathParts, bool isFile) const
{
    if (!isFile && !ForDir)
        return false;
    if (pathParts.size() < Parts.size())
        return false;
    size_t delta = pathParts.size() - Parts.size();
    size_t start = 0;
    size_t finish = 0;
    if (isFile)
    {
        if (!ForDir)
        {
            if (Recursive)
                start = delta;
            else if (delta != 0)
                return false;
        }
        if (!ForFile && delta == 0)
            return false;
    }
    if (Recursive)
    {
        finish = delta;
        if (isFile && !ForFile)
        {
            if (finish == 0)
                return false;
            finish--;
        }
    }
    for (size_t s = start; s <= finish; s++)
    {
        size_t i = 0;
        for (; i < Parts.size(); i++)
        {
            bool match = WildcardMatching ? MatchFilterWildcard(Parts[i], pathParts[s + i])
                                          : NamesEqual(Parts[i], pathParts[s + i]);
            if (!match)
                break;
        }
        if (i == Parts.size())
            return true;
    }
    return false;
}

// ---- CPathFilterNode ----

int CPathFilterNode::FindSubNode(const UString& name) const
{
    for (uint32_t i = 0; i < SubNodes.Count(); i++)
        if (NamesEqual(SubNodes.At(i).Name, name))
            return static_cast<int>(i);
    return -1;
}

CPathFilterNode& CPathFilterNode::AddSubNode(const UString& name)
{
    int index = FindSubNode(name);
    if (index >= 0)
        return SubNodes.At(static_cast<uint32_t>(index));
    CPathFilterNode& node = SubNodes.At(SubNodes.AddNew());
    node.Parent = this;
    node.Name = name;
    return node;
}

void CPathFilterNode::AddItem(bool include, CPathFilterItem& item, int depth)
{
    if (item.Parts.size() > 1 && (!item.WildcardMatching || depth == 0 || !ContainsWildcard(item.Parts[0])))
    {
        CPathFilterNode& sub = AddSubNode(item.Parts[0]);
        item.Parts.erase(item.Parts.begin());
        sub.AddItem(include, item, depth - 1);
        return;
    }
    if (item.Parts.size() == 1 && !ContainsWildcard(item.Parts[0]))
        item.WildcardMatching = false;
    (include ? IncludeItems : ExcludeItems).AddCopy(item);
}

bool CPathFilterNode::CheckPathCurrent(bool include, const CPathParts& parts, bool isFile) const
{
    const COwnedPtrVector<CPathFilterItem>& items = include ? IncludeItems : ExcludeItems;
    for (uint32_t i = 0; i < items.Count(); i++)
        if (items.At(i).CheckPath(parts, isFile))
            return true;
    return false;
}

bool CPathFilterNode::MatchPathParts(const CPathParts& parts, bool isFile, bool& include) const
{
    if (CheckPathCurrent(false, parts, isFile))
    {
        include = false;
        return true;
    }
    include = true;
    bool decided = CheckPathCurrent(true, parts, isFile);
    if (parts.size() > 1)
    {
        int index = FindSubNode(parts[0]);
        if (index >= 0)
        {
            CPathParts rest(parts.begin() + 1, parts.end());
            bool subInclude = true;
            if (SubNodes.At(static_cast<uint32_t>(index)).MatchPathParts(rest, isFile, subInclude))
            {
                include = subInclude;
                return true;
            }
        }
    }
    return decided;
}

bool CPathFilterNode::CheckPathToRoot(bool include, CPathParts parts, bool isFile) const
{
    const CPathFilterNode* node = this;
    for (;;)
    {
        if (node->CheckPathCurrent(include, parts, isFile))
            return true;
        if (node->Parent == nullptr)
            return false;
        parts.insert(parts.begin(), node->Name);
        node = node->Parent;
    }
}

bool CPathFilterNode::AreThereIncludeItems() const
{
    if (IncludeItems.Count() != 0)
        return true;
    for (uint32_t i = 0; i < SubNodes.Count(); i++)
        if (SubNodes.At(i).AreThereIncludeItems())
            return true;
    return false;
}

bool CPathFilterNode::NeedCheckSubDirs() const
{
    for (uint32_t i = 0; i < IncludeItems.Count(); i++)
    {
        const CPathFilterItem& item = IncludeItems.At(i);
        if (item.Recursive || item.Parts.size() > 1)
            return true;
    }
    return false;
}

bool CPathFilterNode::AreAllIncludesFixedNames() const
{
    for (uint32_t i = 0; i < IncludeItems.Count(); i++)
    {
        const CPathFilterItem& item = IncludeItems.At(i);
        if (item.Recursive || item.Parts.size() != 1 || ContainsWildcard(item.Parts[0]))
            return false;
    }
    return true;
}

void CPathFilterNode::MergeExcludes(const CPathFilterNode& from)
{
    for (uint32_t i = 0; i < from.ExcludeItems.Count(); i++)
        ExcludeItems.AddCopy(from.ExcludeItems.At(i));
    for (uint32_t i = 0; i < from.SubNodes.Count(); i++)
    {
        const CPathFilterNode& source = from.SubNodes.At(i);
        AddSubNode(source.Name).MergeExcludes(source);
    }
}

// ---- CPathFilter ----

int CPathFilter::FindRoot(const UString& prefix) const
{
    for (uint32_t i = 0; i < Roots.Count(); i++)
        if (NamesEqual(Roots.At(i).Prefix, prefix))
            return static_cast<int>(i);
    return -1;
}

void CPathFilter::AddPattern(int pathMode, bool include, const UString& path, bool recursive,
                             bool wildcardMatching, const UString& givenPrefix)
{
    if (path.IsEmpty())
        throw "Empty file path";

    CPathFilterItem item;
    SplitPathToParts(path, item.Parts);
    if (item.Parts.back().IsEmpty())
    {
        item.ForFile = false;
        item.Parts.pop_back();
    }
    int fixedDepth = -1;
    if (item.Parts.size() > 2 && item.Parts[0].IsEmpty() && item.Parts[1].IsEmpty() &&
        item.Parts[2].Equals(L"?"))
        fixedDepth = 2;

    UString prefix;
    if (pathMode == kPathModeGivenPrefix)
        prefix = givenPrefix;
    else
    {
        fixedDepth = -1;
        size_t count = item.Parts.size();
        size_t rootParts = CountRootParts(item.Parts);
        size_t take = rootParts;
        if (pathMode == kPathModeFullPrefix && rootParts > 0 && rootParts < count)
            take = count - 1;
        size_t lastDot = count;
        for (size_t i = rootParts; i < count; i++)
            if (IsDotPart(item.Parts[i]))
                lastDot = i;
        if (lastDot != count)
            take = lastDot == count - 1 ? count : count - 1;
        for (size_t moved = 0; moved < take; moved++)
        {
            const UString& front = item.Parts.front();
            if (wildcardMatching && moved >= rootParts && ContainsWildcard(front))
                break;
            prefix.Append(front);
            prefix.AppendBackslash();
            item.Parts.erase(item.Parts.begin());
        }
    }

    int rootIndex = FindRoot(prefix);
    if (rootIndex < 0)
    {
        rootIndex = static_cast<int>(Roots.AddNew());
        Roots.At(static_cast<uint32_t>(rootIndex)).Prefix = prefix;
    }

    item.Recursive = recursive;
    item.WildcardMatching = wildcardMatching;
    if (pathMode != kPathModeGivenPrefix &&
        (item.Parts.empty() || (item.Parts.size() == 1 && item.Parts[0].IsEmpty())))
    {
        item.Parts.assign(1, UString(L"*"));
        item.ForFile = true;
        item.Recursive = false;
        item.WildcardMatching = true;
    }
    Roots.At(static_cast<uint32_t>(rootIndex)).Node.AddItem(include, item, fixedDepth);
}

void CPathFilter::QueuePattern(bool include, const UString& path, bool recursive, bool wildcardMatching)
{
    CQueuedPattern pattern;
    pattern.Path = path;
    pattern.Include = include;
    pattern.Recursive = recursive;
    pattern.WildcardMatching = wildcardMatching;
    Queue.AddCopy(pattern);
}

void CPathFilter::AddQueuedPatterns(int pathMode)
{
    for (uint32_t i = 0; i < Queue.Count(); i++)
    {
        const CQueuedPattern& pattern = Queue.At(i);
        AddPattern(pathMode, pattern.Include, pattern.Path, pattern.Recursive, pattern.WildcardMatching,
                   UString());
    }
    Queue.Clear();
}

void CPathFilter::ShareRootExcludes()
{
    int source = FindRoot(UString());
    if (source < 0)
        return;
    const CPathFilterNode& from = Roots.At(static_cast<uint32_t>(source)).Node;
    for (uint32_t i = 0; i < Roots.Count(); i++)
        if (static_cast<int>(i) != source)
            Roots.At(i).Node.MergeExcludes(from);
}
