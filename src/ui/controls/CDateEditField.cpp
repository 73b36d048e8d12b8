#include "ui/controls/CDateEditField.h"

#include <QFocusEvent>
#include <QTimer>

#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "ui/controls/DateEntry.h"

namespace ch {

CDateEditField::CDateEditField(QWidget* parent) : QLineEdit(parent) {}

void CDateEditField::setToday()
{
    setDateT(CDate::GetNowAsDateT());
}

DateT CDateEditField::getDateT() const
{
    return dateFromText(text().trimmed().toStdString());
}

bool CDateEditField::setDateT(DateT date)
{
    const std::string shown = textForDate(date);
    setText(QString::fromStdString(shown));
    return !shown.empty();
}

void CDateEditField::setObjectValue(long number)
{
    setText(QString::fromStdString(textForNumber(number)));
}

bool CDateEditField::endEditing()
{
    if (text().trimmed().isEmpty())
        return true;
    const DateT date = getDateT();
    if (date == kNoDate) {
        CErrorManager::RaiseError(151);
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    const QString normal = QString::fromStdString(textForDate(date));
    if (normal != text())
        setText(normal);
    return true;
}

void CDateEditField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Moving on with the keyboard ends editing at once; a refusal takes the
    // focus back once the move is over.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        if (!endEditing())
            QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

} // namespace ch
