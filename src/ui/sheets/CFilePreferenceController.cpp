#include "ui/sheets/CFilePreferenceController.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "bridge/CNSStringDateTBridge.h"
#include "bridge/CPrfRItem.h"
#include "document/FilePassword.h"
#include "document/arguments/BooksLinkArguments.h"
#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/FilePreferenceLogic.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

CFilePreferenceController::CFilePreferenceController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("FilePreferences"));
    setWindowTitle(localizedText("SETTINGBUTTON"));
    thisToolbar = new QToolBar(this);
    thisToolbar->setObjectName(QStringLiteral("setupToolbar"));
    thisToolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    thisToolbar->setMovable(false);
    tabView = new QStackedWidget(this);
    tabView->setObjectName(QStringLiteral("tabView"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    std::map<std::string_view, QFormLayout*> forms;
    for (const SettingsPage& page : settingsPages()) {
        QAction* item = thisToolbar->addAction(makeNamedIcon(page.image), localizedText(page.labelKey));
        item->setObjectName(QString::fromLatin1(page.identifier.data(), qsizetype(page.identifier.size())));
        item->setCheckable(true);
        group->addAction(item);
        const std::string identifier(page.identifier);
        connect(item, &QAction::triggered, this, [this, identifier] { showPage(identifier); });
        auto* widget = new QWidget(tabView);
        widget->setObjectName(item->objectName());
        auto* form = makeSheetForm();
        widget->setLayout(form);
        tabView->addWidget(widget);
        mPages[identifier] = widget;
        mItems[identifier] = item;
        forms[page.identifier] = form;
    }
    for (const SettingsPopup& popup : settingsPopups()) {
        auto* box = addSheetRow(forms[popup.page], popup.labelKey, new CPopupList(this), popup.outlet);
        box->setMinimumWidth(220);
        watchPopup(box);
        swallowReturnIn(box);
        const SettingsPopup* entry = &popup;
        connect(box, &QComboBox::currentIndexChanged, this, [this, entry] { popupChosen(*entry); });
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, entry] { popupChosen(*entry); });
    }
    QFormLayout* general = forms[settings_page::kGeneral];
    mYearStartPopup = addSheetRow(general, "PREFYEARSTART", new QComboBox(this), "mPrefYearStartPopup");
    for (int month = 1; month <= 12; ++month)
        mYearStartPopup->addItem(localizedText(("MONTHNAME" + std::to_string(month)).c_str()), month);
    mCurrentPeriodLabel = addSheetRow(general, "PREFCURRENTPERIOD", makeValueLabel(this), "mCurrentPeriodLabel");
    connect(mYearStartPopup, &QComboBox::activated, this, &CFilePreferenceController::yearStartChosen);
    QFormLayout* password = forms[settings_page::kPassword];
    mPassword = addSheetRow(password, "PREFPASSWORD", new QLineEdit(this), "mPassword");
    mOtherPasword = addSheetRow(password, "PREFPASSWORDAGAIN", new QLineEdit(this), "mOtherPasword");
    for (QLineEdit* field : {mPassword, mOtherPasword})
        field->setEchoMode(QLineEdit::Password);
    auto* notEncryption = new QLabel(localizedText("PASSWORDNOTENCRYPTION"), this);
    notEncryption->setObjectName("passwordNotEncryptionLabel");
    notEncryption->setWordWrap(true);
    password->addRow(notEncryption);
    connect(mPassword, &QLineEdit::editingFinished, this, &CFilePreferenceController::passwordEdited);
    connect(mOtherPasword, &QLineEdit::editingFinished, this, &CFilePreferenceController::confirmationEdited);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 14);
    layout->addWidget(thisToolbar);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(20, 16, 20, 0);
    body->addWidget(tabView);
    layout->addLayout(body);
    layout->addSpacing(16);
    auto* buttons = makeButtonRow(0);
    buttons->setContentsMargins(20, 0, 20, 0);
    layout->addLayout(buttons);
    CancelButton->hide();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CFilePreferenceController::~CFilePreferenceController()
{
    // The pop-ups go after this object; what they announce while going is no choice.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

CFilePreferenceController* CFilePreferenceController::showFor(QWidget* window, SheetDocument& document,
                                                              std::shared_ptr<CPrfRItem> settings)
{
    auto* sheet = new CFilePreferenceController(window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->openSheet(window, {{std::string(sheet_key::kDocument), &document},
                              {std::string(settings_key::kFilePreferences),
                               std::static_pointer_cast<CNonVisualDataItem>(std::move(settings))}});
    return sheet;
}

void CFilePreferenceController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mDocument = parameters.document();
    mSettings = parameters.itemAs<CPrfRItem>(settings_key::kFilePreferences);
    CDocAccounting* books = mDocument ? mDocument->books() : nullptr;
    mLoading = true;
    for (const SettingsPopup& popup : settingsPopups()) {
        auto* box = findChild<CPopupList*>(QString::fromLatin1(popup.outlet));
        const SettingsPopup* entry = &popup;
        box->dataSource().setOffered([entry, books](const CNonVisual& object) { return entry->offers(books, object); });
        box->setArray(popup.list(books));
        box->clearValue();
        if (mSettings)
            box->setId(popup.read(*mSettings));
    }
    showYearStart();
    const std::string stored = mSettings ? mSettings->mPassword().value_or("") : std::string();
    mPassword->setText(QString::fromStdString(stored));
    mOtherPasword->setText(QString::fromStdString(mSettings ? mSettings->mOtherPasword().value_or("") : ""));
    mLoading = false;
    mItems[std::string(settings_page::kGeneral)]->setChecked(true);
    showPage(settings_page::kGeneral);
}

std::string CFilePreferenceController::shownPage() const
{
    return tabView->currentWidget() ? tabView->currentWidget()->objectName().toStdString() : std::string();
}

void CFilePreferenceController::showPage(std::string_view identifier)
{
    const auto page = mPages.find(identifier);
    if (page == mPages.end())
        return;
    const QRect before = geometry();
    // Only the page shown counts for the window's size.
    for (const auto& [name, widget] : mPages)
        widget->setSizePolicy(widget == page->second ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                              widget == page->second ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    tabView->setCurrentWidget(page->second);
    mItems[std::string(identifier)]->setChecked(true);
    tabView->adjustSize();
    adjustSize();
    // The window grows or shrinks downwards: its top edge stays.
    if (isVisible())
        setGeometry(before.left(), before.top(), width(), height());
}

void CFilePreferenceController::popupChosen(const SettingsPopup& popup)
{
    if (mLoading || !mSettings)
        return;
    auto* box = findChild<CPopupList*>(QString::fromLatin1(popup.outlet));
    const std::optional<long> id = box->objectValue();
    if (!id || *id == popup.read(*mSettings))
        return;
    sendSetting(popup.setting, *id);
}

void CFilePreferenceController::sendSetting(const char* setting, long value)
{
    if (!mDocument)
        return;
    // Through the executor, so that a crash does not lose the change.
    arguments::BookSettingArguments values;
    values.name = setting;
    values.value = value;
    mDocument->commands().executeCommand(kBookSettingCommand, nullptr, &values);
}

void CFilePreferenceController::yearStartChosen()
{
    if (mLoading || !mSettings)
        return;
    const long month = mYearStartPopup->currentData().toInt();
    if (month != mSettings->mCurrentYearStart()) {
        // The item recomputes the current and previous periods; it refuses
        // a month it cannot take (166).
        sendSetting("CurrentYearStart", month);
    }
    showYearStart();
}

void CFilePreferenceController::showYearStart()
{
    const long month = mSettings ? mSettings->mCurrentYearStart() : 1;
    mYearStartPopup->setCurrentIndex(month >= 1 && month <= 12 ? static_cast<int>(month) - 1 : -1);
    auto date = [](long value) {
        return QString::fromStdString(CNSStringDateTBridge::dateTToNSString(static_cast<DateT>(value)));
    };
    mCurrentPeriodLabel->setText(mSettings ? QStringLiteral("%1 \u2013 %2")
                                                 .arg(date(mSettings->mCurrentPeriodStart()),
                                                      date(mSettings->mCurrentPeriodEnd()))
                                           : QString());
}

void CFilePreferenceController::passwordEdited()
{
    if (mLoading || !mSettings || mSettings->mPassword().value_or("") == mPassword->text().toStdString())
        return;
    // Stored cut or converted, the password would open with texts never typed.
    if (!checkFilePasswordCanBeStored(mPassword->text().toStdString())) {
        mPassword->setText(QString::fromStdString(mSettings->mPassword().value_or("")));
        return;
    }
    mSettings->setMPassword(mPassword->text().toStdString());
    if (mDocument)
        mDocument->updateChangeCount();
}

void CFilePreferenceController::confirmationEdited()
{
    if (mLoading || !mSettings || mOtherPasword->text().isEmpty())
        return;
    mSettings->setMOtherPasword(mOtherPasword->text().toStdString());
    if (mDocument)
        mDocument->updateChangeCount();
}

} // namespace ch
