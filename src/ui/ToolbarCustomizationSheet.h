#pragma once
// The sheet in which the user arranges the document window's toolbar: the
// items that may stand in it on the left ("allowedItems"), the toolbar's
// items in their order on the right ("shownItems"). Add puts the chosen
// item after the current one (an item that may stand once only and already
// stands is chosen instead), Remove takes the chosen ones out, Move Up and
// Move Down (or dragging) reorder, Default Set starts again from the
// default set. OK ends it accepted; the caller reads arrangement().
//
// Window-modal on the document window; opened with open().

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace ch {

class ToolbarCustomizationSheet : public QDialog {
    Q_OBJECT

public:
    ToolbarCustomizationSheet(const std::vector<std::string>& arrangement, QWidget* parent = nullptr);

    // The identifiers of the right-hand list, in order.
    std::vector<std::string> arrangement() const;
    QListWidget* allowedList() const { return mAllowed; }
    QListWidget* shownList() const { return mShown; }

    void addChosen();
    void removeChosen();
    void moveCurrent(int step);
    void useDefaultSet();

private:
    void fillShown(const std::vector<std::string>& arrangement);

    QListWidget* mAllowed;
    QListWidget* mShown;
};

} // namespace ch
