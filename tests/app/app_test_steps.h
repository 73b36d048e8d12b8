#pragma once
// What the application tests share: the defaults of a first start with euro
// books, and the new-document assistant as a person goes through it.

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/DocumentController.h"
#include "app/NewDocumentAssistantDialog.h"
#include "business/BusinessDefaults.h"
#include "document/app/GXApplicationDelegate.h"
#include "platform/core/user_defaults.h"

namespace ch::test {

inline void settleEvents()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The registered defaults, euro as the home currency, the assistant on and
// neither the start-up choice nor the last document at start.
inline void setFirstStartDefaults(UserDefaults& defaults)
{
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    defaults.set("NSInternationalCurrencyString", Value(std::string("EUR")));
    defaults.set("NSCurrencySymbol", Value(std::string("EUR")));
    defaults.set("GXShowNewDocumentAssistant", Value(true));
    defaults.set("GXShowStartupChoice", Value(false));
    defaults.set("GXShowLastDocumentAtStartup", Value(false));
}

// Every page taken as proposed, except that the first proposed property
// account is chosen, made the default and renamed. Clicks "Next" to the end; answers whether the account was renamed.
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
