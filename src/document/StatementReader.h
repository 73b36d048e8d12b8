#pragma once
// What the document needs of a bank statement: a reader that turns a file
// into pending import lines, and the lines that complete and book
// themselves. The readers of the several statement formats implement these;
// NullStatementReader reads nothing.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/value.h"

namespace ch {

// The kinds of statement file the import menu offers.
enum class StatementKind {
    Definition,   // delimited text described by an import definition
    BankExport,   // the bank's own semicolon-separated export
    OFX,          // "OFX" and "OFC" files
    QIF,
};

// One statement line waiting on the import page.
class ImportLine {
public:
    virtual ~ImportLine();
    // The run the line came in with; none until the document stamps it.
    virtual std::optional<long> importTimeStamp() const = 0;
    virtual void setImportTimeStamp(long stamp) = 0;
    // Fills what the books can tell (own account, counterpart, category).
    virtual void autoComplete() = 0;
    // Books the line (through the document's statement import); false when
    // it is incomplete, not accepted or a duplicate, and so stays pending.
    virtual bool import() = 0;
};

using ImportLines = std::vector<std::shared_ptr<ImportLine>>;

class StatementReader {
public:
    virtual ~StatementReader();
    // The lines of the file; empty when it holds none or cannot be read (the
    // reader reports why). A definition kind carries its definition.
    virtual ImportLines read(const std::string& path, StatementKind kind, const Dictionary* definition) = 0;
};

class NullStatementReader final : public StatementReader {
public:
    ImportLines read(const std::string&, StatementKind, const Dictionary*) override { return {}; }
};

} // namespace ch
