#pragma once
// The walk shared by the balance sheet, the profit-and-loss statement and the
// expense overview: down a tree of folders (account types, category groups)
// and leaves (accounts, categories), folders as group headers and "TOTALFOR"
// footers, leaves as detail lines, running totals climbing to the top.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/four_char_code.h"

namespace ch {

class CLevelCounters;
class CMORVIKReportBuilder;
class CNamedListArray;
class CNonVisual;
class CNonVisualDataItem;
class CReportContents;

struct HierarchyKinds {
    FourCharCode leaf = 0;
    FourCharCode folder = 0;
    // Temporary items for one line each.
    std::function<std::shared_ptr<CNonVisualDataItem>(CNonVisual*)> makeLeafItem;
    std::function<std::shared_ptr<CNonVisualDataItem>(CNonVisual*)> makeFolderItem;
};

// For each object of the list, in order: a leaf becomes a detail line at the
// level whose balances add to the running totals; a folder (at level 1 only
// a top-level one) becomes its header, then its sub-folders and then its
// leaves, each list sorted in place and walked one level deeper through the
// builder's mainLoopOver, then its footer with the sum of everything beneath
// it. Anything else is skipped. Answers 0.
int walkHierarchy(CMORVIKReportBuilder& builder, const std::vector<CNonVisual*>& list, int level, int xPoint,
                  CLevelCounters& rollingResults, CReportContents& contents, const HierarchyKinds& kinds);

// The top-level objects of the source that the filter keeps, each put in
// front of those before it: the reverse of the source's order.
std::vector<CNonVisual*> topLevelObjects(const CNamedListArray* source,
                                         const std::function<bool(CNonVisual&)>& keep);

} // namespace ch
