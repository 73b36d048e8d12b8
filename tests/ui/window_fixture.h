#pragma once
// A document window over the fixture books, shown offscreen.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <memory>

#include "side_bar_rows.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/CommandRouting.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/MainToolbar.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/V2SplitLayout.h"
#include "fixture_books.h"
#include "ui_test_support.h"

namespace ch::test {

inline void processEvents()
{
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// One open document: its books, its window operations and its window.
struct OpenDocument {
    explicit OpenDocument(int transactions = 40) { buildFixtureBooks(books, transactions); }
    void open()
    {
        window = std::make_unique<DocumentWindowFrame>(document);
        window->resize(1280, 800);
        window->show();
        processEvents();
    }
    void close() { window.reset(); }

    CSideBarController& sideBar() { return window->sideBarController(); }
    GXGradientOutlineView& outline() { return *window->v2Layout().sideBarView()->outline(); }
    // Selects the first row titled so (at the header level, any: 0), opening
    // the tree as far as needed.
    void select(const std::string& title, int headerLevel = 0)
    {
        const QModelIndex row = openAndFindSideBarRow(sideBar().outlineModel(), title, headerLevel);
        if (row.isValid()) {
            sideBar().selectionModel().select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
        ADD_FAILURE() << "no row " << title;
    }
    QAction* toolbarItem(const std::string& identifier) { return window->toolbar().itemAction(identifier); }
    QAction* menuItem(const QString& name)
    {
        for (QAction* action : window->menuActions())
            if (action->objectName() == name) return action;
        ADD_FAILURE() << "no menu item " << name.toStdString();
        return nullptr;
    }
    // Lets every menu of the window validate its items, as it does when shown.
    void showMenus()
    {
        for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    }

    TestDocument books;
    RecordingWindowDocument document{books};
    std::unique_ptr<DocumentWindowFrame> window;
};

} // namespace ch::test
