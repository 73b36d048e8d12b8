#pragma once
// Finding a side-bar row as a person does: every row opened, then the first
// one with the title (a header at `level`, any row with 0).

#include <string>

#include <QModelIndex>

#include "ui/SideBarOutlineModel.h"

namespace ch::test {

// Invalid when no row has the title.
inline QModelIndex openAndFindSideBarRow(SideBarOutlineModel& model, const std::string& title, int level = 0)
{
    for (bool opened = true; opened;) {
        opened = false;
        for (const QModelIndex& row : model.shownRows())
            if (!model.isExpanded(row) && model.hasChildren(row)) {
                model.setExpanded(row, true);
                opened = true;
            }
    }
    for (const QModelIndex& row : model.shownRows()) {
        const auto item = model.itemAt(row);
        if (item->getName() == title && (level == 0 || item->headerLevel() == level)) return row;
    }
    return {};
}

} // namespace ch::test
