#include "ui/controls/CTextField.h"

#include <QFocusEvent>
#include <QTimer>

#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

bool fitsMaximumLength(int tag, qsizetype length)
{
    return tag < 1 || tag > 254 || length <= tag;
}

CTextField::CTextField(QWidget* parent, int tag) : QLineEdit(parent), mTag(tag) {}

bool CTextField::endEditing()
{
    const qsizetype length = text().size();
    if (fitsMaximumLength(mTag, length))
        return true;
    Alert alert;
    alert.title = localized("Info");
    alert.message = formatMessage(localized("MAXLENGTH"), {std::to_string(mTag), std::to_string(length)});
    alert.defaultButton = localized("OK");
    alertPresenter().showInfo(alert);
    setFocus(Qt::OtherFocusReason);
    return false;
}

void CTextField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Moving on with the keyboard ends editing at once; a refusal takes the
    // focus back once the move is over.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        if (!endEditing())
            QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

} // namespace ch
