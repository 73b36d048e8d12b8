#include "import/views/fileImportAssistantWindowController.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "import/DefinitionDescription.h"
#include "import/ImportDefinition.h"
#include "import/views/ColumnDragging.h"
#include "model/foundation/CErrorManager.h"
#include "platform/gui/localized_text.h"

namespace ch {

namespace {

struct RoleField {
    AssistantRole role;
    const char* name;
};

constexpr RoleField kRoleFields[kAssistantRoleCount] = {
    {AssistantRole::OwnAccountNumber, "ownAccountNumberColumnNumberField"},
    {AssistantRole::BookingDate, "bookingDateColumnNumberField"},
    {AssistantRole::ValueDate, "valueDateColumnNumberField"},
    {AssistantRole::TransactionRef, "transactionRefColumnNumberField"},
    {AssistantRole::CounterpartyAccountNumber, "counterpartyAccountNumberColumnNumberField"},
    {AssistantRole::CounterpartyName, "counterpartyNameColumnNumberField"},
    {AssistantRole::CounterpartyStreet, "counterpartyStreetColumnNumberField"},
    {AssistantRole::CounterpartyCity, "counterpartyCityColumnNumberField"},
    {AssistantRole::Communication, "communicationColumnNumberField"},
    {AssistantRole::Amount, "amountColumnNumberField"},
    {AssistantRole::CurrencyCode, "currencyCodeColumnNumberField"},
    {AssistantRole::Sign, "signSymbolColumnNumberField"},
    {AssistantRole::TransactionTypeCode, "transactionTypeCodeColumnNumberField"},
    {AssistantRole::OutAmount, "fromAmountColumnNumberField"},
    {AssistantRole::InAmount, "toAmountColumnNumberField"},
    {AssistantRole::Country, "countryColumnNumberField"},
    {AssistantRole::BIC, "BICColumnNumberField"},
};

template <class T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QSpinBox* countField(const char* name, int value, QWidget* parent)
{
    auto* field = named(new QSpinBox(parent), name);
    field->setRange(0, 1000);
    field->setValue(value);
    return field;
}

QWidget* page(QLayout* layout)
{
    auto* made = new QWidget;
    made->setLayout(layout);
    return made;
}

} // namespace

fileImportAssistantWindowController::fileImportAssistantWindowController(QWidget* parent)
    : Sheet(parent), mFolder(importDefinitionFolder())
{
    setObjectName(QStringLiteral("ImportFileDefinitionAssistant"));
    setWindowTitle(localizedText("ASSTITLE"));
    mainTab = named(new QStackedWidget(this), "mainTab");
    const AssistantSettings& start = mHandler.settings;

    // Page 0: the example file.
    exampleFileField = named(new QLineEdit(this), "exampleFileField");
    auto* choose = named(new QPushButton(localizedText("ASSCHOOSEFILE"), this), "chooseExampleFileButton");
    connect(choose, &QPushButton::clicked, this, &fileImportAssistantWindowController::chooseExampleFile);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(exampleFileField, 1);
    fileRow->addWidget(choose);
    auto* first = new QVBoxLayout;
    auto* intro = new QLabel(localizedText("ASSPAGE0TEXT"));
    intro->setWordWrap(true);
    first->addWidget(intro);
    first->addLayout(fileRow);
    first->addStretch(1);
    mainTab->addWidget(page(first));

    // Page 1: the record rules.
    rawLines = named(new QPlainTextEdit(this), "rawLineTable");
    rawLines->setReadOnly(true);
    rawLines->setLineWrapMode(QPlainTextEdit::NoWrap);
    useTabButton = named(new QRadioButton(localizedText("ASSTAB"), this), "useTabButton");
    auto* useField = new QRadioButton(localizedText("ASSSEPARATOR"), this);
    useField->setChecked(!start.useTab);
    separatorCharacterField = named(new QLineEdit(QString::fromStdString(start.separator), this),
                                    "separatorCharacterField");
    surroundingCharacterField = named(new QLineEdit(QString::fromStdString(start.quote), this),
                                      "surroundingCharacterField");
    deleteSurroundingCharsButton = named(new QCheckBox(localizedText("ASSDELETEQUOTES"), this), "deleteSurroundingCharsButton");
    deleteSurroundingCharsButton->setChecked(start.deleteSurrounding);
    numberOfLinesToSkipField = countField("numberOfLinesToSkipField", int(start.linesToSkip), this);
    minNumberOfColumsField = countField("minNumberOfColumsField", int(start.minimumColumns), this);
    maxNumberOfColumsField = countField("maxNumberOfColumsField", int(start.maximumColumns), this);
    auto* separatorRow = new QHBoxLayout;
    separatorRow->addWidget(useTabButton);
    separatorRow->addWidget(useField);
    separatorRow->addWidget(separatorCharacterField);
    auto* rules = new QFormLayout;
    rules->addRow(localizedText("ASSSEPARATORLABEL"), separatorRow);
    rules->addRow(localizedText("ASSQUOTE"), surroundingCharacterField);
    rules->addRow(QString(), deleteSurroundingCharsButton);
    rules->addRow(localizedText("ASSSKIP"), numberOfLinesToSkipField);
    rules->addRow(localizedText("ASSMINCOLUMNS"), minNumberOfColumsField);
    rules->addRow(localizedText("ASSMAXCOLUMNS"), maxNumberOfColumsField);
    auto* second = new QVBoxLayout;
    second->addWidget(rawLines, 1);
    second->addLayout(rules);
    mainTab->addWidget(page(second));

    // Page 2: columns onto roles.
    mColumns = named(new columnDraggingTable(this), "columnizedTable");
    auto* roles = new QGridLayout;
    for (std::size_t i = 0; i < kAssistantRoleCount; ++i) {
        const RoleField& role = kRoleFields[i];
        RoleTokenField* field = named(new RoleTokenField(this), role.name);
        mRoleFields[std::size_t(role.role)] = field;
        const int row = int(i / 2), column = int(i % 2) * 2;
        roles->addWidget(new QLabel(localizedText(ImportDefinitionAssistant::roleLabelKey(role.role))),
                         row, column);
        roles->addWidget(field, row, column + 1);
    }
    incomeSignField = named(new QLineEdit(this), "incomeSignField");
    expenseSignField = named(new QLineEdit(this), "expenseSignField");
    dateFormatField = named(new QLineEdit(this), "dateFormatField");
    const int next = int((kAssistantRoleCount + 1) / 2);
    roles->addWidget(new QLabel(localizedText("ASSINCOMESIGN")), next, 0);
    roles->addWidget(incomeSignField, next, 1);
    roles->addWidget(new QLabel(localizedText("ASSEXPENSESIGN")), next, 2);
    roles->addWidget(expenseSignField, next, 3);
    roles->addWidget(new QLabel(localizedText("ASSDATEFORMAT")), next + 1, 0);
    roles->addWidget(dateFormatField, next + 1, 1);
    transactionTypeCodeTable = named(new QTableWidget(4, 2, this), "transactionTypeCodeTable");
    transactionTypeCodeTable->setHorizontalHeaderLabels({localizedText("ASSCODE"), localizedText("ASSDESCRIPTION")});
    transactionTypeCodeTable->horizontalHeader()->setStretchLastSection(true);
    transactionTypeCodeTable->setMaximumHeight(110);
    auto* third = new QVBoxLayout;
    third->addWidget(mColumns, 1);
    third->addLayout(roles);
    third->addWidget(transactionTypeCodeTable);
    mainTab->addWidget(page(third));

    // Page 3: name and preview.
    fileNameField = named(new QLineEdit(this), "fileNameField");
    plistPreviewTextField = named(new QPlainTextEdit(this), "plistPreviewTextField");
    plistPreviewTextField->setReadOnly(true);
    auto* nameForm = new QFormLayout;
    nameForm->addRow(localizedText("ASSNAME"), fileNameField);
    auto* fourth = new QVBoxLayout;
    fourth->addLayout(nameForm);
    fourth->addWidget(plistPreviewTextField, 1);
    mainTab->addWidget(page(fourth));

    mPrevious = named(new QPushButton(localizedText("ASSPREVIOUS"), this), "goPreviousButton");
    mNext = named(new QPushButton(localizedText("ASSNEXT"), this), "goNextButton");
    auto* cancel = named(new QPushButton(localizedText("CANCEL"), this), "doCancelButton");
    mNext->setDefault(true);
    connect(mPrevious, &QPushButton::clicked, this, &fileImportAssistantWindowController::goPrevious);
    connect(mNext, &QPushButton::clicked, this, &fileImportAssistantWindowController::goNext);
    connect(cancel, &QPushButton::clicked, this, [this] { endSheet(kCancelled); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    buttons->addWidget(mPrevious);
    buttons->addWidget(mNext);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mainTab, 1);
    layout->addLayout(buttons);
    resize(760, 560);
    showPage(0);
}

fileImportAssistantWindowController::~fileImportAssistantWindowController() = default;

const std::vector<std::string>& fileImportAssistantWindowController::installedPluginArray()
{
    mInstalled = ImportDefinitionAssistant::installedDefinitions(mFolder);
    return mInstalled;
}

void fileImportAssistantWindowController::showPage(int number)
{
    mHandler.setCurrentPage(number);
    mainTab->setCurrentIndex(number);
    mPrevious->setEnabled(!mHandler.isFirstPage());
    mNext->setText(localizedText(number == ImportDefinitionAssistant::kPageCount - 1 ? "ASSSAVE" : "ASSNEXT"));
}

void fileImportAssistantWindowController::chooseExampleFile()
{
    auto* dialog = new QFileDialog(this, localizedText("ASSCHOOSEFILE"), QDir::homePath(),
                                   QStringLiteral("*.csv *.tsv *.txt"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        exampleFileField->setText(file);
        goNext();
    });
    dialog->open();
}

void fileImportAssistantWindowController::readSettings()
{
    AssistantSettings& settings = mHandler.settings;
    settings.useTab = useTabButton->isChecked();
    settings.separator = separatorCharacterField->text().toStdString();
    settings.deleteSurrounding = deleteSurroundingCharsButton->isChecked();
    settings.linesToSkip = std::uint32_t(numberOfLinesToSkipField->value());
    settings.minimumColumns = std::uint32_t(minNumberOfColumsField->value());
    settings.maximumColumns = std::uint32_t(maxNumberOfColumsField->value());
    settings.quote = surroundingCharacterField->text().toStdString();
}

void fileImportAssistantWindowController::createColumns()
{
    const auto& records = mHandler.separatedContentOfFile();
    const int columns = int(mHandler.numberOfColumnsInColumnTable());
    mColumns->clear();
    mColumns->setCurrentColumn(-1);
    mColumns->setColumnCount(columns);
    mColumns->setRowCount(int(records.size()));
    QStringList headers;
    for (int c = 0; c < columns; ++c)
        headers << QString::fromStdString(ImportDefinitionAssistant::getColumnCode(std::uint32_t(c)));
    mColumns->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < int(records.size()); ++r)
        for (int c = 0; c < int(records[std::size_t(r)].size()); ++c)
            mColumns->setItem(r, c, new QTableWidgetItem(QString::fromStdString(records[std::size_t(r)][std::size_t(c)])));
    fitColumnTable();
}

void fileImportAssistantWindowController::fitColumnTable()
{
    // Each column as wide as its texts, and room for the first rows of the
    // file (a few, not the whole file): the person sees what a column holds
    // before giving it a role.
    constexpr int kRowsShown = 6;
    mColumns->resizeColumnsToContents();
    mColumns->resizeRowsToContents();
    int height = mColumns->horizontalHeader()->sizeHint().height() + 2 * mColumns->frameWidth();
    for (int r = 0; r < std::min(mColumns->rowCount(), kRowsShown); ++r) height += mColumns->rowHeight(r);
    const int wanted = mColumns->horizontalHeader()->length() + mColumns->verticalHeader()->sizeHint().width() +
                       2 * mColumns->frameWidth();
    if (wanted > mColumns->viewport()->width()) height += mColumns->horizontalScrollBar()->sizeHint().height();
    mColumns->setMinimumHeight(height);
    // The window grows to hold it, within the screen.
    const QSize needed = sizeHint().expandedTo(minimumSizeHint());
    QSize size = this->size().expandedTo(needed);
    if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size());
    if (size != this->size()) resize(size);
}

void fileImportAssistantWindowController::readRoles()
{
    for (std::size_t i = 0; i < kAssistantRoleCount; ++i)
        mHandler.roleTokens(AssistantRole(i)) = mRoleFields[i]->tokens();
    mHandler.incomeSign = incomeSignField->text().toStdString();
    mHandler.expenseSign = expenseSignField->text().toStdString();
    mHandler.dateFormat = dateFormatField->text().trimmed().toStdString();
    mHandler.transactionTypeCodes.clear();
    for (int r = 0; r < transactionTypeCodeTable->rowCount(); ++r) {
        const QTableWidgetItem* code = transactionTypeCodeTable->item(r, 0);
        const QTableWidgetItem* description = transactionTypeCodeTable->item(r, 1);
        if (code && description)
            mHandler.transactionTypeCodes.push_back({code->text().toStdString(), description->text().toStdString()});
    }
}

void fileImportAssistantWindowController::goNext()
{
    switch (mHandler.currentPage()) {
    case 0: {
        const QString file = exampleFileField->text().trimmed();
        if (file.isEmpty() || !mHandler.openExampleFile(file.toStdString())) return;
        QString lines;
        for (const std::string& line : mHandler.contentOfFile()) lines += QString::fromStdString(line) + '\n';
        rawLines->setPlainText(lines);
        showPage(1);
        break;
    }
    case 1:
        readSettings();
        mHandler.makeSeparatedContentOfFile();
        createColumns();
        showPage(2);
        break;
    case 2: {
        readRoles();
        mDefinition = mHandler.makePLISTDictionary();
        plistPreviewTextField->setPlainText(QString::fromStdString(describeImportDefinition(mDefinition)));
        showPage(3);
        break;
    }
    case 3: {
        const std::string name = fileNameField->text().trimmed().toStdString();
        std::string error;
        if (const long problem = mHandler.saveDefinition(mFolder, name, mDefinition, &error)) {
            CErrorManager::RaiseError(problem);
            return;
        }
        fileNameField->clear();
        showPage(0);
        installedPluginArray();
        endSheet(kConfirmed);
        break;
    }
    default: break;
    }
}

void fileImportAssistantWindowController::goPrevious()
{
    mHandler.goPrevious();
    showPage(mHandler.currentPage());
}

} // namespace ch
