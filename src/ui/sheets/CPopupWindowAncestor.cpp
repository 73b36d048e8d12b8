#include "ui/sheets/CPopupWindowAncestor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QPushButton>

#include "model/foundation/CErrorManager.h"
#include "platform/gui/help_opener.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/EditingField.h"

namespace ch {

namespace {
constexpr auto kReturnGuard = std::chrono::milliseconds(100);
constexpr long kCloseWithChangesQuestion = 375;
} // namespace

CPopupWindowAncestor::CPopupWindowAncestor(QWidget* parent)
    : Sheet(parent), mClock([] { return std::chrono::steady_clock::now(); })
{
}

void CPopupWindowAncestor::initialize(const SheetParameters& parameters)
{
    mDictionary = parameters;
}

void CPopupWindowAncestor::openSheet(QWidget* window, const SheetParameters& parameters)
{
    initialize(parameters);
    const SheetParameters context = parameters;
    begin(window, [this, context](int code) { dialogClosed(code, context); });
    initialize(parameters);
    mOpeningValues = fieldValues();
}

QStringList CPopupWindowAncestor::fieldValues() const
{
    // Every field a person can change, in the order of the sheet's children.
    QStringList values;
    for (const QWidget* child : findChildren<QWidget*>()) {
        if (const auto* box = qobject_cast<const QComboBox*>(child))
            values << QString::number(box->currentIndex()) + u'|' + box->currentText();
        else if (const auto* line = qobject_cast<const QLineEdit*>(child))
            values << (qobject_cast<const QComboBox*>(line->parentWidget()) ? QString() : line->text());
        else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(child))
            values << spin->text();
        else if (const auto* text = qobject_cast<const QTextEdit*>(child))
            values << text->toPlainText();
        else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(child))
            values << plain->toPlainText();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(child); button && button->isCheckable())
            values << QString::number(button->isChecked());
    }
    return values;
}

bool CPopupWindowAncestor::hasChangedValues() const
{
    return mOpeningValues && fieldValues() != *mOpeningValues;
}

void CPopupWindowAncestor::dialogClosed(int, const SheetParameters&) {}

std::string CPopupWindowAncestor::helpAnchorForTag(int tag)
{
    static const char* const anchors[] = {"startPage", "categories", "accounts", "transactions",
                                          "reports",   "shares",     "budgets",  "discover"};
    if (tag >= 0 && tag < 8)
        return anchors[tag];
    return "indexpage";
}

void CPopupWindowAncestor::okClicked()
{
    if (mHandlingKey && dateComboboxSelectionChanged && mClock() - *dateComboboxSelectionChanged < kReturnGuard)
        return;
    if (OKButton)
        OKButton->setFocus(Qt::OtherFocusReason);
    if (!endEditingOfFields())
        return;
    if (!checkContents())
        return;
    endSheet(kConfirmed);
}

void CPopupWindowAncestor::cancelClicked()
{
    endSheet(kCancelled);
}

void CPopupWindowAncestor::showHelp()
{
    std::string anchor = helpAnchor();
    if (auto* button = qobject_cast<QPushButton*>(sender()))
        anchor = helpAnchorForTag(button->property("tag").toInt());
    HelpOpener().openAnchor(anchor);
}

void CPopupWindowAncestor::comboBoxWillDismiss()
{
    dateComboboxSelectionChanged = mClock();
}

bool CPopupWindowAncestor::endEditingOfFields()
{
    for (QWidget* child : findChildren<QWidget*>()) {
        if (!child->isEnabled())
            continue;
        if (auto* field = dynamic_cast<EditingField*>(child); field && !field->endEditing())
            return false;
    }
    return true;
}

void CPopupWindowAncestor::discardEditingOfFields()
{
    for (QWidget* child : findChildren<QWidget*>())
        if (auto* field = dynamic_cast<EditingField*>(child))
            field->discardEditing();
}

void CPopupWindowAncestor::done(int returnCode)
{
    if (isRunning())
        discardEditingOfFields();
    Sheet::done(returnCode);
}

QHBoxLayout* CPopupWindowAncestor::makeButtonRow(int helpTag)
{
    auto* row = new QHBoxLayout;
    HelpButton = new QPushButton(QStringLiteral("?"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setProperty("tag", helpTag);
    HelpButton->setFixedWidth(HelpButton->sizeHint().height());
    HelpButton->setAutoDefault(false);
    HelpButton->setFocusPolicy(Qt::NoFocus);
    CancelButton = new QPushButton(localizedText("CANCEL"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    OKButton = new QPushButton(localizedText("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setMinimumWidth(90);
    CancelButton->setMinimumWidth(90);
    row->addWidget(HelpButton);
    row->addStretch(1);
    row->addWidget(CancelButton);
    row->addWidget(OKButton);
    connect(OKButton, &QPushButton::clicked, this, &CPopupWindowAncestor::okClicked);
    connect(CancelButton, &QPushButton::clicked, this, &CPopupWindowAncestor::cancelClicked);
    connect(HelpButton, &QPushButton::clicked, this, &CPopupWindowAncestor::showHelp);
    return row;
}

void CPopupWindowAncestor::watchPopup(CPopupList* popup)
{
    connect(popup, &CPopupList::listDismissed, this, &CPopupWindowAncestor::comboBoxWillDismiss);
}

void CPopupWindowAncestor::swallowReturnIn(QWidget* popup)
{
    popup->installEventFilter(this);
    if (auto* box = qobject_cast<QComboBox*>(popup); box && box->lineEdit())
        box->lineEdit()->installEventFilter(this);
}

void CPopupWindowAncestor::keyPressEvent(QKeyEvent* event)
{
    // Typed values are not thrown away by a key pressed by mistake.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isRunning() &&
        hasChangedValues() &&
        !CErrorManager::AskQuestion(kCloseWithChangesQuestion, ButtonKey("NO"), ButtonKey("YES"))) {
        event->accept();
        return;
    }
    mHandlingKey = true;
    Sheet::keyPressEvent(event);
    mHandlingKey = false;
}

bool CPopupWindowAncestor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Return ends the pop-up's typing, not the sheet.
            if (auto* box = qobject_cast<CPopupList*>(watched) ? qobject_cast<CPopupList*>(watched)
                                                               : qobject_cast<CPopupList*>(watched->parent()))
                box->resetIndex();
            return true;
        }
    }
    return Sheet::eventFilter(watched, event);
}

} // namespace ch
