#pragma once
// What the document needs of a bank statement: a reader that turns a file
// into pending statement lines, and the lines that complete and book
// themselves. The statement readers implement these and are given to the
// document when the application makes it; NullStatementReader reads nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/foundation/ModelTypes.h"
#include "platform/core/value.h"

namespace ch {

// The kinds of statement file the import menu offers.
enum class StatementKind {
    Definition,   // delimited text described by an import definition
    BankExport,   // the bank's own semicolon-separated export (the built-in definition)
    OFX,          // "OFX" and "OFC" files
    QIF,
};

// One statement line waiting on the import page.
class StatementLine {
public:
    virtual ~StatementLine();
    // The run the line came in with; none until the document stamps it.
    virtual std::optional<std::int64_t> importTimeStamp() const = 0;
    virtual void setImportTimeStamp(std::int64_t stamp) = 0;
    // Fills what the books can tell (own account, counterpart, category,
    // duplicate). Always true.
    virtual bool autoComplete() = 0;
    // Takes the own account, asking nothing, when the statement names no own
    // account number.
    virtual void setOwnAccountIdForImport(ObjectIdT accountId) = 0;
    // Books the line (through the document's statement import); false when
    // it is incomplete, not accepted or a duplicate, and so stays pending.
    virtual bool import() = 0;
    // The booked transaction the line is matched with as its duplicate; 0
    // when none. One booking is matched with one line at most.
    virtual ObjectIdT duplicatedTransactionId() const { return 0; }
};

using StatementLines = std::vector<std::shared_ptr<StatementLine>>;

class StatementReader {
public:
    virtual ~StatementReader();
    // The lines of the file; empty when it holds none or cannot be read (the
    // reader reports why). A definition kind carries its definition.
    virtual StatementLines read(const std::string& path, StatementKind kind, const Dictionary* definition) = 0;
    // The import definition of that title (".plist" added when the title
    // lacks it) from the import-definition folder; none when unreadable.
    virtual std::optional<Dictionary> importDefinition(std::string_view title) = 0;
};

class NullStatementReader final : public StatementReader {
public:
    StatementLines read(const std::string&, StatementKind, const Dictionary*) override { return {}; }
    std::optional<Dictionary> importDefinition(std::string_view) override { return std::nullopt; }
};

} // namespace ch
