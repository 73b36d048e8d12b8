#include "ui/lists/LRFilterBar.h"

#include <QAction>
#include <QActionGroup>

namespace ch {

LRFilterBar::LRFilterBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setGrayBackground();
}

void LRFilterBar::setGrayBackground()
{
    setStyleSheet(QStringLiteral(
        "QToolBar { border: none; border-bottom: 1px solid #b4b4b4; padding: 2px 6px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f4f4, stop:1 #dcdcdc); }"
        "QToolButton { padding: 1px 9px; border-radius: 9px; color: #333; }"
        "QToolButton:checked { background: #8c8c8c; color: white; }"
        "QToolButton:hover:!checked { background: #e6e6e6; }"
        // The divider between segments, so that their buttons do not read as one row.
        "QToolBar::separator { background: #a0a0a0; width: 1px; margin: 3px 10px; }"));
}

void LRFilterBar::setBlueBackground()
{
    setStyleSheet(QStringLiteral(
        "QToolBar { border: none; border-bottom: 1px solid #8fa6c4; padding: 2px 6px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e4ecf7, stop:1 #c6d4e8); }"
        "QToolButton { padding: 1px 9px; border-radius: 9px; color: #234; }"
        "QToolButton:checked { background: #5a7fb5; color: white; }"
        "QToolBar::separator { background: #8fa6c4; width: 1px; margin: 3px 10px; }"));
}

void LRFilterBar::addItemsWithTitles(const std::vector<QString>& titles, std::function<void()> action)
{
    clear();
    for (QActionGroup* group : mSegments) delete group;
    mSegments.clear();
    mAction = std::move(action);
    auto startSegment = [this] {
        auto* group = new QActionGroup(this);
        group->setExclusive(true);
        mSegments.push_back(group);
        return group;
    };
    QActionGroup* segment = startSegment();
    for (const QString& title : titles) {
        if (title == QLatin1String("DIVIDER")) {
            addSeparator();
            segment = startSegment();
            continue;
        }
        QAction* button = addAction(title);
        button->setCheckable(true);
        segment->addAction(button);
        if (segment->actions().size() == 1) button->setChecked(true);
        connect(button, &QAction::triggered, this, [this, button] {
            button->setChecked(true);
            if (mAction) mAction();
        });
    }
}

int LRFilterBar::getSelectedIndexInSegment(int segment) const
{
    if (segment < 0 || segment >= segmentCount()) return -1;
    const QList<QAction*> buttons = mSegments[static_cast<std::size_t>(segment)]->actions();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked()) return i;
    return -1;
}

QString LRFilterBar::getSelectedTitleInSegment(int segment) const
{
    const int index = getSelectedIndexInSegment(segment);
    return index < 0 ? QString() : mSegments[static_cast<std::size_t>(segment)]->actions()[index]->text();
}

void LRFilterBar::selectIndex(int index, int segment)
{
    if (segment < 0 || segment >= segmentCount()) return;
    const QList<QAction*> buttons = mSegments[static_cast<std::size_t>(segment)]->actions();
    if (index >= 0 && index < buttons.size()) buttons[index]->setChecked(true);
}

void LRFilterBar::selectTitle(const QString& title, int segment)
{
    if (segment < 0 || segment >= segmentCount()) return;
    const QList<QAction*> buttons = mSegments[static_cast<std::size_t>(segment)]->actions();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->text() == title) return selectIndex(i, segment);
}

void LRFilterBar::pressIndex(int index, int segment)
{
    if (segment < 0 || segment >= segmentCount()) return;
    const QList<QAction*> buttons = mSegments[static_cast<std::size_t>(segment)]->actions();
    if (index >= 0 && index < buttons.size()) buttons[index]->trigger();
}

} // namespace ch
