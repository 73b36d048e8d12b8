#pragma once
// The page of a kind the side bar was given no page for: it shows the
// heading of what it stands for (the node's name and kind, or the sub-page
// chosen) and says plainly that the page itself is not there. It follows the
// page protocol with the base's defaults, so the side bar, the menus and the
// toolbar treat it as any page.

#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/SideBarPageKind.h"

namespace ch {

class PageHeading;

class PlaceholderPage : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    explicit PlaceholderPage(SideBarPageKind kind, QObject* parent = nullptr);

    SideBarPageKind kind() const { return mKind; }
    bool hasSubPages() const override;
    void selectSubPage(FourCharCode type) override;
    FourCharCode subPage() const { return mSubPage; }
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;

    // The heading shown (for tests and the review program).
    QString title() const;
    QString subtitle() const;

protected:
    QWidget* makeControlledView() override;

private:
    void updateHeading();

    SideBarPageKind mKind;
    FourCharCode mSubPage = 0;
    PageHeading* mHeading = nullptr;
};

} // namespace ch
