#include "ui/V2SplitLayout.h"

#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/CSideBarView.h"
#include "ui/SplitViewStyles.h"

namespace ch {

V2SplitLayout::V2SplitLayout(CSideBarController& sideBar, IconLibrary& icons, QWidget* parent)
    : QWidget(parent), mSideBar(sideBar), mSplitter(new CQVLSplitView(true, this)),
      mSideBarView(new CSideBarView(sideBar, icons)), mPages(new QStackedWidget)
{
    setObjectName("V2");
    mSplitter->setObjectName("mV2Splitter");
    mSideBarView->setProperty("role", "mV2LeftView");
    mPages->setObjectName("mV2RightView");
    mSplitter->addWidget(mSideBarView);
    mSplitter->addWidget(mPages);
    mSplitter->setCollapsible(0, false);
    mSplitter->setCollapsible(1, false);
    mSplitter->setStretchFactor(0, 0);
    mSplitter->setStretchFactor(1, 1);
    mSplitter->setSizes({kDefaultSideBarWidth, 1000});
    mSplitter->setPositionAutosaveName("V2Splitter");
    mSideBarView->setSurroundingSplitView(mSplitter, mSideBarView, mPages);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mSplitter);
    sideBar.setPageColumn(this);
}

V2SplitLayout::~V2SplitLayout()
{
    mSideBar.setPageColumn(nullptr);
}

void V2SplitLayout::showPageView(QWidget* view)
{
    if (!view) return;
    if (mPages->indexOf(view) < 0) mPages->addWidget(view);
    mPages->setCurrentWidget(view);
}

void V2SplitLayout::setFirstKeyView(QWidget* view)
{
    // A toolbar arranged without the search field leaves it out of the window.
    if (mSearchField && view && mSearchField->window() == view->window()) {
        QWidget::setTabOrder(mSearchField, view);
        // A window with nothing focused would hand the focus to the search
        // field, the first of its chain: the page's own view takes it, so keys
        // act on what the page shows. An empty field focused that way gives it up.
        QWidget* focused = view->window()->focusWidget();
        if (!focused || (focused == mSearchField && mSearchField->text().isEmpty())) view->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace ch
