#include "ui/ApplicationPreferencesWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QAbstractSpinBox>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "bridge/TextColours.h"
#include "document/app/ApplicationDefaults.h"
#include "document/app/ApplicationPreferences.h"
#include "document/app/TimerIntervals.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"

namespace ch {

namespace {

QString name(std::string_view key)
{
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

constexpr std::string_view kPageLabels[] = {"GENERALBUTTON", "AUTOSAVEBUTTON", "COLORBUTTON",
                                            "GRAPHBUTTON",   "IMPORTBUTTON",   "UPDATEBUTTON"};

QColor toQColor(const Colour& colour)
{
    return QColor::fromRgbF(static_cast<float>(colour.red), static_cast<float>(colour.green),
                            static_cast<float>(colour.blue));
}

Colour storedColour(std::string_view key)
{
    if (key == kGreenTextColorKey) return getGreenColor();
    if (key == kRedTextColorKey) return getRedColor();
    return getBlueColor();
}

QDate toQDate(long long dateT)
{
    return QDate(static_cast<int>(dateT / 10000), static_cast<int>(dateT / 100 % 100), static_cast<int>(dateT % 100));
}

long long toDateT(const QDate& date)
{
    return date.year() * 10000LL + date.month() * 100 + date.day();
}

// Only the window's own controls: an open colour panel is a child too.
template <class Control>
QList<Control*> controls(const QWidget& window)
{
    QList<Control*> found;
    for (Control* control : window.findChildren<Control*>())
        if (applicationPreferenceField(control->objectName().toStdString())) found.push_back(control);
    return found;
}

QWidget* formPage(QFormLayout*& form)
{
    auto* page = new QWidget;
    form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    form->setContentsMargins(20, 16, 20, 16);
    return page;
}

} // namespace

ApplicationPreferencesWindow::ApplicationPreferencesWindow(UserDefaults& defaults, QWidget* parent)
    : QWidget(parent, Qt::Window), mDefaults(defaults), mToolbar(new QToolBar(this)), mTabs(new QStackedWidget(this))
{
    setObjectName("preferenceWindow");
    setWindowTitle(localizedText("PREFERENCESWINDOWTITLE"));
    mToolbar->setObjectName("GlobalPreferenceToolbarTest");
    mToolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    mToolbar->setMovable(false);
    mToolbar->setIconSize(QSize(32, 32));
    mTabs->setObjectName("preferenceTab");

    auto* group = new QActionGroup(this);
    for (int tag = 0; tag < static_cast<int>(std::size(kPages)); ++tag) {
        QAction* item = mToolbar->addAction(makeNamedIcon(kPages[tag]), localizedText(kPageLabels[tag]));
        item->setObjectName(name(kPages[tag]));
        item->setProperty("tag", tag);
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, tag] { showPreferencePage(tag); });
        // The pages are chosen with the mouse; the keys stay with the controls.
        if (QWidget* button = mToolbar->widgetForAction(item)) button->setFocusPolicy(Qt::NoFocus);
    }
    mTabs->addWidget(makeGeneralPage());
    mTabs->addWidget(makeAutosavePage());
    mTabs->addWidget(makeColoursPage());
    mTabs->addWidget(makeGraphsPage());
    mTabs->addWidget(makeImportingPage());
    mTabs->addWidget(makeOnLinePage());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mToolbar);
    layout->addWidget(mTabs);
    // Closed with the keys of any small window: the desktop's Close, Ctrl+W
    // and Escape, each once (a key bound twice would do nothing).
    QList<QKeySequence> closers = QKeySequence::keyBindings(QKeySequence::Close);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)})
        if (!closers.contains(keys)) closers.push_back(keys);
    for (const QKeySequence& keys : closers)
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    resize(560, 300);
    load();
    showPreferencePage(0);
}

int ApplicationPreferencesWindow::currentPage() const
{
    return mTabs->currentIndex();
}

void ApplicationPreferencesWindow::showPreferencePage(int tag)
{
    if (tag < 0 || tag >= mTabs->count()) return;
    mTabs->setCurrentIndex(tag);
    for (QAction* item : mToolbar->actions())
        if (item->property("tag").toInt() == tag) item->setChecked(true);
    resizeWindowToTab();
}

void ApplicationPreferencesWindow::resizeWindowToTab()
{
    // The pages not shown ask for no room, so that the window fits the one shown.
    for (int index = 0; index < mTabs->count(); ++index)
        mTabs->widget(index)->setSizePolicy(QSizePolicy::Preferred, index == mTabs->currentIndex()
                                                                        ? QSizePolicy::Preferred
                                                                        : QSizePolicy::Ignored);
    // Hidden pages do not tell the pages' stack that they changed.
    mTabs->layout()->invalidate();
    mTabs->updateGeometry();
    // The layout adds the toolbar and the margins to what the page asks for.
    layout()->invalidate();
    layout()->activate();
    // Only the height changes: the top edge stays where it is.
    resize(width(), sizeHint().height());
}

void ApplicationPreferencesWindow::showEvent(QShowEvent* event)
{
    load();
    QWidget::showEvent(event);
}

void ApplicationPreferencesWindow::closeEvent(QCloseEvent* event)
{
    // An address typed but not yet confirmed with Return is kept.
    if (QWidget* focus = focusWidget(); qobject_cast<QLineEdit*>(focus)) focus->clearFocus();
    QWidget::closeEvent(event);
    emit closed();
}

// --- controls

QCheckBox* ApplicationPreferencesWindow::flag(std::string_view key, std::string_view titleKey)
{
    auto* box = new QCheckBox(localizedText(titleKey));
    box->setObjectName(name(key));
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
        store(key, Value(on));
        enableDependents();
    });
    return box;
}

QSpinBox* ApplicationPreferencesWindow::number(std::string_view key, int minimum, int maximum,
                                               std::string_view suffixKey)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(name(key));
    spin->setRange(minimum, maximum);
    if (!suffixKey.empty()) spin->setSuffix(localizedText(suffixKey));
    // A number typed digit by digit counts once it is complete, so that
    // "15" does not first restart a timer at 1 minute.
    spin->setKeyboardTracking(false);
    connect(spin, &QSpinBox::valueChanged, this, [this, key](int value) { store(key, Value(value)); });
    return spin;
}

QDateEdit* ApplicationPreferencesWindow::date(std::string_view key)
{
    auto* edit = new QDateEdit;
    edit->setObjectName(name(key));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    connect(edit, &QDateEdit::dateChanged, this, [this, key](const QDate& day) { store(key, Value(toDateT(day))); });
    return edit;
}

QLineEdit* ApplicationPreferencesWindow::address(std::string_view key)
{
    auto* field = new QLineEdit;
    field->setObjectName(name(key));
    field->setPlaceholderText(localizedText("PREFADDRESSPLACEHOLDER"));
    field->setClearButtonEnabled(true);
    field->setMinimumWidth(320);
    connect(field, &QLineEdit::editingFinished, this, [this, key, field] {
        const bool accepted = store(key, Value(field->text().toStdString()));
        // Accepted, the field shows the address as it is kept.
        if (accepted) field->setText(QString::fromStdString(mDefaults.stringForKey(key)));
        if (mAddressRefused->isHidden() == accepted) return;
        mAddressRefused->setVisible(!accepted);
        resizeWindowToTab();
    });
    return field;
}

bool ApplicationPreferencesWindow::store(std::string_view key, const Value& value)
{
    if (mLoading) return true;
    if (setApplicationPreference(mDefaults, key, value)) return true;
    // Refused: the control shows what is stored (an address keeps its text
    // for mending).
    const QList<QLineEdit*> fields = controls<QLineEdit>(*this);
    if (std::none_of(fields.begin(), fields.end(), [&](QLineEdit* field) { return field->objectName() == name(key); }))
        load();
    return false;
}

void ApplicationPreferencesWindow::enableDependents()
{
    auto enable = [this](std::string_view flagKey, std::string_view dependentKey) {
        auto* box = findChild<QCheckBox*>(name(flagKey));
        auto* dependent = findChild<QAbstractSpinBox*>(name(dependentKey));
        if (box && dependent) dependent->setEnabled(box->isChecked());
    };
    enable(kAutoSaveKey, kAutoSaveIntervalKey);
    enable(kOnLineSharepriceCheckKey, kStockRefreshRateKey);
    enable(kGraphStartDateAutomaticKey, kGraphDateFromKey);
    enable(kGraphEndDateAutomaticKey, kGraphDateToKey);
}

void ApplicationPreferencesWindow::load()
{
    mLoading = true;
    for (QCheckBox* box : controls<QCheckBox>(*this))
        box->setChecked(mDefaults.boolForKey(box->objectName().toStdString()));
    for (QSpinBox* spin : controls<QSpinBox>(*this)) {
        const std::string key = spin->objectName().toStdString();
        std::int64_t value = mDefaults.integerForKey(key);
        // Without a number of their own the intervals run at their fallbacks.
        if (key == kStockRefreshRateKey) value = stockRefreshInterval(mDefaults).count() / 60;
        if (key == kAutoSaveIntervalKey) value = autosaveInterval(mDefaults).count() / 60;
        spin->setValue(static_cast<int>(std::clamp<std::int64_t>(value, spin->minimum(), spin->maximum())));
    }
    for (QDateEdit* edit : controls<QDateEdit>(*this)) {
        const std::string key = edit->objectName().toStdString();
        const QDate stored = toQDate(mDefaults.integerForKey(key));
        edit->setDate(mDefaults.contains(key) && stored.isValid() ? stored : QDate::currentDate());
    }
    for (QComboBox* choice : controls<QComboBox>(*this)) {
        const std::int64_t value = mDefaults.integerForKey(choice->objectName().toStdString());
        int index = choice->findData(QVariant::fromValue<qlonglong>(value));
        if (index < 0) {
            // A number set elsewhere stays as it is and shows as such.
            choice->addItem(QString::fromStdString(formatMessage(localized("PREFENCODINGOTHER"),
                                                                 {std::to_string(value)})),
                            QVariant::fromValue<qlonglong>(value));
            index = choice->count() - 1;
        }
        choice->setCurrentIndex(index);
    }
    for (QLineEdit* field : controls<QLineEdit>(*this))
        field->setText(QString::fromStdString(mDefaults.stringForKey(field->objectName().toStdString())));
    for (const std::string_view key : {kGreenTextColorKey, kRedTextColorKey, kBlueTextColorKey})
        if (auto* sample = findChild<QLabel*>(name(key) + "Sample")) {
            QPalette palette = sample->palette();
            palette.setColor(QPalette::WindowText, toQColor(storedColour(key)));
            sample->setPalette(palette);
        }
    if (mAddressRefused) mAddressRefused->hide();
    enableDependents();
    mLoading = false;
}

// --- pages

QWidget* ApplicationPreferencesWindow::makeGeneralPage()
{
    QFormLayout* form = nullptr;
    QWidget* page = formPage(form);
    form->addRow(localizedText("PREFDECIMALSLABEL"), number(kNumberOfDecimalsKey, 0, 4));
    form->addRow(localizedText("PREFTABLETEXTSIZELABEL"), number(kTableTextSizeKey, 8, 24));
    form->addRow(flag(kShowStartupChoiceKey, "PREFSTARTUPCHOICE"));
    form->addRow(flag(kShowLastDocumentAtStartupKey, "PREFLASTDOCUMENT"));
    form->addRow(flag(kShowNewDocumentAssistantKey, "PREFNEWDOCUMENTASSISTANT"));
    form->addRow(flag(kShowFoldersInSequentialObjectListKey, "PREFFOLDERSINLISTS"));
    return page;
}

QWidget* ApplicationPreferencesWindow::makeAutosavePage()
{
    QFormLayout* form = nullptr;
    QWidget* page = formPage(form);
    form->addRow(flag(kAutoSaveKey, "PREFAUTOSAVE"));
    const auto* interval = applicationPreferenceField(kAutoSaveIntervalKey);
    form->addRow(localizedText("PREFAUTOSAVEINTERVALLABEL"),
                 number(kAutoSaveIntervalKey, static_cast<int>(interval->minimum), static_cast<int>(interval->maximum),
                        "PREFMINUTES"));
    form->addRow(flag(kKeepLogFileKey, "PREFKEEPLOGFILE"));
    return page;
}

QWidget* ApplicationPreferencesWindow::makeColoursPage()
{
    QFormLayout* form = nullptr;
    QWidget* page = formPage(form);
    const std::pair<std::string_view, std::string_view> rows[] = {
        {kGreenTextColorKey, "PREFGREENLABEL"}, {kRedTextColorKey, "PREFREDLABEL"}, {kBlueTextColorKey, "PREFBLUELABEL"}};
    for (const auto& [key, label] : rows) {
        auto* row = new QHBoxLayout;
        auto* sample = new QLabel(localizedText("PREFCOLOURSAMPLE"));
        sample->setObjectName(name(key) + "Sample");
        QFont bold = sample->font();
        bold.setBold(true);
        sample->setFont(bold);
        sample->setMinimumWidth(90);
        auto* choose = new QPushButton(localizedText("PREFCHOOSECOLOUR"));
        choose->setObjectName(name(key));
        connect(choose, &QPushButton::clicked, this, [this, key] { chooseColour(key); });
        row->addWidget(sample);
        row->addWidget(choose);
        row->addStretch();
        form->addRow(localizedText(label), row);
    }
    auto* restore = new QPushButton(localizedText("PREFRESTORECOLOURS"));
    restore->setObjectName("restoreColours");
    connect(restore, &QPushButton::clicked, this, [this] {
        restoreDefaultTextColours(mDefaults);
        load();
    });
    form->addRow(QString(), restore);
    return page;
}

void ApplicationPreferencesWindow::chooseColour(std::string_view key)
{
    auto* dialog = new QColorDialog(toQColor(storedColour(key)), this);
    dialog->setObjectName("colourPanel");
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::colorSelected, this, [this, key](const QColor& chosen) {
        store(key, Value(Array{Value(chosen.redF()), Value(chosen.greenF()), Value(chosen.blueF()), Value(1.0)}));
        load();
    });
    dialog->open();
}

QWidget* ApplicationPreferencesWindow::makeGraphsPage()
{
    QFormLayout* form = nullptr;
    QWidget* page = formPage(form);
    auto dateRow = [&](std::string_view flagKey, std::string_view dateKey, std::string_view label) {
        QCheckBox* box = flag(flagKey, label);
        QDateEdit* edit = date(dateKey);
        // Turned on, the fixed date is the one shown, stored or not yet.
        connect(box, &QCheckBox::toggled, this, [this, edit, dateKey](bool on) {
            if (on) store(dateKey, Value(toDateT(edit->date())));
        });
        form->addRow(box, edit);
    };
    dateRow(kGraphStartDateAutomaticKey, kGraphDateFromKey, "PREFGRAPHFROM");
    dateRow(kGraphEndDateAutomaticKey, kGraphDateToKey, "PREFGRAPHTO");
    return page;
}

QWidget* ApplicationPreferencesWindow::makeImportingPage()
{
    QFormLayout* form = nullptr;
    QWidget* page = formPage(form);
    auto choice = [this](std::string_view key) {
        auto* box = new QComboBox;
        box->setObjectName(name(key));
        connect(box, &QComboBox::activated, this, [this, box, key](int index) {
            store(key, Value(static_cast<long long>(box->itemData(index).toLongLong())));
        });
        return box;
    };
    QComboBox* qif = choice(kQifDateFormatKey);
    qif->addItem(localizedText("PREFQIFMONTHFIRST"), QVariant::fromValue<qlonglong>(0));
    qif->addItem(localizedText("PREFQIFSHORTDATE"), QVariant::fromValue<qlonglong>(1));
    form->addRow(localizedText("PREFQIFDATELABEL"), qif);
    QComboBox* encodings = choice(kDestinationEncodingKey);
    constexpr std::string_view kEncodingNames[] = {"PREFENCODINGMACROMAN", "PREFENCODINGWINDOWS",
                                                   "PREFENCODINGISOLATIN", "PREFENCODINGUTF8", "PREFENCODINGASCII"};
    const auto offered = destinationEncodingChoices();
    for (std::size_t i = 0; i < offered.size() && i < std::size(kEncodingNames); ++i)
        encodings->addItem(localizedText(kEncodingNames[i]), QVariant::fromValue<qlonglong>(offered[i]));
    form->addRow(localizedText("PREFENCODINGLABEL"), encodings);
    return page;
}

QWidget* ApplicationPreferencesWindow::makeOnLinePage()
{
    QFormLayout* form = nullptr;
    QWidget* page = formPage(form);
    form->addRow(flag(kOnLineUpdateCheckKey, "PREFUPDATECHECK"));
    form->addRow(flag(kOnLineSharepriceCheckKey, "PREFSHAREPRICECHECK"));
    const auto* refresh = applicationPreferenceField(kStockRefreshRateKey);
    form->addRow(localizedText("PREFREFRESHLABEL"), number(kStockRefreshRateKey, static_cast<int>(refresh->minimum),
                                                  static_cast<int>(refresh->maximum), "PREFMINUTES"));
    form->addRow(localizedText("PREFQUOTEADDRESSLABEL"), address(kQuoteServiceAddressKey));
    form->addRow(localizedText("PREFCONVERTERADDRESSLABEL"), address(kCurrencyConverterAddressKey));
    mAddressRefused = new QLabel(localizedText("PREFADDRESSREFUSED"));
    mAddressRefused->setObjectName("addressRefused");
    mAddressRefused->setWordWrap(true);
    QPalette palette = mAddressRefused->palette();
    palette.setColor(QPalette::WindowText, toQColor(getRedColor()));
    mAddressRefused->setPalette(palette);
    mAddressRefused->hide();
    form->addRow(QString(), mAddressRefused);
    return page;
}

} // namespace ch
