#include "document/StatementImport.h"

#include <ctime>
#include <filesystem>

#include "bridge/CTrnSItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/clock.h"
#include "platform/core/user_defaults.h"

namespace ch {

ImportLine::~ImportLine() = default;
StatementReader::~StatementReader() = default;

StatementImport::StatementImport(MyDocument& document)
    : mDocument(document), mReader(std::make_shared<NullStatementReader>())
{
}

StatementImport::~StatementImport() = default;

void StatementImport::setReader(std::shared_ptr<StatementReader> reader)
{
    mReader = reader ? std::move(reader) : std::make_shared<NullStatementReader>();
}

long StatementImport::importTimeStamp(std::int64_t secondsSinceEpoch)
{
    const std::time_t when = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&when, &local);
    const long year = local.tm_year + 1900;
    const long dayOfYear = local.tm_yday + 1;
    return (year - 2000) * 10'000'000L + dayOfYear * 100'000L + local.tm_hour * 3600L + local.tm_min * 60L +
           local.tm_sec;
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
    ImportLines lines = mReader->read(path, kind, definition);
    if (lines.empty()) return false;
    setMImportedTransactionArray(std::move(lines));
    return true;
}

void StatementImport::setMImportedTransactionArray(ImportLines lines)
{
    if (lines == mLines) return;
    const long stamp = importTimeStamp(nowSeconds());
    for (const std::shared_ptr<ImportLine>& line : lines)
        if (line && !line->importTimeStamp()) line->setImportTimeStamp(stamp);
    mLines = std::move(lines);
}

void StatementImport::completeBankImport()
{
    // A copy: a line may change the list while it completes.
    const ImportLines lines = mLines;
    for (const std::shared_ptr<ImportLine>& line : lines)
        if (line) line->autoComplete();
}

int StatementImport::doActualImport()
{
    const ImportLines lines = mLines;
    ImportLines left;
    int booked = 0;
    for (const std::shared_ptr<ImportLine>& line : lines) {
        if (line && line->import()) ++booked;
        else if (line) left.push_back(line);
    }
    setMImportedTransactionArray(std::move(left));
    mDocument.notificationCenter().post(GXCTransactionCreatedNotification);
    return booked;
}

bool StatementImport::cancelImport()
{
    if (!CErrorManager::AskQuestion(230)) return false;
    mLines.clear();
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
    const int id = mDocument.commandExecutor().executeCommand(31, nullptr, args);
    return id < 0 ? nullptr : mDocument.getTransactionForId(id);
}

} // namespace ch
