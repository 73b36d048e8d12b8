#include "document/commands/RollForwardQuestion.h"

#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

int askRollForward(const std::vector<GXCommandHistoryItem>& items)
{
    std::string message = localized("ROLLFORWARD");
    for (const GXCommandHistoryItem& item : items) {
        message += '\n';
        message += item.commandText();
        message += ' ';
        message += item.listedName().value_or("");
    }
    Alert alert{0, localized("QUESTION"), message, localized("OK"), localized("CANCEL")};
    return alertPresenter().askQuestion(alert) == AlertAnswer::Default ? 1 : -1;
}

void showRollForwardSummary(const std::vector<std::string>& lines)
{
    std::string message = localized("ROLLFORWARDSUMMARY");
    for (const std::string& line : lines) {
        message += '\n';
        message += line;
    }
    alertPresenter().showInfo(Alert{0, localized("INFO"), message, localized("OK"), {}});
}

void showJournalSetAside(const std::string& path)
{
    alertPresenter().showInfo(Alert{kJournalSetAside, localized("INFO"),
                                    formatMessage(localized(std::to_string(kJournalSetAside)), {path}),
                                    localized("OK"), {}});
}

void showJournalWriteFailed(const std::string& path, const std::string& reason)
{
    alertPresenter().showInfo(Alert{kJournalWriteFailed, localized("INFO"),
                                    formatMessage(localized(std::to_string(kJournalWriteFailed)), {path, reason}),
                                    localized("OK"), {}});
}

void showJournalNotSetAside(const std::string& path, const std::string& reason)
{
    alertPresenter().showInfo(Alert{kJournalNotSetAside, localized("INFO"),
                                    formatMessage(localized(std::to_string(kJournalNotSetAside)), {path, reason}),
                                    localized("OK"), {}});
}

void showJournalNotWritten(const std::string& path)
{
    alertPresenter().showInfo(Alert{kNotJournaled, localized("INFO"),
                                    formatMessage(localized(std::to_string(kNotJournaled)), {path}),
                                    localized("OK"), {}});
}

} // namespace ch
