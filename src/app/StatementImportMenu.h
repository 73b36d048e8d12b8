#pragma once
// StatementImportMenu: the "Import" submenu of a document window's File menu,
// where bank statements come in. "OFX…", "QIF…" and "Bank Export…" each ask
// for a file of their kind, starting in the folder chosen last for that kind
// (the home folder at first), and read it into the document's pending import
// lines. "Import with Definition" lists the user's import definitions, read
// again each time it opens, each reading a delimited file with that
// definition, and ends with the item that opens the import-definition
// assistant on the window.
//
// A statement that gave lines shows the "Import" page, where the user
// completes and books them. Starting an import while lines are still pending
// raises error 235 and shows that page instead of asking for a file.
//
// Item names: "importOFX", "importQIF", "importBankExport", the submenu
// "importWithDefinition" (items titled with the definitions' file names)
// and "defineImportFile". Main thread only.

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

#include "document/StatementReader.h"
#include "import/views/fileImportAssistantWindowController.h"

class QMenu;
class QWidget;

namespace ch {

class DocumentWindowFrame;
class MyDocument;

class StatementImportMenu : public QObject {
    Q_OBJECT

public:
    // Asks for one statement file in `folder` among files with one of the
    // suffixes ("ofx", ...); none when the user cancelled.
    using FileChooser =
        std::function<std::optional<QString>(QWidget* parent, const QString& folder, const QStringList& suffixes)>;

    // Adds the submenu to `fileMenu`; the window shows the "Import" page.
    StatementImportMenu(MyDocument& document, DocumentWindowFrame& window, QMenu& fileMenu);
    ~StatementImportMenu() override;

    void setFileChooser(FileChooser chooser) { mChooser = std::move(chooser); }

    // What the items do. `definitionTitle` names the definition of
    // StatementKind::Definition (a file name of the definition folder).
    void importStatement(StatementKind kind, const std::string& definitionTitle = {});
    void showDefinitionAssistant();
    // Null until the assistant was first opened.
    fileImportAssistantWindowController* definitionAssistant() const { return mAssistant; }

private:
    void fillDefinitions();
    std::optional<QString> choose(const QString& folder, const QStringList& suffixes);

    MyDocument& mDocument;
    DocumentWindowFrame& mWindow;
    QMenu* mDefinitions;
    FileChooser mChooser;
    QPointer<fileImportAssistantWindowController> mAssistant;
};

} // namespace ch
