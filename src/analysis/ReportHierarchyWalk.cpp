#include "analysis/ReportHierarchyWalk.h"

#include "analysis/CMORVIKReportBuilder.h"
#include "bridge/CLevelCounters.h"
#include "bridge/CNonVisualDataItem.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"

namespace ch {

int walkHierarchy(CMORVIKReportBuilder& builder, const std::vector<CNonVisual*>& list, int level, int xPoint,
                  CLevelCounters& rollingResults, CReportContents& contents, const HierarchyKinds& kinds)
{
    CLevelCounters sublists;
    CLevelCounters group;
    for (CNonVisual* object : list) {
        const FourCharCode type = object->Get_ObjectType();
        if (type == kinds.leaf) {
            const auto item = kinds.makeLeafItem(object);
            rollingResults.addCounters(builder.makeDetailLineForNonVisual(*item, level, contents));
        } else if (type == kinds.folder && (level >= 2 || object->IsRootItem())) {
            const auto item = kinds.makeFolderItem(object);
            builder.addGroupHeaderForItem(*item, level, contents);
            for (CNamedListArray* children : {object->Get_DetailFolders(), object->Get_Details()}) {
                if (!children) continue;
                children->SetNotSorted();
                children->Sort();
                builder.mainLoopOver(objectsOf(children), level + 1, xPoint, sublists, contents);
                rollingResults.addCounters(sublists);
                group.addCounters(sublists);
                sublists.reset();
            }
            builder.addGroupFooterForItem(*item, level, group, contents);
            group.reset();
        }
    }
    return 0;
}

std::vector<CNonVisual*> topLevelObjects(const CNamedListArray* source,
                                         const std::function<bool(CNonVisual&)>& keep)
{
    std::vector<CNonVisual*> kept;
    for (CNonVisual* object : objectsOf(source))
        if (keep(*object) && object->IsRootItem()) kept.insert(kept.begin(), object);
    return kept;
}

} // namespace ch
