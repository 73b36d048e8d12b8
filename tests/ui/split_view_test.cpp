// Split views: the saved-position record, the proportional layout, names
// unique in the process, and positions and collapsed panes that come back
// when a split view with the same name is made again.

#include <QApplication>
#include <QSignalSpy>
#include <QWidget>

#include <memory>

#include "platform/core/user_defaults.h"
#include "ui/CSplitterDragger.h"
#include "ui/GXSplitView.h"
#include "ui/SplitViewStyles.h"
#include "../platform/gui/qt_test_application.h"

namespace ch {
namespace {

TEST(SplitPositionTest, FramesReadAndWriteAsText)
{
    const std::pair<SplitRect, std::string> cases[] = {
        {{0, 0, 200, 600}, "{{0, 0}, {200, 600}}"},
        {{201, 0, 1079.5, 600}, "{{201, 0}, {1079.5, 600}}"},
        {{1e6, 1e6, 150, 80}, "{{1e+06, 1e+06}, {150, 80}}"},
        {{-3, 4, 0, 0}, "{{-3, 4}, {0, 0}}"},
    };
    for (const auto& [rect, text] : cases) {
        EXPECT_EQ(rectToString(rect), text);
        EXPECT_EQ(rectFromString(text), rect) << text;
    }
    EXPECT_EQ(rectFromString("{{1, 2}, {3}}"), std::nullopt);
    EXPECT_EQ(splitPositionKey("V2Splitter"), "GXSplitView Position V2Splitter");
}

TEST(SplitPositionTest, OnlyVersionTwoIsASavedPosition)
{
    const SavedSplitPosition position{{{{0, 0, 240, 700}, false}, {{1e6, 1e6, 300, 700}, true}}, true};
    const Value encoded = encodeSplitPosition(position);
    EXPECT_EQ(decodeSplitPosition(encoded), position);
    const Dictionary& fields = *encoded.asDictionary();
    EXPECT_EQ(*fields["version"].asInteger(), 2);
    EXPECT_TRUE(*fields["isVertical"].asBool());

    Dictionary versionOne = fields;
    versionOne.set("version", 1);
    EXPECT_EQ(decodeSplitPosition(Value(versionOne)), std::nullopt);
    EXPECT_EQ(decodeSplitPosition(Value("{{0, 0}, {1, 1}}")), std::nullopt);
    EXPECT_EQ(decodeSplitPosition(Value()), std::nullopt);
}

TEST(SplitPositionTest, LayoutSharesWholePointsInProportion)
{
    const SplitRandomSource never = [] { return 0x7FFFFFFFu; };
    const SplitRandomSource always = [] { return 0u; };
    struct Case {
        std::vector<double> sizes;
        std::vector<bool> collapsed;
        double extent, thickness;
        SplitRandomSource random;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // 133 and 266 plus the one point left over, on one of them.
        {{100, 200, 0}, {}, 400, 0, always, {134, 266, 0}},
        {{100, 200, 0}, {}, 400, 0, never, {133, 267, 0}},
        // Dividers take their room first.
        {{100, 100}, {}, 410, 10, never, {200, 200}},
        // A tiny pane keeps a point.
        {{1, 1000}, {}, 300, 0, never, {1, 299}},
        // A collapsed pane gets nothing; the others share the space.
        {{240, 500, 300}, {false, false, true}, 1000, 0, never, {324, 676, 0}},
        // Nothing sized: the first open pane takes all; all collapsed: the first.
        {{0, 0}, {true, false}, 500, 0, never, {0, 500}},
        {{80, 80}, {true, true}, 500, 0, never, {500, 0}},
        {{}, {}, 500, 0, never, {}},
    };
    for (const Case& c : cases) {
        const std::vector<int> laidOut = proportionalLayout(c.sizes, c.collapsed, c.extent, c.thickness, c.random);
        EXPECT_EQ(laidOut, c.expected) << ::testing::PrintToString(c.sizes);
    }
}

// Split views made and destroyed as a window makes them, against defaults
// of their own.
class SplitViewTest : public ::testing::Test {
protected:
    // A shown window with a split view of two panes.
    struct Window {
        std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
        GXSplitView* split = nullptr;
        QWidget* left = nullptr;
        QWidget* right = nullptr;
    };
    Window makeWindow(const QString& name, bool show = true)
    {
        Window made;
        made.split = new CQVLSplitView(true, made.window.get());
        made.left = new QWidget;
        made.right = new QWidget;
        made.split->addWidget(made.left);
        made.split->addWidget(made.right);
        made.split->setSizes({300, 700});
        made.split->setPositionAutosaveName(name);
        made.window->resize(1000, 600);
        made.split->setGeometry(0, 0, 1000, 600);
        if (show) {
            made.window->show();
            QApplication::processEvents();
        }
        return made;
    }

    UserDefaults defaults;
    ScopedUserDefaults scope{defaults};
};

TEST_F(SplitViewTest, NamesAreUniqueWhileTheirSplitViewLives)
{
    auto first = std::make_unique<GXSplitView>(true);
    EXPECT_TRUE(first->setPositionAutosaveName("mainAccountSplitView"));
    EXPECT_FALSE(first->setPositionAutosaveName("mainAccountSplitView"));   // held, by itself too
    GXSplitView second(true);
    EXPECT_FALSE(second.setPositionAutosaveName("mainAccountSplitView"));
    EXPECT_EQ(second.positionAutosaveName(), QString());
    first.reset();
    EXPECT_TRUE(second.setPositionAutosaveName("mainAccountSplitView"));
    // The empty name is none: it frees the name.
    EXPECT_TRUE(second.setPositionAutosaveName(QString()));
    EXPECT_FALSE(GXSplitView::isPositionNameInUse("mainAccountSplitView"));
}

TEST_F(SplitViewTest, PositionComesBackWithTheName)
{
    {
        Window window = makeWindow("AccountTransactionGraphSplitView");
        window.split->setSizes({420, 580});
        emit window.split->splitterMoved(420, 1);
        const Value saved = defaults.object("GXSplitView Position AccountTransactionGraphSplitView");
        const auto position = decodeSplitPosition(saved);
        ASSERT_TRUE(position);
        ASSERT_EQ(position->subviews.size(), 2u);
        EXPECT_EQ(position->subviews[0].frame.width, 420);
        EXPECT_TRUE(position->isVertical);
    }
    Window again = makeWindow("AccountTransactionGraphSplitView");
    EXPECT_EQ(again.split->sizes(), (QList<int>{420, 580}));

    // Another name starts from its own layout.
    Window other = makeWindow("mainCategorySplitView");
    EXPECT_EQ(other.split->sizes(), (QList<int>{300, 700}));
}

TEST_F(SplitViewTest, CollapsedPanesStayCollapsedAndAreAnnounced)
{
    {
        Window window = makeWindow("CategoryTransactionGraphSplitView");
        QSignalSpy collapsed(window.split, &GXSplitView::subviewCollapsed);
        window.split->setSizes({1000, 0});
        emit window.split->splitterMoved(1000, 1);
        EXPECT_TRUE(window.split->isSubviewCollapsed(window.right));
        ASSERT_EQ(collapsed.count(), 1);
        EXPECT_EQ(collapsed.takeFirst().at(0).value<QWidget*>(), window.right);
        const auto position = decodeSplitPosition(defaults.object("GXSplitView Position CategoryTransactionGraphSplitView"));
        ASSERT_TRUE(position);
        EXPECT_TRUE(position->subviews[1].collapsed);
        EXPECT_EQ(position->subviews[1].frame.x, kCollapsedOrigin);
        EXPECT_EQ(position->subviews[1].frame.width, 700);   // the size it had open
    }
    Window again = makeWindow("CategoryTransactionGraphSplitView");
    EXPECT_TRUE(again.split->isSubviewCollapsed(again.right));
    EXPECT_EQ(again.split->sizes().at(1), 0);

    // Expanding it again is announced too.
    QSignalSpy expanded(again.split, &GXSplitView::subviewExpanded);
    again.split->setSubviewCollapsed(again.right, false);
    again.split->resizeSubviews();
    EXPECT_EQ(expanded.count(), 1);
    EXPECT_GT(again.split->sizes().at(1), 0);
}

TEST_F(SplitViewTest, AnOldOrForeignEntryIsIgnored)
{
    Dictionary old = *encodeSplitPosition({{{{0, 0, 900, 600}, false}, {{900, 0, 100, 600}, false}}, true})
                          .asDictionary();
    old.set("version", 1);
    defaults.set("GXSplitView Position mainPortfolioSplitView", old);
    Window window = makeWindow("mainPortfolioSplitView");
    EXPECT_EQ(window.split->sizes(), (QList<int>{300, 700}));
}

TEST(SplitterGripTest, RefusesToMakeTheSideBarNarrowerThanAllowed)
{
    const auto atLeast200 = [](double, int) { return 200.0; };
    struct Case {
        bool vertical;
        int left, right;
        double dx;
        bool moved;
        int newLeft;
        bool recordPoint;
    };
    const Case cases[] = {
        {true, 250, 750, -30.0, true, 220, true},
        {true, 250, 750, -60.0, false, 250, false},   // would leave 190: refused, point kept
        {true, 210, 790, 40.0, true, 250, true},      // rightwards never refused
        {true, 150, 850, 10.0, true, 160, true},
        {false, 250, 750, -30.0, false, 250, true},   // not side by side: only the point
    };
    for (const Case& c : cases) {
        const GripDragResult step = gripDragStep(c.vertical, c.left, c.right, c.dx, atLeast200);
        EXPECT_EQ(step.moved, c.moved) << c.left << " " << c.dx;
        EXPECT_EQ(step.leftWidth, c.newLeft) << c.left << " " << c.dx;
        EXPECT_EQ(step.rightWidth, c.left + c.right - c.newLeft);
        EXPECT_EQ(step.recordPoint, c.recordPoint) << c.left << " " << c.dx;
    }
}

TEST(SplitterStyleTest, DividersTakeTheirRoomAndCentreTheDimple)
{
    CQVLSplitView flat(true);
    CHorizontalTexturedQVLSplitView textured(false);
    EXPECT_EQ(flat.handleWidth(), 0);
    EXPECT_EQ(textured.handleWidth(), 10);
    EXPECT_EQ(dimpleLeft(300, 12), 144);
}

} // namespace
} // namespace ch
