#pragma once
// fileImportAssistantWindowController: the sheet of the import-definition
// assistant. Page 0 takes an example file; page 1 the separator (a tab or
// the field's text), the quote, whether quotes are removed, the lines to
// skip and the field counts of a record, and splits the file into the
// column table; on page 2 columns are dragged onto the role fields; page 3
// shows the definition as a person reads it, names it and saves it into the
// import-definition folder, then the sheet ends with 1 and starts on page 0
// next time with the settings kept.
//
// The document makes it once and keeps it.

#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>

#include "import/ImportDefinitionAssistant.h"
#include "platform/gui/sheet.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace ch {

class columnDraggingTable;
class RoleTokenField;

class fileImportAssistantWindowController : public Sheet {
    Q_OBJECT

public:
    explicit fileImportAssistantWindowController(QWidget* parent = nullptr);
    ~fileImportAssistantWindowController() override;

    ImportDefinitionAssistant& handler() { return mHandler; }
    // Where definitions are saved (the import-definition folder unless set).
    void setDefinitionFolder(std::filesystem::path folder) { mFolder = std::move(folder); }
    const std::filesystem::path& definitionFolder() const { return mFolder; }
    // The file names of the definitions in the folder, read again.
    const std::vector<std::string>& installedPluginArray();

    RoleTokenField* roleField(AssistantRole role) const { return mRoleFields[std::size_t(role)]; }
    columnDraggingTable* columnizedTable() const { return mColumns; }

public slots:
    void goNext();
    void goPrevious();
    void chooseExampleFile();

private:
    void showPage(int page);
    void readSettings();
    void createColumns();
    // The column table as large as its columns and first rows need.
    void fitColumnTable();
    void readRoles();

    ImportDefinitionAssistant mHandler;
    std::filesystem::path mFolder;
    std::vector<std::string> mInstalled;

    QStackedWidget* mainTab;
    QLineEdit* exampleFileField;
    QPlainTextEdit* rawLines;
    QRadioButton* useTabButton;
    QLineEdit* separatorCharacterField;
    QLineEdit* surroundingCharacterField;
    QCheckBox* deleteSurroundingCharsButton;
    QSpinBox* numberOfLinesToSkipField;
    QSpinBox* minNumberOfColumsField;
    QSpinBox* maxNumberOfColumsField;
    columnDraggingTable* mColumns;
    std::array<RoleTokenField*, kAssistantRoleCount> mRoleFields{};
    QLineEdit* incomeSignField;
    QLineEdit* expenseSignField;
    QLineEdit* dateFormatField;
    QTableWidget* transactionTypeCodeTable;
    QLineEdit* fileNameField;
    QPlainTextEdit* plistPreviewTextField;
    QPushButton* mPrevious;
    QPushButton* mNext;
    Dictionary mDefinition;
};

} // namespace ch
