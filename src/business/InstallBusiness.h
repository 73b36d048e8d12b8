#pragma once
// Gives a document its business bookkeeping: the business arrays, the
// VAT-rate commands of its executor, and, when the document is then set up
// as a new one, its current and previous VAT period. The application calls
// it on every document it makes, before the books are set up or read.

namespace ch {
class MyDocument;
}

namespace ch::business {

void installBusiness(MyDocument& document);

} // namespace ch::business
