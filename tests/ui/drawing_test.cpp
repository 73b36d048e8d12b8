// The small drawing widgets of the window: selection blocks of the side
// bar's tree, the icon-and-text cell, bordered views, the balance bar and
// tab measuring.

#include <QApplication>
#include <QImage>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "ui/CBalanceBar.h"
#include "ui/CTabsheetExaminator.h"
#include "ui/GXBorderedView.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/ImageAndTextCell.h"
#include "ui/NamedIcons.h"
#include "bridge/DeveloperLog.h"
#include "ui/SelectionBlocks.h"
#include "../platform/gui/qt_test_application.h"

namespace ch {
namespace {

TEST(SelectionBlocksTest, RowsFormBlocksAndBands)
{
    using Blocks = std::vector<RowBlock>;
    EXPECT_EQ(selectionBlocks({5, 2, 3}, true), (Blocks{{2, 3}, {5, 5}}));
    EXPECT_EQ(selectionBlocks({5, 2, 3}, false), (Blocks{{2, 2}, {3, 3}, {5, 5}}));
    EXPECT_EQ(selectionBlocks({}, true), Blocks{});

    // A 20-point row: line, 18 points of gradient, line; with a break 1 + 17 + 1.
    const BlockBands plain = blockBands(40, 20, false);
    EXPECT_EQ(plain.topLineY, 40);
    EXPECT_EQ(plain.gradientY, 41);
    EXPECT_EQ(plain.gradientHeight, 18);
    EXPECT_EQ(plain.bottomLineY, 59);
    const BlockBands broken = blockBands(40, 20, true);
    EXPECT_EQ(broken.gradientHeight, 17);
    EXPECT_EQ(broken.bottomLineY, 58);
}

TEST(SelectionBlocksTest, OutlinePaintsItsSelectionAsAShadedBlock)
{
    QStandardItemModel model;
    for (const char* name : {"Transactions", "Accounts", "Categories"}) {
        auto* item = new QStandardItem(name);
        item->setSizeHint(QSize(-1, 20));
        model.appendRow(item);
    }
    QWidget window;
    auto* view = new GXGradientOutlineView(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(view);
    view->setModel(&model);
    view->setHeaderHidden(true);
    view->setUsesGradientSelection(true);
    view->setFocusPolicy(Qt::NoFocus);
    view->selectionModel()->select(model.index(1, 0), QItemSelectionModel::ClearAndSelect);
    window.resize(200, 120);
    window.show();
    QApplication::processEvents();

    const QRect row = view->visualRect(model.index(1, 0));
    ASSERT_EQ(row.height(), 20);
    // Pale colours: the tree does not have the focus.
    EXPECT_FALSE(view->usesActiveColours());
    const auto colours = GXGradientOutlineView::inactiveColours();
    const QImage image = view->viewport()->grab().toImage();
    const int x = 150;
    EXPECT_EQ(image.pixelColor(x, row.top()), colours.topLine);
    EXPECT_EQ(image.pixelColor(x, row.bottom()), colours.bottomLine);
    const QColor middle = image.pixelColor(x, row.top() + 10);
    EXPECT_NEAR(middle.red(), (colours.gradientStart.red() + colours.gradientEnd.red()) / 2, 3);
    // Unselected rows keep the view's background.
    EXPECT_EQ(image.pixelColor(x, view->visualRect(model.index(0, 0)).center().y()),
              view->palette().color(QPalette::Base));

    view->setUsesDisabledGradientSelectionOnly(true);
    EXPECT_FALSE(view->usesActiveColours());
}

TEST(ImageAndTextCellTest, IconsFitTheRowAndTallRowsKeepTheirTextInABand)
{
    struct Case {
        QRectF cell;
        QSizeF image;
        QRectF expectedImage, expectedText;
    };
    const Case cases[] = {
        // A 32-point icon in a 17-point row shrinks to 17.
        {{0, 0, 200, 17}, {32, 32}, {3, 0, 17, 17}, {20, 0, 180, 17}},
        // Without an image the text still keeps the margin.
        {{10, 5, 100, 17}, {}, {}, {13, 5, 97, 17}},
        // A level-1 header row, twice as tall: icon centred, text in its band.
        {{0, 0, 200, 34}, {32, 32}, {3, 1, 32, 32}, {35, 8, 165, 16}},
        // A small icon is centred, not enlarged.
        {{0, 0, 100, 17}, {12, 12}, {3, 3, 12, 12}, {15, 0, 85, 17}},
    };
    for (const Case& c : cases) {
        const IconTextLayout layout = iconTextLayout(c.cell, c.image);
        EXPECT_EQ(layout.image, c.expectedImage) << c.cell.height() << " " << c.image.width();
        EXPECT_EQ(layout.text, c.expectedText) << c.cell.height() << " " << c.image.width();
    }
    EXPECT_EQ(imageFrameForCellFrame({0, 0, 50, 17}, {32, 32}), QRectF(3, -7, 32, 32));
    EXPECT_EQ(imageFrameForCellFrame({0, 0, 50, 17}, {}), QRectF());
    EXPECT_EQ(cellSize({80, 17}, {16, 16}), QSizeF(99, 17));
    EXPECT_EQ(cellSize({80, 17}, {}), QSizeF(83, 17));
}

TEST(BorderedViewTest, DrawsOnlyTheChosenSides)
{
    GXBorderedView view;
    view.resize(40, 30);
    EXPECT_FALSE(view.rightLine() || view.leftLine() || view.topLine() || view.bottomLine());
    view.setBorderAbove(false, false, false, true);
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(39, 15), GXBorderedView::lineColour());
    EXPECT_NE(image.pixelColor(0, 15), GXBorderedView::lineColour());
    EXPECT_NE(image.pixelColor(20, 0), GXBorderedView::lineColour());
    EXPECT_NE(image.pixelColor(20, 29), GXBorderedView::lineColour());
}

TEST(BalanceBarTest, TallBarsTakeTheTallGradient)
{
    EXPECT_EQ(CBalanceBar::gradientImageName(61), "BlueGradient62");
    EXPECT_EQ(CBalanceBar::gradientImageName(60), "BlueGradient36");
    // The gradient follows the bar's height: top and bottom differ, and a
    // repaint of part of the bar paints the same.
    CBalanceBar bar;
    bar.resize(50, 36);
    const QImage whole = bar.grab().toImage();
    EXPECT_NE(whole.pixelColor(10, 0), whole.pixelColor(10, 35));
    EXPECT_EQ(bar.grab(QRect(0, 20, 50, 16)).toImage().pixelColor(10, 0), whole.pixelColor(10, 20));
}

TEST(TabsheetExaminatorTest, MeasuresTheLowestControl)
{
    QWidget tab;
    EXPECT_EQ(CTabsheetExaminator::calculateHeight(&tab), 0.0);
    auto* control = new QWidget(&tab);
    control->setGeometry(10, 20, 100, 320);
    auto* other = new QWidget(&tab);
    other->setGeometry(10, 5, 100, 30);
    EXPECT_EQ(CTabsheetExaminator::calculateHeight(&tab), 340.0);
}

TEST(NamedIconsTest, EveryNameTheWindowUsesHasAnImage)
{
    for (const char* name : {"transactions", "recurringTrans", "generatedTrans", "accounts", "acntProperty",
                             "acntDebt", "acntP&L", "acntAsset", "categories", "exptIncome", "exptExpense",
                             "exptTransfer", "stocks", "accountowners", "customers", "suppliers", "currencies",
                             "creditcards", "vatIcon32", "Image131", "Image0.tiff", "Image17.tiff", "overview",
                             "new-transaction", "new-account", "new-category", "DeleteButton", "edit", "flag",
                             "budget", "reports", "fileimport", "fileSettings", "calculator", "PrintPanel",
                             "morvik app"})
        EXPECT_FALSE(makeNamedIcon(name).isNull()) << name;
    EXPECT_TRUE(makeNamedIcon("Image.tiff").isNull());
    EXPECT_TRUE(makeNamedIcon("nothing").isNull());

    IconLibrary library;
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&log](const std::string& line) { log.push_back(line); });
    EXPECT_FALSE(library.icon("accounts").isNull());
    EXPECT_TRUE(library.icon("nothing").isNull());
    EXPECT_EQ(library.cachedCount(), 1u);
    EXPECT_EQ(log, std::vector<std::string>{"nothing"});
}

} // namespace
} // namespace ch
