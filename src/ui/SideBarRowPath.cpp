#include "ui/SideBarRowPath.h"

#include <QItemSelectionModel>

#include "ui/CSideBarController.h"
#include "ui/SideBarOutlineModel.h"

namespace ch {

namespace {

std::string titleOf(const QModelIndex& row)
{
    return row.data(Qt::DisplayRole).toString().toStdString();
}

} // namespace

std::vector<std::string> selectedRowPath(const CSideBarController& sideBar)
{
    const QModelIndexList selected = sideBar.selectionModel().selectedRows(0);
    if (selected.isEmpty()) return {};
    std::vector<std::string> path;
    for (QModelIndex row = selected.first(); row.isValid(); row = row.parent())
        path.insert(path.begin(), titleOf(row));
    return path;
}

bool selectRowPath(CSideBarController& sideBar, const std::vector<std::string>& path)
{
    SideBarOutlineModel& model = sideBar.outlineModel();
    QModelIndex found;
    for (const std::string& title : path) {
        if (found.isValid()) model.setExpanded(found, true);
        const QModelIndex parent = found;
        found = {};
        for (int row = 0; row < model.rowCount(parent) && !found.isValid(); ++row)
            if (const QModelIndex index = model.index(row, 0, parent); titleOf(index) == title) found = index;
        if (!found.isValid()) return false;
    }
    if (!found.isValid()) return false;
    sideBar.selectionModel().select(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

} // namespace ch
