#include "ui/controls/CPopupList.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QStyle>

#include "model/CNonVisual.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/controls/PopupListModel.h"

namespace ch {

CPopupList::CPopupList(QWidget* parent)
    : QComboBox(parent), mDataSource(std::make_unique<CPopupListDataSource>())
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(10);
    setAcceptDrops(true);
    mModel = new PopupListModel(*mDataSource, this);
    setModel(mModel);
    completer()->setCaseSensitivity(Qt::CaseInsensitive);
    completer()->setCompletionMode(QCompleter::InlineCompletion);
    completer()->setModelSorting(QCompleter::UnsortedModel);
    completer()->setFilterMode(Qt::MatchStartsWith);
    setCurrentIndex(-1);
    mDataSource->listChanged = [this] { reloadKeepingText(); };
    // Read while the entries and the list agree (an entry is chosen, or set
    // after a reload), so that a later reload knows which object was shown.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        const CNonVisual* object = index >= 0 ? mDataSource->objectAtIndex(index) : nullptr;
        mChosenId = object ? std::optional<long>(object->Get_Id()) : std::nullopt;
        mChosenName = object ? itemText(index) : QString();
    });
}

CPopupList::~CPopupList()
{
    mDataSource->listChanged = nullptr;
}

void CPopupList::setArray(CNamedListArray* list)
{
    setArray(list, CPopupListDataSource::kNoType, -1);
}

void CPopupList::setArray(CNamedListArray* list, FourCharCode shownType, long subType)
{
    const std::optional<long> shown = objectValue();
    mDataSource->setArray(list, shownType, subType);
    mModel->reload();
    setCurrentIndex(-1);
    clearEditText();
    if (shown)
        setId(*shown);
}

bool CPopupList::setId(long objectId)
{
    if (!mDataSource->getDescriptionForId(objectId))
        return false;
    setCurrentIndex(mDataSource->getIndexOfId(objectId) - 1);
    return true;
}

void CPopupList::clearValue()
{
    setCurrentIndex(-1);
    clearEditText();
}

std::optional<long> CPopupList::objectValue() const
{
    const QString text = currentText();
    if (text.isEmpty())
        return std::nullopt;
    const int selected = currentIndex();
    if (selected >= 0 && itemText(selected) == text) {
        const auto name = mDataSource->objectValueAtIndex(selected);
        const long id = name ? mDataSource->doesItemExist(*name) : -1;
        return id == -1 ? std::nullopt : std::optional<long>(id);
    }
    const long id = mDataSource->doesItemExist(text.toStdString());
    if (id != -1)
        return id;
    bool isNumber = false;
    const double typed = text.trimmed().toDouble(&isNumber);
    const long typedId = isNumber ? static_cast<long>(typed) : 0;
    // A typed id counts only when the list holds that object.
    if (typedId >= 1 && mDataSource->getDescriptionForId(typedId))
        return typedId;
    return std::nullopt;
}

void CPopupList::resetIndex()
{
    if (const auto index = mDataSource->indexOfItemWithStringValue(currentText().toStdString())) {
        const QString typed = currentText();
        setCurrentIndex(*index);
        if (itemText(*index) != typed)
            setEditText(typed);
    }
}

void CPopupList::reloadKeepingText()
{
    const QString typed = currentText();
    const int cursor = lineEdit() ? lineEdit()->cursorPosition() : 0;
    // An object shown as chosen stays shown, under its name of now: renamed
    // meanwhile, its old name may by now be another object's.
    const std::optional<long> chosen = typed == mChosenName ? mChosenId : std::nullopt;
    mModel->reload();
    setCurrentIndex(-1);
    if (chosen && setId(*chosen))
        return;
    setEditText(typed);
    resetIndex();
    if (lineEdit())
        lineEdit()->setCursorPosition(cursor);
}

void CPopupList::showPopup()
{
    if (QAbstractItemView* list = view()) {
        const int names = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        list->setMinimumWidth(std::max(width(), names));
    }
    QComboBox::showPopup();
}

void CPopupList::hidePopup()
{
    // Only a list that was open counts as dismissed (not the hiding at destruction).
    const bool wasOpen = view() && view()->window() && view()->window()->isVisible();
    QComboBox::hidePopup();
    if (wasOpen)
        emit listDismissed();
}

std::optional<long> CPopupList::droppedObject(const QMimeData* mime) const
{
    if (!mime || !mime->hasFormat(kNonvisualPboardType) || !mime->hasText())
        return std::nullopt;
    const long id = mDataSource->doesItemExist(mime->text().toStdString());
    return id == -1 ? std::nullopt : std::optional<long>(id);
}

void CPopupList::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedObject(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CPopupList::dropEvent(QDropEvent* event)
{
    if (droppedObject(event->mimeData())) {
        setEditText(event->mimeData()->text());
        resetIndex();
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

} // namespace ch
