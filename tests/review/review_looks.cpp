// The review's pictures of new books made without the assistant: the side
// bar's Quick Entry at its default width and at the narrowest the side bar
// can be dragged to, and the expenses page as it first opens.

#include <QCoreApplication>
#include <QEvent>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "platform/core/localized_strings.h"
#include "review_support.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/SplitViewStyles.h"
#include "ui/V2SplitLayout.h"
#include "ui/side_bar_rows.h"

namespace ch::review {

int reviewNewBooksLooks(const ReviewContext& context)
{
    int failures = 0;
    DocumentWindow& window = context.controller.makeNewDocument(false);
    settle();
    DocumentWindowFrame* frame = window.frame();
    if (!frame) return 1;
    frame->resize(1280, 800);
    frame->show();
    settle();
    V2SplitLayout& layout = frame->v2Layout();
    const struct {
        int width;
        const char* file;
    } widths[] = {{V2SplitLayout::kDefaultSideBarWidth, "looks-quick-entry-default.png"},
                  {int(CSideBarController::kMinimumSideBarWidth), "looks-quick-entry-narrowest.png"}};
    for (const auto& shot : widths) {
        layout.splitView()->setSizes({shot.width, 1280 - shot.width});
        settle();
        failures += !save(*layout.sideBarView(), context.output, shot.file);
    }
    layout.splitView()->setSizes({V2SplitLayout::kDefaultSideBarWidth, 1280 - V2SplitLayout::kDefaultSideBarWidth});
    CSideBarController& sideBar = frame->sideBarController();
    const QModelIndex expenses =
        test::openAndFindSideBarRow(sideBar.outlineModel(), localized("expenseMxpTName"), -1);
    if (expenses.isValid()) {
        sideBar.selectionModel().select(expenses, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle();
        failures += !save(*frame, context.output, "looks-expenses-first-open.png");
    } else {
        ++failures;
    }
    closeBooks(context, window);
    return failures;
}

} // namespace ch::review
