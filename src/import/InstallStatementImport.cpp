#include "import/InstallStatementImport.h"

#include <memory>

#include "document/MyDocument.h"
#include "import/DocumentImport.h"
#include "import/StatementFileReader.h"

namespace ch {

namespace {

// The reader together with the document view it reads for.
class DocumentStatementReader final : public StatementReader {
public:
    explicit DocumentStatementReader(MyDocument& document) : mImport(document), mReader(mImport) {}
    StatementLines read(const std::string& path, StatementKind kind, const Dictionary* definition) override
    {
        return mReader.read(path, kind, definition);
    }
    std::optional<Dictionary> importDefinition(std::string_view title) override
    {
        return mReader.importDefinition(title);
    }

private:
    DocumentImport mImport;
    StatementFileReader mReader;
};

} // namespace

void installStatementImport(MyDocument& document)
{
    document.statementImport().setReader(std::make_shared<DocumentStatementReader>(document));
}

} // namespace ch
