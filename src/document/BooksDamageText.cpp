#include "document/BooksDamageText.h"

#include "bridge/CNSNumberAmountTBridge.h"
#include "model/BooksDamage.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CDate.h"
#include "platform/core/four_char_code.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {
namespace {

// The word for a kind of object: "account", "category", ...
std::string kindWord(FourCharCode type)
{
    return localized("DAMAGEKIND" + fourCCToString(type));
}

std::string dateText(DateT date)
{
    return date > 0 ? CDate::DateTToString(date) : std::string("-");
}

std::string amountText(double amount)
{
    return CNSNumberAmountTBridge::NSNumberToNSString(amount);
}

std::string findingText(const BooksFinding& finding, const CDocAccounting& books)
{
    using Kind = BooksFinding::Kind;
    const bool one = finding.count == 1;
    switch (finding.kind) {
    case Kind::IdTaken:
        return formatMessage(localized("DAMAGEIDTAKEN"),
                             {kindWord(finding.type), finding.name, finding.id, finding.otherName, finding.newId});
    case Kind::IdShared:
        return formatMessage(localized("DAMAGEIDSHARED"),
                             {kindWord(finding.type), finding.otherName, finding.name, finding.id});
    case Kind::LinesOnMissing:
        if (finding.newId != 0) {
            const CAccount* bookedOn = books.GetAccountForID(finding.newId);
            const std::string account = bookedOn ? bookedOn->Get_StringrefName() : std::to_string(finding.newId);
            return formatMessage(localized(one ? "DAMAGELINEMOVED" : "DAMAGELINESMOVED"),
                                 {finding.count, finding.id, account, finding.name, dateText(finding.date)});
        }
        return formatMessage(localized(one ? "DAMAGELINEMISSING" : "DAMAGELINESMISSING"),
                             {finding.count, kindWord(finding.type), finding.id, finding.name, dateText(finding.date)});
    case Kind::Unbalanced:
        return formatMessage(localized("DAMAGEUNBALANCED"), {finding.name, dateText(finding.date),
                                                             amountText(finding.debits), amountText(finding.credits)});
    case Kind::MissingReference:
        return formatMessage(localized(one ? "DAMAGEMISSINGREFERENCE" : "DAMAGEMISSINGREFERENCES"),
                             {finding.count, kindWord(finding.type), finding.id, finding.name});
    case Kind::BudgetLinesNotKept:
        return formatMessage(localized("DAMAGEBUDGETLINES"), {finding.count, finding.name});
    }
    return {};
}

} // namespace

std::string booksDamageLines(const BooksDamage& damage, const CDocAccounting& books)
{
    std::string lines;
    const auto& findings = damage.Findings();
    for (std::size_t i = 0; i < findings.size() && i < kShownFindings; ++i) {
        if (!lines.empty()) lines += '\n';
        lines += "\u2022 " + findingText(findings[i], books);
    }
    if (findings.size() > kShownFindings)
        lines += '\n' + formatMessage(localized("DAMAGEMORE"), {findings.size() - kShownFindings});
    return lines;
}

std::string booksDamageMessage(const BooksDamage& damage, const CDocAccounting& books)
{
    return formatMessage(localized(std::to_string(kBooksDamagedWarning)), {booksDamageLines(damage, books)});
}

} // namespace ch
