#include "ui/GXSplitView.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOption>

#include <algorithm>
#include <random>
#include <set>

#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// The autosave names live split views hold, across every window.
std::set<QString>& namesInUse()
{
    static std::set<QString> names;
    return names;
}

std::uint32_t defaultRandom()
{
    static std::mt19937 engine{std::random_device{}()};
    return static_cast<std::uint32_t>(engine() & 0x7FFFFFFFu);
}

} // namespace

// A divider that the split view draws and that reports double clicks.
class GXSplitViewHandle : public QSplitterHandle {
public:
    GXSplitViewHandle(Qt::Orientation orientation, GXSplitView* view) : QSplitterHandle(orientation, view), mView(view)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        mView->drawDividerInRect(painter, rect());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        for (int i = 1; i < mView->count(); ++i)
            if (mView->handle(i) == this) emit mView->dividerDoubleClicked(i - 1);
        event->accept();
    }

private:
    GXSplitView* mView;
};

GXSplitView::GXSplitView(bool vertical, QWidget* parent)
    : QSplitter(vertical ? Qt::Horizontal : Qt::Vertical, parent), mRandom(defaultRandom)
{
    setChildrenCollapsible(true);
    connect(this, &QSplitter::splitterMoved, this, [this] { followSizes(); });
}

GXSplitView::~GXSplitView()
{
    if (!mAutosaveName.isEmpty()) namesInUse().erase(mAutosaveName);
}

void GXSplitView::setVertical(bool vertical)
{
    setOrientation(vertical ? Qt::Horizontal : Qt::Vertical);
}

bool GXSplitView::isSubviewCollapsed(const QWidget* subview) const
{
    return std::any_of(mCollapsed.begin(), mCollapsed.end(),
                       [subview](const QPointer<QWidget>& view) { return view == subview; });
}

void GXSplitView::setSubviewCollapsed(QWidget* subview, bool collapsed)
{
    if (!subview || isSubviewCollapsed(subview) == collapsed) return;
    if (collapsed) {
        mCollapsed.emplace_back(subview);
        emit subviewCollapsed(subview);
    } else {
        std::erase_if(mCollapsed, [subview](const QPointer<QWidget>& view) { return view == subview || !view; });
        emit subviewExpanded(subview);
    }
}

bool GXSplitView::isPositionNameInUse(const QString& name)
{
    return namesInUse().count(name) != 0;
}

bool GXSplitView::setPositionAutosaveName(const QString& name)
{
    if (!name.isEmpty() && isPositionNameInUse(name)) return false;
    if (!mAutosaveName.isEmpty()) namesInUse().erase(mAutosaveName);
    mAutosaveName = name;
    if (!name.isEmpty()) {
        setPositionUsingName(name);
        namesInUse().insert(name);
    }
    return true;
}

void GXSplitView::savePositionUsingName(const QString& name) const
{
    UserDefaults::standard().set(splitPositionKey(name.toStdString()), plistObjectWithSavedPosition());
}

bool GXSplitView::setPositionUsingName(const QString& name)
{
    const Value saved = UserDefaults::standard().object(splitPositionKey(name.toStdString()));
    if (saved.isAbsent()) return false;
    setPositionFromPlistObject(saved);
    return true;
}

void GXSplitView::removePositionUsingName(const QString& name)
{
    UserDefaults::standard().remove(splitPositionKey(name.toStdString()));
}

int GXSplitView::majorExtent() const
{
    return isVertical() ? width() : height();
}

int GXSplitView::majorOf(const QWidget* widget) const
{
    return isVertical() ? widget->width() : widget->height();
}

Value GXSplitView::plistObjectWithSavedPosition() const
{
    SavedSplitPosition position;
    position.isVertical = isVertical();
    const int minor = isVertical() ? height() : width();
    for (int i = 0; i < count(); ++i) {
        const QWidget* subview = widget(i);
        SavedSubview saved;
        saved.collapsed = isSubviewCollapsed(subview);
        if (saved.collapsed) {
            const int major = static_cast<std::size_t>(i) < mOpenSizes.size() ? mOpenSizes[i] : 0;
            saved.frame = {kCollapsedOrigin, kCollapsedOrigin, double(isVertical() ? major : minor),
                           double(isVertical() ? minor : major)};
        } else {
            const QRect frame = subview->geometry();
            saved.frame = {double(frame.x()), double(frame.y()), double(frame.width()), double(frame.height())};
        }
        position.subviews.push_back(saved);
    }
    return encodeSplitPosition(position);
}

void GXSplitView::setPositionFromPlistObject(const Value& object)
{
    if (auto position = decodeSplitPosition(object)) {
        setVertical(position->isVertical);
        mPending = std::move(*position);
    }
    if (isVisible() && majorExtent() > 0) {
        applyPending();
        resizeSubviews();
    }
}

void GXSplitView::applyPending()
{
    if (!mPending) return;
    const SavedSplitPosition position = std::move(*mPending);
    mPending.reset();
    mRestoring = true;
    const std::size_t common = std::min(position.subviews.size(), static_cast<std::size_t>(count()));
    QList<int> current = sizes();
    mOpenSizes.resize(static_cast<std::size_t>(count()), 0);
    for (std::size_t i = 0; i < common; ++i) {
        const SavedSubview& saved = position.subviews[i];
        const int major = static_cast<int>(isVertical() ? saved.frame.width : saved.frame.height);
        mOpenSizes[i] = major;
        current[static_cast<int>(i)] = saved.collapsed ? 0 : major;
        setSubviewCollapsed(widget(static_cast<int>(i)), saved.collapsed);
    }
    setSizes(current);
    mRestoring = false;
}

void GXSplitView::resizeSubviews()
{
    if (count() == 0) return;
    const QList<int> current = sizes();
    std::vector<double> majors;
    std::vector<bool> collapsed;
    mOpenSizes.resize(static_cast<std::size_t>(count()), 0);
    for (int i = 0; i < count(); ++i) {
        const bool isCollapsed = isSubviewCollapsed(widget(i));
        // A pane just expanded comes back at the size it had open.
        const int open = mOpenSizes[static_cast<std::size_t>(i)];
        majors.push_back(current[i] > 0 || isCollapsed ? current[i] : open);
        collapsed.push_back(isCollapsed);
    }
    const std::vector<int> laidOut = proportionalLayout(majors, collapsed, majorExtent(), handleWidth(), mRandom);
    QList<int> applied;
    for (int i = 0; i < count(); ++i) {
        applied.append(laidOut[static_cast<std::size_t>(i)]);
        if (laidOut[static_cast<std::size_t>(i)] > 0) setSubviewCollapsed(widget(i), false);
    }
    mRestoring = true;
    setSizes(applied);
    mRestoring = false;
    followSizes();
}

void GXSplitView::followSizes()
{
    if (mRestoring || mPending || majorExtent() <= 0) return;
    const QList<int> current = sizes();
    // Before its first layout a split view has no sizes to follow.
    if (std::all_of(current.begin(), current.end(), [](int size) { return size == 0; })) return;
    mOpenSizes.resize(static_cast<std::size_t>(count()), 0);
    for (int i = 0; i < count(); ++i) {
        QWidget* subview = widget(i);
        if (current[i] > 0) {
            mOpenSizes[static_cast<std::size_t>(i)] = current[i];
            setSubviewCollapsed(subview, false);
        } else if (!subview->isHidden()) {
            setSubviewCollapsed(subview, true);
        }
    }
    autosave();
}

void GXSplitView::autosave() const
{
    if (!mAutosaveName.isEmpty()) savePositionUsingName(mAutosaveName);
}

void GXSplitView::drawDividerInRect(QPainter& painter, const QRect& rect)
{
    QStyleOption option;
    option.initFrom(this);
    option.rect = rect;
    option.state = isVertical() ? QStyle::State_Horizontal : QStyle::State_None;
    style()->drawControl(QStyle::CE_Splitter, &option, &painter, this);
}

QSplitterHandle* GXSplitView::createHandle()
{
    return new GXSplitViewHandle(orientation(), this);
}

void GXSplitView::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    if (mPending && isVisible() && majorExtent() > 0) {
        applyPending();
        resizeSubviews();
        return;
    }
    followSizes();
}

void GXSplitView::showEvent(QShowEvent* event)
{
    QSplitter::showEvent(event);
    if (mPending && majorExtent() > 0) {
        applyPending();
        resizeSubviews();
    }
}

void GXSplitView::childEvent(QChildEvent* event)
{
    QSplitter::childEvent(event);
    if (event->removed())
        std::erase_if(mCollapsed, [](const QPointer<QWidget>& view) { return view.isNull(); });
}

} // namespace ch
