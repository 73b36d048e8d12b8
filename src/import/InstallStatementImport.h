#pragma once
// Gives a document the statement readers: its import entry points then read
// bank exports, delimited texts with an import definition, QIF and OFX files
// into its pending list, and everything an import creates or books runs as
// the document's commands. The application calls it on every document it
// makes.

namespace ch {

class MyDocument;

void installStatementImport(MyDocument& document);

} // namespace ch
