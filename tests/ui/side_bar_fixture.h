#pragma once
// A document with the fixture books and its side bar, without a window.

#include <QAbstractItemModelTester>

#include <string>
#include <vector>

#include "ui/CSideBarController.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/SideBarOutlineModel.h"
#include "fixture_books.h"
#include "ui_test_support.h"

namespace ch::test {

// A page that records what the side bar hands it.
class RecordingPage : public GXSideBarControlledViewAncestor {
public:
    void executeMenuCommand(int code, const CommandSender& sender) override
    {
        commands.push_back(code);
        senders.push_back(sender);
    }
    void newObject(const CommandSender&) override { ++newObjects; }
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override
    {
        GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
        shownNodes.push_back(node);
    }
    bool hasSubPages() const override { return true; }
    void selectSubPage(FourCharCode type) override { subPages.push_back(type); }
    MenuItemValidation validateMenuItem(int tag) override
    {
        return {tag != disabledTag, std::nullopt};
    }

    std::vector<int> commands;
    std::vector<CommandSender> senders;
    std::vector<CNonVisualDataItem::Ptr> shownNodes;
    std::vector<FourCharCode> subPages;
    int newObjects = 0;
    int disabledTag = -1;

protected:
    QWidget* makeControlledView() override { return new QWidget; }
};

class SideBarFixture : public ::testing::Test {
protected:
    SideBarFixture()
    {
        sideBar.setOutlineFocusProbe([this] { return outlineHasFocus; });
        sideBar.makeTreeRoot();
    }

    SideBarOutlineModel& model() { return sideBar.outlineModel(); }

    // Opens every node with children, so that every row is shown.
    void openAll()
    {
        for (bool opened = true; opened;) {
            opened = false;
            for (const QModelIndex& row : model().shownRows())
                if (!model().isExpanded(row) && model().hasChildren(row)) {
                    model().setExpanded(row, true);
                    opened = true;
                }
        }
    }
    // The shown rows' titles, indented by two blanks per level.
    std::vector<std::string> shownTitles()
    {
        std::vector<std::string> titles;
        for (const QModelIndex& row : model().shownRows()) {
            int depth = 0;
            for (QModelIndex up = row.parent(); up.isValid(); up = up.parent()) ++depth;
            titles.push_back(std::string(2 * depth, ' ') + model().itemAt(row)->getName());
        }
        return titles;
    }
    // The first shown row titled so, at that header level (any: 0).
    QModelIndex row(const std::string& title, int headerLevel = 0)
    {
        for (const QModelIndex& index : model().shownRows()) {
            const auto item = model().itemAt(index);
            if (item->getName() == title && (headerLevel == 0 || item->headerLevel() == headerLevel)) return index;
        }
        ADD_FAILURE() << "no shown row " << title;
        return {};
    }
    void select(const QModelIndex& index)
    {
        sideBar.selectionModel().select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    void select(const std::string& title, int headerLevel = 0) { select(row(title, headerLevel)); }
    // Installs recording pages for every kind.
    void recordPages()
    {
        for (SideBarPageKind kind : kAllSideBarPageKinds)
            sideBar.setPageFactory(kind, [this, kind] {
                auto page = std::make_unique<RecordingPage>();
                pages[kind] = page.get();
                return page;
            });
    }
    std::string selectedTitle()
    {
        const QModelIndexList rows = sideBar.selectionModel().selectedRows();
        return rows.isEmpty() ? std::string() : model().itemAt(rows.first())->getName();
    }

    UiEnvironment environment;
    TestDocument books;
    FixtureBooks ids = buildFixtureBooks(books, 60);
    RecordingWindowDocument document{books};
    CSideBarController sideBar{document};
    bool outlineHasFocus = false;
    std::map<SideBarPageKind, RecordingPage*> pages;
};

} // namespace ch::test
