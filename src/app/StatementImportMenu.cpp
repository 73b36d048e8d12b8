#include "app/StatementImportMenu.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>

#include "document/MyDocument.h"
#include "document/StatementImport.h"
#include "document/app/ImportDefinitionMenu.h"
#include "import/ImportDefinition.h"
#include "import/views/ImportPage.h"
#include "import/views/fileImportAssistantWindowController.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/DocumentWindowFrame.h"

namespace ch {

namespace {

QStringList suffixesOf(StatementKind kind, const std::optional<Dictionary>& definition)
{
    switch (kind) {
    case StatementKind::OFX: return {QStringLiteral("ofx"), QStringLiteral("ofc")};
    case StatementKind::QIF: return {QStringLiteral("qif")};
    case StatementKind::BankExport:
    case StatementKind::Definition: break;
    }
    const std::optional<std::string> extension =
        definition ? definitionText(*definition, definition_key::kFileExtension) : std::nullopt;
    return {extension && !extension->empty() ? QString::fromStdString(*extension) : QStringLiteral("csv")};
}

std::optional<QString> askForFile(QWidget* parent, const QString& folder, const QStringList& suffixes)
{
    QStringList patterns;
    for (const QString& suffix : suffixes)
        patterns << QStringLiteral("*.") + suffix.toLower() << QStringLiteral("*.") + suffix.toUpper();
    const QString path =
        QFileDialog::getOpenFileName(parent, QString(), folder, patterns.join(QLatin1Char(' ')));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

} // namespace

StatementImportMenu::StatementImportMenu(MyDocument& document, DocumentWindowFrame& window, QMenu& fileMenu)
    : QObject(&fileMenu), mDocument(document), mWindow(window)
{
    QMenu* menu = fileMenu.addMenu(localizedText("IMPORTMENU"));
    menu->setObjectName(QStringLiteral("importMenu"));
    auto add = [&](const char* name, const char* key, StatementKind kind) {
        QAction* action = menu->addAction(localizedText(key));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, kind] { importStatement(kind); });
    };
    add("importOFX", "IMPORTOFXMENUITEM", StatementKind::OFX);
    add("importQIF", "IMPORTQIFMENUITEM", StatementKind::QIF);
    add("importBankExport", "IMPORTBANKEXPORTMENUITEM", StatementKind::BankExport);
    mDefinitions = menu->addMenu(localizedText("IMPORTWITHFILEDSCRIPTORMENU"));
    mDefinitions->setObjectName(QStringLiteral("importWithDefinition"));
    // A definition saved by the assistant is listed the next time.
    connect(mDefinitions, &QMenu::aboutToShow, this, &StatementImportMenu::fillDefinitions);
    fillDefinitions();
}

StatementImportMenu::~StatementImportMenu() = default;

void StatementImportMenu::fillDefinitions()
{
    mDefinitions->clear();
    for (const ImportDefinitionMenuItem& item : importDefinitionMenuItems(importDefinitionFolder())) {
        QAction* action = mDefinitions->addAction(QString::fromStdString(item.title));
        if (item.action == ImportDefinitionMenuItem::Action::ShowImportFileDefinitionAssistant) {
            action->setObjectName(QStringLiteral("defineImportFile"));
            connect(action, &QAction::triggered, this, &StatementImportMenu::showDefinitionAssistant);
        } else {
            const std::string fileName = item.fileName;
            connect(action, &QAction::triggered, this,
                    [this, fileName] { importStatement(StatementKind::Definition, fileName); });
        }
    }
}

std::optional<QString> StatementImportMenu::choose(const QString& folder, const QStringList& suffixes)
{
    return mChooser ? mChooser(&mWindow, folder, suffixes) : askForFile(&mWindow, folder, suffixes);
}

void StatementImportMenu::importStatement(StatementKind kind, const std::string& definitionTitle)
{
    StatementImport& import = mDocument.statementImport();
    if (import.hasPendingLines()) {
        CErrorManager::RaiseError(235);
        mWindow.showMainTab("Import");
        return;
    }
    std::optional<Dictionary> definition;
    if (kind == StatementKind::Definition) {
        definition = import.importDefinition(definitionTitle);
        if (!definition) return;
    } else if (kind == StatementKind::BankExport) {
        definition = standardFileDescriptor();
    }
    const std::string last = UserDefaults::standard().stringForKey(StatementImport::lastFolderKey(kind));
    const QString folder = last.empty() ? QDir::homePath() : QString::fromStdString(last);
    const std::optional<QString> path = choose(folder, suffixesOf(kind, definition));
    if (!path) return;
    const Dictionary* described = kind == StatementKind::Definition ? &*definition : nullptr;
    if (!import.importFile(path->toStdString(), kind, described)) return;
    // The page may be on screen already: it shows the new lines at once.
    if (auto* page = qobject_cast<ImportPage*>(mWindow.mainTab("Import"))) page->reload();
    mWindow.showMainTab("Import");
}

void StatementImportMenu::showDefinitionAssistant()
{
    if (!mAssistant) mAssistant = new fileImportAssistantWindowController(&mWindow);
    mAssistant->begin(&mWindow, [](int) {});
}

} // namespace ch
