#pragma once
// The document as the application makes it for every file it opens: with
// its business bookkeeping and its statement readers, so that the business
// archive of a file reaches the real business decoders.

#include "business/InstallBusiness.h"
#include "document/MyDocument.h"
#include "import/InstallStatementImport.h"

namespace ch::fuzz {

inline void setUpAsTheApplicationDoes(MyDocument& document)
{
    business::installBusiness(document);
    installStatementImport(document);
}

} // namespace ch::fuzz
