// Review pictures of the new-document assistant: every page over new books,
// filled in as a person setting up household books would.

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QThread>

#include <cstdio>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "business/BusinessDefaults.h"
#include "document/app/GXApplicationDelegate.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/qt_dispatcher.h"
#include "review_support.h"
#include "ui/DocumentWindowFrame.h"

namespace ch {

namespace {

using review::save;
using review::settle;

int rowNamed(QTableWidget& table, const QString& name)
{
    for (int row = 0; row < table.rowCount(); ++row)
        if (table.item(row, 1)->text() == name) return row;
    return -1;
}

// A tick or default box of the row, as a click changes it.
void tickCell(QTableWidget& table, const QString& name, int column)
{
    const int row = rowNamed(table, name);
    if (row < 0) return;
    table.scrollToItem(table.item(row, column));
    table.item(row, column)->setCheckState(Qt::Checked);
    settle();
}

void typeBalance(QTableWidget& table, const QString& name, const char* typed)
{
    const int row = rowNamed(table, name);
    if (row < 0) return;
    table.setCurrentCell(row, 3);
    table.editItem(table.item(row, 3));
    settle();
    if (auto* editor = table.findChild<QLineEdit*>("balanceEditor")) {
        editor->setText(QString::fromLatin1(typed));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &enter);
    }
    settle();
}

void dragOver(QTableWidget& from, QAbstractItemView& to, const QString& name)
{
    const int row = rowNamed(from, name);
    if (row < 0) return;
    from.selectRow(row);
    QMimeData* data = from.model()->mimeData(from.selectionModel()->selectedIndexes());
    const QPoint at = to.viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(to.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(to.viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(to.viewport(), &drop);
    delete data;
    settle();
}

} // namespace

int assistantReviewShots(const QString& output, UserDefaults& defaults)
{
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    defaults.set("NSInternationalCurrencyString", Value(std::string("EUR")));
    defaults.set("NSCurrencySymbol", Value(std::string("EUR")));
    defaults.set("GXShowNewDocumentAssistant", Value(true));
    QTemporaryDir folder;
    QtDispatcher dispatcher;
    DocumentController controller(defaults, dispatcher);
    controller.setUntitledJournalFolder(folder.path().toStdString());
    DocumentWindow& window = controller.makeNewDocument(true);
    window.frame()->resize(1280, 800);
    for (int i = 0; i < 50 && !controller.assistant(); ++i) {
        QThread::msleep(10);
        settle();
    }
    NewDocumentAssistantDialog* assistant = controller.assistant();
    if (!assistant) {
        std::fprintf(stderr, "the assistant did not open\n");
        return 1;
    }
    QTableWidget& proposed = *assistant->proposedTable();
    auto* next = assistant->findChild<QPushButton*>("nextButton");
    auto* search = assistant->findChild<QLineEdit*>("proposedSearchField");
    int failures = 0;
    int page = 0;
    auto shot = [&](const char* what) {
        settle();
        failures += !save(*assistant, output, QStringLiteral("assistant-%1-%2.png").arg(++page, 2, 10, QChar('0')).arg(QString::fromLatin1(what)));
    };
    auto goOn = [&] {
        next->click();
        settle();
    };

    shot("set");
    goOn();
    // Currencies: the euro preselected; the Swiss franc found by searching.
    shot("currencies");
    search->setText(QStringLiteral("fr"));
    settle();
    tickCell(proposed, QStringLiteral("Swiss Franc"), 0);
    shot("currencies-searched");
    goOn();
    // Own property: balances today, the checking account as the default.
    typeBalance(proposed, QStringLiteral("Checking Account"), "2450.80");
    typeBalance(proposed, QStringLiteral("Cash"), "120");
    tickCell(proposed, QStringLiteral("Checking Account"), 4);
    shot("property");
    goOn();
    // Assets: the house dragged across.
    dragOver(proposed, *assistant->selectedList(), QStringLiteral("House"));
    typeBalance(proposed, QStringLiteral("House"), "250000");
    shot("assets");
    for (const char* what : {"debts", "sources", "destinations", "income", "expenses", "transfers"}) {
        goOn();
        shot(what);
    }
    goOn();
    shot("create");
    goOn();
    settle();
    failures += !save(*window.frame(), output, QStringLiteral("assistant-books.png"));
    return failures;
}

} // namespace ch
