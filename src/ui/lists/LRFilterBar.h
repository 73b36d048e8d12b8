#pragma once
// LRFilterBar: a bar of filter buttons in segments. The buttons of a
// segment exclude each other; the first of each is selected at first. The
// titles given are split into segments at "DIVIDER". Pressing a button -
// also the one already selected - runs the bar's action. Buttons that do
// not fit go into the bar's overflow menu.

#include <QToolBar>

#include <functional>
#include <vector>

class QActionGroup;

namespace ch {

class LRFilterBar : public QToolBar {
    Q_OBJECT

public:
    explicit LRFilterBar(QWidget* parent = nullptr);

    // Replaces the buttons; each title is shown as given.
    void addItemsWithTitles(const std::vector<QString>& titles, std::function<void()> action);
    void setGrayBackground();
    void setBlueBackground();

    int segmentCount() const { return static_cast<int>(mSegments.size()); }
    // -1 for a segment that does not exist.
    int getSelectedIndexInSegment(int segment) const;
    QString getSelectedTitleInSegment(int segment) const;
    // Selects without running the action; an index outside the segment
    // changes nothing.
    void selectIndex(int index, int segment);
    void selectTitle(const QString& title, int segment);
    // As if the user pressed the button.
    void pressIndex(int index, int segment);

private:
    std::vector<QActionGroup*> mSegments;
    std::function<void()> mAction;
};

} // namespace ch
