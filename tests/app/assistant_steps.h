#pragma once
// The new-document assistant as a person goes through it in the tests: every
// page taken as proposed, except that the first proposed property account is
// chosen, made the default and renamed.

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/DocumentController.h"
#include "app/NewDocumentAssistantDialog.h"

namespace ch::test {

inline void settleEvents()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Clicks "Next" to the end; answers whether the account was renamed.
inline bool finishAssistantNamingTheFirstAccount(DocumentController& controller, const QString& name)
{
    NewDocumentAssistantDialog* assistant = controller.assistant();
    if (!assistant) return false;
    auto* next = assistant->findChild<QPushButton*>("nextButton");
    if (!next) return false;
    bool renamed = false;
    for (int page = 0; page < 20 && controller.assistant(); ++page) {
        if (assistant->assistant().view().lists == AssistantList::PropertyAccounts &&
            assistant->assistant().view().tab != 0 && !renamed) {
            QTableWidget* table = assistant->proposedTable();
            if (table->rowCount() == 0) return false;
            table->item(0, 0)->setCheckState(Qt::Checked);
            table->item(0, 4)->setCheckState(Qt::Checked);
            settleEvents();
            table->item(0, 1)->setText(name);
            settleEvents();
            renamed = true;
        }
        QTest::mouseClick(next, Qt::LeftButton);
        settleEvents();
    }
    return renamed;
}

} // namespace ch::test
