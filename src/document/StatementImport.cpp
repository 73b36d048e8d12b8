#include "document/StatementImport.h"

#include <filesystem>
#include <utility>

#include "bridge/CTrnSItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/user_defaults.h"

namespace ch {

StatementImport::StatementImport(MyDocument& document)
    : mDocument(document), mReader(std::make_shared<NullStatementReader>())
{
    for (const char* changed :
         {GXCAccountDeletedNotification, GXCCategoryDeletedNotification, GXCCurrencyCreatedNotification})
        mBookChanges.push_back(mDocument.notificationCenter().subscribe(changed, [this](const Notification&) {
            if (hasPendingLines()) completeBankImport();
        }));
}

StatementImport::~StatementImport() = default;

void StatementImport::setReader(std::shared_ptr<StatementReader> reader)
{
    mReader = reader ? std::move(reader) : std::make_shared<NullStatementReader>();
}

std::string_view StatementImport::lastFolderKey(StatementKind kind)
{
    switch (kind) {
    case StatementKind::OFX: return "OFXLOCATION";
    case StatementKind::QIF: return "QIFLOCATION";
    case StatementKind::Definition:
    case StatementKind::BankExport: break;
    }
    return "DEXIALOCATION";
}

bool StatementImport::importFile(const std::string& path, StatementKind kind, const Dictionary* definition)
{
    if (hasPendingLines()) {
        CErrorManager::RaiseError(235);
        return false;
    }
    UserDefaults::standard().set(std::string(lastFolderKey(kind)),
                                 Value(std::filesystem::path(path).parent_path().string()));
    ReadingTakeBack reading(mDocument);
    StatementLines lines = mReader->read(path, kind, definition);
    if (lines.empty()) return false;
    reading.readingDone(mDocument);
    setMImportedTransactionArray(std::move(lines));
    mReading = reading;
    return true;
}

bool StatementImport::importWithFileDesc(std::string_view title, const std::string& path)
{
    const std::optional<Dictionary> definition = importDefinition(title);
    if (!definition) return false;
    return importFile(path, StatementKind::Definition, &*definition);
}

int StatementImport::doActualImport()
{
    const int booked = static_cast<int>(mPending.doActualImport());
    if (!hasPendingLines()) mReading.reset();
    mDocument.notificationCenter().post(GXCTransactionCreatedNotification);
    return booked;
}

bool StatementImport::cancelImport()
{
    if (!CErrorManager::AskQuestion(230)) return false;
    mPending.clear();
    if (const std::optional<ReadingTakeBack> reading = std::exchange(mReading, std::nullopt))
        reading->takeBack(mDocument);
    return true;
}

std::shared_ptr<CTrnSItem> StatementImport::importTransaction(const ImportedTransactionValues& values)
{
    arguments::ImportTransactionArguments args;
    args.name = values.name;
    args.transactionDescription = values.description;
    args.valueDate = values.valueDate;
    args.amount = values.amount;
    args.currencyId = values.currencyId;
    args.fromAccountId = values.fromAccountId;
    args.toAccountId = values.toAccountId;
    args.expenseTypeId = values.categoryId;
    args.unbalanced = values.unbalanced;
    args.transactionType = values.transactionType;
    args.debitLines = values.debitLines;
    args.creditLines = values.creditLines;
    args.categoryLines = values.categoryLines;
    const int id = mDocument.commandExecutor().executeCommand(31, nullptr, args);
    return id < 0 ? nullptr : mDocument.getTransactionForId(id);
}

} // namespace ch
