#pragma once
// The content of the document window's main tab "V2": the side bar on the
// left and the page of the selected node on the right, divided by the
// split view "V2Splitter", whose divider takes no room and is moved by the
// side bar's grip (or dragged at the column edge). Pages once shown stay
// in the right column, so a page keeps its state while another is shown.

#include <QWidget>

#include "ui/CSideBarController.h"

class QLineEdit;
class QStackedWidget;

namespace ch {

class CQVLSplitView;
class CSideBarView;
class IconLibrary;

class V2SplitLayout : public QWidget, public PageColumn {
    Q_OBJECT

public:
    static constexpr int kDefaultSideBarWidth = 250;

    V2SplitLayout(CSideBarController& sideBar, IconLibrary& icons, QWidget* parent = nullptr);
    ~V2SplitLayout() override;

    CQVLSplitView* splitView() const { return mSplitter; }
    CSideBarView* sideBarView() const { return mSideBarView; }
    QStackedWidget* pageColumn() const { return mPages; }
    // The window's search field, which the page's first key view follows.
    void setSearchField(QLineEdit* field) { mSearchField = field; }

    void showPageView(QWidget* view) override;
    void setFirstKeyView(QWidget* view) override;

private:
    CSideBarController& mSideBar;
    CQVLSplitView* mSplitter;
    CSideBarView* mSideBarView;
    QStackedWidget* mPages;
    QLineEdit* mSearchField = nullptr;
};

} // namespace ch
