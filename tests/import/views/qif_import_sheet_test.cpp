// The QIF-import sheet: its account list is the document's, and closing it,
// with OK or Cancel, sends nothing to the books.

#include <gtest/gtest.h>

#include <QButtonGroup>

#include "../../ui/fixture_books.h"
#include "../../ui/ui_test_support.h"
#include "import/views/CQIFImportController.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/SheetParameters.h"

namespace ch::test {
namespace {

TEST(QifImportSheet, ListsTheDocumentsAccountsAndChangesNothingWhenClosed)
{
    UiEnvironment environment;
    TestDocument books;
    const FixtureBooks fixture = buildFixtureBooks(books, 0);
    RecordingSheetDocument document(books);

    CQIFImportController sheet;
    SheetParameters parameters;
    parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&document));
    sheet.initialize(parameters);

    EXPECT_EQ(static_cast<std::uint32_t>(sheet.limitingAccountPopup->count()),
              books.root().mAccountList->GetCount());
    EXPECT_TRUE(sheet.limitingAccountPopup->setId(fixture.checking));
    EXPECT_EQ(sheet.exportFormatMatrix->checkedId(), 2);

    EXPECT_TRUE(sheet.checkContents());
    sheet.dialogClosed(1, parameters);
    sheet.dialogClosed(0, parameters);
    EXPECT_TRUE(document.sent.empty());
}

} // namespace
} // namespace ch::test
