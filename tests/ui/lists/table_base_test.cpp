// The table base: column choices kept per autosave name across tables and
// sessions, the corner menu, and the export of the rows as shown.

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include "ui/lists/GXTableAncestor.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

class TableBaseTest : public ::testing::Test {
protected:
    // A flag column (image only), then date, description and amount.
    std::unique_ptr<QStandardItemModel> makeModel()
    {
        auto model = std::make_unique<QStandardItemModel>(0, 4);
        model->setHorizontalHeaderLabels({"Status", "Date", "Description", "Amount"});
        model->setHeaderData(0, Qt::Horizontal, true, GXTableAncestor::kImageOnlyRole);
        const QStringList rows[] = {{"", "15.09.2025", "Groceries", "1,234.50"},
                                    {"", "14.09.2025", "Rent\tSeptember\r\nflat", "800.00"}};
        for (const QStringList& row : rows) {
            QList<QStandardItem*> cells;
            for (const QString& text : row) cells.push_back(new QStandardItem(text));
            model->appendRow(cells);
        }
        return model;
    }
    std::unique_ptr<GXTableAncestor> makeTable(QAbstractItemModel& model, const std::string& name)
    {
        auto table = std::make_unique<GXTableAncestor>();
        table->setModel(&model);
        table->setAutosaveName(name);
        table->awakeFromNib();
        return table;
    }
    Dictionary stored(const std::string& name)
    {
        const Value columns = environment.defaults().object("GXCTableColumns");
        const Value* entry = columns.asDictionary() ? columns.asDictionary()->find(name) : nullptr;
        return entry && entry->asDictionary() ? *entry->asDictionary() : Dictionary{};
    }

    UiEnvironment environment;
};

TEST_F(TableBaseTest, ColumnChoicesSurviveClosingAndReopening)
{
    auto model = makeModel();
    {
        auto table = makeTable(*model, "transactionsTable");
        // A first showing enters every headed column as shown.
        EXPECT_EQ(stored("transactionsTable"),
                  (Dictionary{{"Amount", true}, {"Date", true}, {"Description", true}, {"Status", true}}));
        table->toggleColumnDisplay("Date");
        EXPECT_FALSE(table->isColumnShown("Date"));
    }
    auto reopened = makeTable(*model, "transactionsTable");
    EXPECT_FALSE(reopened->isColumnShown("Date"));
    EXPECT_TRUE(reopened->isColumnShown("Amount"));
    for (QAction* item : reopened->tableMenu()->actions())
        if (item->isCheckable()) {
            EXPECT_EQ(item->isChecked(), item->text() != "Date") << item->text().toStdString();
        }
    // The menu starts with print and export.
    ASSERT_GE(reopened->tableMenu()->actions().size(), 3);
    EXPECT_EQ(reopened->tableMenu()->actions()[0]->text(), "Print");
    EXPECT_EQ(reopened->tableMenu()->actions()[1]->text(), "Export");
    EXPECT_TRUE(reopened->tableMenu()->actions()[2]->isSeparator());
    // Shown again, the column goes to the right-hand end.
    reopened->toggleColumnDisplay("Date");
    EXPECT_EQ(reopened->horizontalHeader()->visualIndex(1), 3);
    EXPECT_TRUE(stored("transactionsTable").find("Date")->asBool() && *stored("transactionsTable").find("Date")->asBool());
    // Another table of another name keeps its own entry; no name stores nothing.
    auto other = makeTable(*model, "recurringTable");
    EXPECT_TRUE(other->isColumnShown("Date"));
    auto unnamed = makeTable(*model, "");
    unnamed->toggleColumnDisplay("Amount");
    EXPECT_FALSE(unnamed->isColumnShown("Amount"));
    EXPECT_EQ(environment.defaults().object("GXCTableColumns").asDictionary()->size(), 2u);
}

TEST_F(TableBaseTest, ExportWritesTheRowsAsShownOneRecordPerRow)
{
    auto model = makeModel();
    auto table = makeTable(*model, "");
    table->horizontalHeader()->moveSection(3, 1);   // amount before date
    table->toggleColumnDisplay("Description");
    table->toggleColumnDisplay("Description");       // back, at the end
    EXPECT_EQ(table->exportText(), "Amount\tDate\tDescription\r\n"
                                   "1,234.50\t15.09.2025\tGroceries\r\n"
                                   "800.00\t14.09.2025\tRent September  flat\r\n");
    QTemporaryDir folder;
    const QString path = folder.filePath("rows.TSV");
    ASSERT_TRUE(table->exportToFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), table->exportText());
    // An empty table exports its heading line; a failed write is reported.
    model->removeRows(0, 2);
    EXPECT_EQ(table->exportText(), "Amount\tDate\tDescription\r\n");
    EXPECT_FALSE(table->exportToFile(folder.filePath("missing/rows.TSV")));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{300});
}

TEST_F(TableBaseTest, PagesHoldEveryRowOnceUnderTheHeadingAndNarrowColumnsFit)
{
    TableText text;
    text.headings = {"Date", "Description", "Amount"};
    for (int row = 0; row < 95; ++row)
        text.rows.push_back({"15.09.2025", QString(60, QChar(u'x')) + QString::number(row), "1,234.50"});
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    const QFontMetricsF metrics(font);
    struct Case {
        double width, height;
        int rows;
    };
    for (const Case& c : {Case{300, 20 * metrics.lineSpacing(), 95}, Case{2000, 200 * metrics.lineSpacing(), 95},
                          Case{300, 20 * metrics.lineSpacing(), 0}}) {
        TableText shown = text;
        shown.rows.resize(std::size_t(c.rows));
        const TablePageLayout layout = layoutTablePages(shown, metrics, c.width, c.height);
        // Every row once, in order: the pages start rowsPerPage apart.
        const int pages = c.rows == 0 ? 1 : (c.rows + layout.rowsPerPage - 1) / layout.rowsPerPage;
        ASSERT_EQ(int(layout.pageStarts.size()), pages) << c.width;
        for (std::size_t p = 0; p < layout.pageStarts.size(); ++p)
            EXPECT_EQ(layout.pageStarts[p], int(p) * layout.rowsPerPage);
        EXPECT_LT(layout.rowsPerPage, int(c.height / metrics.lineSpacing()));
        double width = 0;
        for (double column : layout.columnWidths) width += column;
        EXPECT_LE(width, c.width) << "the columns fit the page";
    }
}

TEST_F(TableBaseTest, PrintFromTheCornerMenuPrintsEveryRowAsTextOnAsManyPagesAsItTakes)
{
    auto model = makeModel();
    for (int row = 0; row < 240; ++row)
        model->appendRow({new QStandardItem(), new QStandardItem("01.10.2025"),
                          new QStandardItem(QStringLiteral("Line %1").arg(row)), new QStandardItem("10.00")});
    auto table = makeTable(*model, "");
    table->resize(400, 200);   // a few rows visible, all printed
    table->tableMenu()->actions()[0]->trigger();
    QApplication::processEvents();
    auto* dialog = table->window()->findChild<QPrintDialog*>("printDialog");
    ASSERT_NE(dialog, nullptr);
    QTemporaryDir folder;
    const QString path = folder.filePath("table.pdf");
    // No printer here: the dialog prints to a file, whose name the user types.
    auto* file = dialog->findChild<QLineEdit*>("filename");
    ASSERT_NE(file, nullptr);
    file->setText(path);
    dialog->accept();
    QApplication::processEvents();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = pdf.readAll();
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    // As many pages as the text takes, with fonts and no picture of the screen.
    const int pages = int(bytes.count("/Type /Page\n")) + int(bytes.count("/Type /Page\r")) +
                      int(bytes.count("/Type /Page/")) + int(bytes.count("/Type /Page ")) -
                      int(bytes.count("/Type /Pages"));
    EXPECT_GT(pages, 2);
    EXPECT_TRUE(bytes.contains("/Font"));
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));
}

} // namespace
} // namespace ch::test
