#pragma once
// An object pop-up: an editable combo box over one model list whose value is
// the chosen object's id. Typed text completes to the first listed name that
// begins with it. The value of typed text is the id of the object it names;
// text that names none but reads as a whole number is taken as an id only
// when the list holds an object with that id. The box follows its list: an
// object inserted or removed reloads it and keeps what is typed, or, when an
// entry was chosen and its text left as it was, that object under its
// present name. An object
// dragged onto the box whose name is listed becomes its text.

#include <memory>
#include <optional>

#include <QComboBox>

#include "platform/core/four_char_code.h"
#include "ui/controls/CPopupListDataSource.h"

namespace ch {

class CNamedListArray;
class PopupListModel;

class CPopupList : public QComboBox {
    Q_OBJECT

public:
    explicit CPopupList(QWidget* parent = nullptr);
    ~CPopupList() override;

    // A list that creates nothing.
    void setArray(CNamedListArray* list);
    void setArray(CNamedListArray* list, FourCharCode shownType, long subType);
    CPopupListDataSource& dataSource() { return *mDataSource; }

    // Shows the object with the id; false (nothing changes) when it is not listed.
    bool setId(long objectId);
    // Clears the box.
    void clearValue();
    // The id of the text (see above); none for empty text or no object.
    std::optional<long> objectValue() const;
    // Selects the entry named by the text, when there is one.
    void resetIndex();

signals:
    // The list was closed (with or without a choice).
    void listDismissed();

protected:
    // The open list is wide enough for whole names, however narrow the box.
    void showPopup() override;
    void hidePopup() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void reloadKeepingText();
    std::optional<long> droppedObject(const class QMimeData* mime) const;

    std::unique_ptr<CPopupListDataSource> mDataSource;
    PopupListModel* mModel = nullptr;
    // The object of the entry last chosen, and its name then.
    std::optional<long> mChosenId;
    QString mChosenName;
};

} // namespace ch
