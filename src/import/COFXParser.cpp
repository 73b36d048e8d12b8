#include "import/COFXParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <fstream>
#include <iterator>

#include "import/ImportDocument.h"
#include "import/ImportLookups.h"
#include "import/ImportText.h"
#include "import/OfxTree.h"
#include "import/StatementAmount.h"
#include "import/StatementText.h"
#include "model/CCurrency.h"
#include "model/foundation/AmountRounding.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/locale_settings.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

constexpr std::size_t kShortExtendedName = 20;

OfxReadResult refused(long error)
{
    CErrorManager::RaiseError(error);
    return {{}, error};
}

// The decimals a statement amount in the currency is kept with: the
// currency's own (ISO 4217), at most as many as the books show, none where
// the books' currency of that code allows none.
int amountDecimals(ImportDocument* document, const std::string& code)
{
    const CCurrency* held = document ? currencyForSymbol(document->books(), code) : nullptr;
    if (held && !held->AreDecimalsAllowed()) return 0;
    return std::min(currencyFractionDigits(code), static_cast<int>(CDecimal::getNrOfDecimals()));
}

// The opening tags of transactions ("<STMTTRN>", also with a damaged end)
// the text holds.
std::size_t transactionTagsIn(std::string_view text)
{
    constexpr std::string_view kTag = "<STMTTRN";
    std::size_t count = 0;
    for (std::size_t at = text.find(kTag); at != std::string_view::npos; at = text.find(kTag, at + kTag.size())) {
        const std::size_t after = at + kTag.size();
        if (after >= text.size()) break;   // a text cut inside the tag
        const char next = text[after];
        const bool nameGoesOn = (next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z') ||
                                (next >= '0' && next <= '9') || next == '_' || next == '.';
        if (!nameGoesOn) ++count;   // not "<STMTTRNRS>"
    }
    return count;
}

std::string cutTitle(const std::string& text)
{
    return characterCount(text) > COFXParser::kTitleLength - 1 ? firstCharacters(text, COFXParser::kTitleLength) : text;
}

// OFX's own number: an optional sign, digits, and a decimal point or comma
// with digits; no grouping. The whole text or none; the nearest double to it.
std::optional<double> ofxDecimal(std::string_view text)
{
    std::string plain;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (text.front() == '-') plain += '-';
        text.remove_prefix(1);
    }
    std::size_t i = 0, digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) plain += text[i];
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        plain += '.';
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) plain += text[i];
    }
    if (i != text.size() || digits == 0) return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The elements of a transaction ("STMTTRN") that stand for themselves.
bool isTransactionElement(std::string_view name)
{
    static constexpr std::string_view kNames[] = {
        "TRNTYPE", "DTPOSTED", "DTUSER",  "DTAVAIL", "TRNAMT",  "FITID",     "CORRECTFITID", "CORRECTACTION",
        "SRVRTID", "CHECKNUM", "REFNUM",  "SIC",     "PAYEEID", "NAME",      "EXTDNAME",     "PAYEE",
        "BANKACCTTO", "CCACCTTO", "MEMO", "IMAGEDATA", "CURRENCY", "ORIGCURRENCY", "INV401KSOURCE"};
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

void copyInto(const OfxNode& from, OfxNode& to)
{
    for (const auto& child : from.children()) {
        if (child->name().empty()) {
            to.addText(child->text());
        } else {
            OfxNode& copy = to.addElement(child->name());
            copy.setLine(child->line());
            copyInto(*child, copy);
        }
    }
}

// The transactions of a statement in the order the file writes them. A
// damaged tag breaks them in two ways, both mended here and told: a
// transaction whose opening tag is damaged leaves its elements in the list
// outside any transaction, and they are one transaction again; a
// transaction whose closing and the next opening tags are lost holds the
// elements of two, and is two again (a second TRNTYPE, DTPOSTED or TRNAMT
// begins the next).
class StatementTransactions {
public:
    explicit StatementTransactions(const OfxNode& statement) { collect(statement); }

    std::vector<const OfxNode*> transactions;
    std::vector<std::size_t> mended;       // lines of transactions read from damaged tags
    std::vector<std::size_t> withoutAmount;
    std::size_t heldByTags = 0;            // transactions with a tag of their own, and those mended

private:
    using Run = std::vector<const OfxNode*>;

    void collect(const OfxNode& node)
    {
        for (const auto& child : node.children()) {
            if (child->name() == "STMTTRN") transaction(*child);
            else if (child->name() == "BANKTRANLIST") list(*child);
            else if (!child->name().empty()) collect(*child);
        }
    }

    void list(const OfxNode& node)
    {
        Run run;
        for (const auto& child : node.children()) {
            if (child->name().empty()) continue;
            if (isTransactionElement(child->name())) {
                if (begins(run, child->name())) flush(run, true);
                run.push_back(child.get());
                continue;
            }
            flush(run, true);
            if (child->name() == "STMTTRN") transaction(*child);
            else collect(*child);
        }
        flush(run, true);
    }

    void transaction(const OfxNode& node)
    {
        ++heldByTags;
        // A transaction the file breaks off in may lack its amount or date.
        if (!node.unclosed()) {
            std::vector<Run> runs(1);
            for (const auto& child : node.children()) {
                if (child->name().empty() || !isTransactionElement(child->name())) continue;
                if (begins(runs.back(), child->name())) runs.emplace_back();
                runs.back().push_back(child.get());
            }
            if (runs.front().empty()) {
                // A closing tag that lost its "/" opens a transaction of nothing.
            } else if (runs.size() == 1) {
                if (!holds(runs.front(), "TRNAMT")) withoutAmount.push_back(node.line());
                transactions.push_back(&node);
            } else {
                heldByTags += runs.size() - 1;
                for (Run& run : runs) flush(run, false);
            }
        }
        // Transactions nested by a lost closing tag are read as well.
        for (const auto& child : node.children())
            if (child->name() == "STMTTRN") transaction(*child);
    }

    // A second type, date, amount or id begins the next transaction.
    static bool begins(const Run& run, std::string_view name)
    {
        return (name == "TRNTYPE" || name == "DTPOSTED" || name == "TRNAMT" || name == "FITID") && holds(run, name);
    }

    static bool holds(const Run& run, std::string_view name)
    {
        return std::any_of(run.begin(), run.end(), [&](const OfxNode* each) { return each->name() == name; });
    }

    // The run of elements as one transaction.
    void flush(Run& run, bool ownTag)
    {
        if (run.empty()) return;
        auto made = std::make_unique<OfxNode>("STMTTRN");
        made->setLine(run.front()->line());
        for (const OfxNode* element : run) {
            OfxNode& copy = made->addElement(element->name());
            copy.setLine(element->line());
            copyInto(*element, copy);
        }
        if (ownTag) ++heldByTags;
        if (holds(run, "TRNAMT")) mended.push_back(made->line());
        else withoutAmount.push_back(made->line());
        // Elements alone that say no amount are no transaction to read.
        if (holds(run, "TRNAMT") || !ownTag) transactions.push_back(made.get());
        mMade.push_back(std::move(made));
        run.clear();
    }

    std::vector<std::unique_ptr<OfxNode>> mMade;
};

} // namespace

std::optional<double> COFXParser::amountOf(std::string_view text)
{
    text = trimmedText(text);
    if (const std::optional<double> amount = ofxDecimal(text)) return amount;
    return statementAmount(text);
}

DateT COFXParser::parseOFXDate(std::string_view text)
{
    text = trimmedText(text);
    if (text.size() < 8) return 0;
    DateT date = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        date = date * 10 + (text[i] - '0');
    }
    return CDate::IsValidDate(date) ? date : 0;
}

std::string COFXParser::normalizeTransactionType(std::string_view type)
{
    return localized("OFX" + std::string(type));
}

std::optional<std::string> COFXParser::valueForXPath(std::string_view path, const OfxNode& node)
{
    const OfxNode* found = nullptr;
    if (path.starts_with(".//")) {
        path.remove_prefix(3);
        const std::size_t slash = path.find('/');
        if (slash == std::string_view::npos) {
            found = node.descendant(path);
        } else {
            for (const OfxNode* outer : node.descendants(path.substr(0, slash)))
                if ((found = outer->child(path.substr(slash + 1)))) break;
        }
    } else if (path.starts_with("./")) {
        path.remove_prefix(2);
        found = &node;
        while (found && !path.empty()) {
            const std::size_t slash = path.find('/');
            found = found->child(path.substr(0, slash));
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        }
    }
    if (!found) return std::nullopt;
    return std::string(trimmedText(found->stringValue()));
}

CImpTItem::Ptr COFXParser::importItemFromSTMTTRN(const OfxNode& transaction, bool asCreditCard,
                                                 ImportDocument* document, const std::string& account,
                                                 const std::optional<std::string>& currency)
{
    auto value = [&](std::string_view path) { return valueForXPath(path, transaction); };
    const std::optional<std::string> type = value("./TRNTYPE");
    const std::optional<std::string> posted = value("./DTPOSTED");
    const std::optional<std::string> user = value("./DTUSER");
    const std::optional<std::string> amountText = value("./TRNAMT");
    const std::optional<std::string> checkNumber = value("./CHECKNUM");
    const std::optional<std::string> referenceNumber = value("./REFNUM");
    const std::optional<std::string> name = value("./NAME");
    const std::optional<std::string> payeeBlock = value("./PAYEE");
    const std::optional<std::string> extendedName = value("./EXTDNAME");
    const std::optional<std::string> memo = value("./MEMO");
    const std::optional<std::string> currencySymbol = value("./CURRENCY/CURSYM");
    const std::string typeText = type ? normalizeTransactionType(*type) : std::string();

    std::optional<std::string> partnerName = name;
    std::optional<std::string> address;
    std::optional<std::string> city;
    std::optional<std::string> postalCode;
    if (payeeBlock && !payeeBlock->empty()) {
        if (!partnerName) partnerName = value("./PAYEE/NAME");
        const auto line1 = value("./PAYEE/ADDR1");
        const auto line2 = value("./PAYEE/ADDR2");
        const auto line3 = value("./PAYEE/ADDR3");
        if (line1 && line2 && line3) address = *line1 + "\r" + *line2 + "\r" + *line3;
        else if (line1 && line2) address = *line1 + "\r" + *line2;
        else address = line1;
        city = value("./PAYEE/CITY");
        postalCode = value("./PAYEE/POSTALCODE");
    }

    auto line = std::make_shared<CImpTItem>();
    if (asCreditCard) line->setIsOnDebtAccount();
    line->setMOurAccountNumber(account);

    const DateT postedDate = posted && !posted->empty() ? parseOFXDate(*posted) : 0;
    const DateT userDate = user && !user->empty() ? parseOFXDate(*user) : 0;
    if (postedDate > 0) {
        line->setMBookingDate(postedDate);
        line->setMOriginalBookingDate(*posted);
        line->setMValueDate(userDate > 0 ? userDate : postedDate);
        line->setMOriginalValueDate(userDate > 0 ? *user : *posted);
    } else if (userDate > 0) {
        line->setMBookingDate(userDate);
        line->setMOriginalBookingDate(*user);
        line->setMValueDate(userDate);
        line->setMOriginalValueDate(*user);
    }

    if (checkNumber) line->setMDocumentRef(*checkNumber);
    else if (referenceNumber) line->setMDocumentRef(*referenceNumber);

    // The counterparty's account number is the ACCTID of BANKACCTTO (its
    // whole text would run bank, account and type together).
    if (auto counterparty = value("./BANKACCTTO/ACCTID")) line->setMForeignAccountNumber(*counterparty);
    else if (auto whole = value("./BANKACCTTO")) line->setMForeignAccountNumber(*whole);
    if (partnerName) line->setMPartnerName(*partnerName);
    if (address) line->setMPartnerAdress(*address);
    if (postalCode && city) line->setMPartnerCity(*postalCode + " " + *city);
    else if (postalCode || city) line->setMPartnerCity(postalCode ? *postalCode : *city);

    if (extendedName) line->setMTransactionDescription(*extendedName);
    else if (memo) line->setMTransactionDescription(*memo);
    else if (partnerName) line->setMTransactionDescription(*partnerName);

    std::string currencyCode;
    if (currencySymbol) currencyCode = *currencySymbol;
    else if (currency) currencyCode = *currency;
    else if (document) currencyCode = homeCurrencySymbol(document->books());

    // Finer than the currency writes it, an amount would book other cents
    // than the line shows: it is rounded as it is read.
    std::optional<double> amount = amountText ? amountOf(*amountText) : std::nullopt;
    if (amount) amount = roundedAmount(*amount, amountDecimals(document, currencyCode));
    line->setMAmount(amount.value_or(0.0));
    line->setMOriginalAmount(amountText.value_or(std::string()));
    if (!amount) line->setAmountUnread(amountText.value_or(std::string()));

    // None named: the line takes the currency of the account it is booked on.
    if (currencySymbol || currency) line->setMCurrency(currencyCode);
    line->setDocument(document);

    std::string title;
    const std::string partner = partnerName.value_or(std::string());
    if (!typeText.empty()) {
        const std::string detail = extendedName && !extendedName->empty() ? *extendedName : memo.value_or(std::string());
        if (!partner.empty()) title = cutTitle(typeText + " : " + partner);
        else if (!detail.empty()) title = cutTitle(typeText + " : " + detail);
        else title = typeText;
    } else if (extendedName && !extendedName->empty()) {
        title = *extendedName;
        if (characterCount(*extendedName) < kShortExtendedName && memo) title += " : " + *memo;
        title = cutTitle(title);
    } else {
        title = cutTitle(memo.value_or(std::string()));
    }
    line->setMTitle(title);
    line->autoComplete();
    return line;
}

std::vector<CImpTItem::Ptr> COFXParser::importuitrekselsVoorRekening(const OfxNode& statement, bool asCreditCard,
                                                                    ImportDocument* document)
{
    const std::optional<std::string> currency = valueForXPath(".//CURDEF", statement);
    const std::string account =
        valueForXPath(asCreditCard ? ".//CCACCTFROM/ACCTID" : ".//BANKACCTFROM/ACCTID", statement)
            .value_or(std::string());
    std::vector<CImpTItem::Ptr> lines;
    const StatementTransactions found(statement);
    for (const OfxNode* transaction : found.transactions)
        lines.push_back(importItemFromSTMTTRN(*transaction, asCreditCard, document, account, currency));
    return lines;
}

std::vector<CImpTItem::Ptr> COFXParser::parseOfxDocument(const OfxNode& document, ImportDocument* importDocument,
                                                        OfxReadResult* found)
{
    std::vector<CImpTItem::Ptr> lines;
    for (const bool creditCard : {false, true}) {
        for (const OfxNode* statement : document.descendants(creditCard ? "CCSTMTRS" : "STMTRS")) {
            std::vector<CImpTItem::Ptr> more = importuitrekselsVoorRekening(*statement, creditCard, importDocument);
            lines.insert(lines.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
            if (found) {
                ++found->statements;
                const StatementTransactions read(*statement);
                found->transactionsInStatements += read.heldByTags;
                found->mendedLines.insert(found->mendedLines.end(), read.mended.begin(), read.mended.end());
                found->linesWithoutAmount.insert(found->linesWithoutAmount.end(), read.withoutAmount.begin(),
                                                 read.withoutAmount.end());
            }
        }
    }
    if (found) {
        const std::vector<const OfxNode*> investments = document.descendants("INVSTMTRS");
        found->investmentStatement = !investments.empty();
        for (const OfxNode* investment : investments)
            found->investmentTransactions += investment->descendants("STMTTRN").size();
        for (const auto& line : lines) found->unreadAmounts += line->amountUnread();
    }
    return lines;
}

OfxReadResult COFXParser::parseBytes(std::string_view bytes, ImportDocument* document)
{
    if (bytes.empty()) return refused(kUnreadableFileError);
    const std::string text = statementText(bytes);
    try {
        std::unique_ptr<OfxNode> tree;
        // OFX 2 is XML; an XML text with any error is read the tolerant way, as OFX 1 is.
        if (trimmedText(text).starts_with("<?xml")) {
            OfxXmlResult xml = readOfxXml(text);
            if (xml.wellFormed) {
                if (!xml.document->child("OFX")) return refused(kNoOfxError);
                tree = std::move(xml.document);
            }
        }
        bool truncated = false;
        if (!tree) {
            const std::size_t start = text.find("<OFX>");
            if (start == std::string::npos) return refused(kNoOfxError);
            // Every OFX closes its root: a text without "</OFX>" was cut short.
            truncated = text.find("</OFX>", start) == std::string::npos;
            std::size_t firstLine = 1;
            for (std::size_t i = 0; i < start; ++i)
                if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++firstLine;
            tree = readOfxSgml(std::string_view(text).substr(start), truncated, firstLine);
        }
        OfxReadResult result;
        result.truncated = truncated;
        result.lines = parseOfxDocument(*tree, document, &result);
        // Transactions the text opens that no statement read holds: a damaged
        // tag lost them (a cut text's last one is told apart, as cut).
        const std::size_t opened = transactionTagsIn(text);
        const std::size_t held = result.transactionsInStatements + result.investmentTransactions;
        result.leftOut = opened > held ? opened - held : 0;
        return result;
    } catch (const std::exception&) {
        // Whatever went wrong while reading, the user hears of it.
        return refused(kUnreadableStatementError);
    }
}

OfxReadResult COFXParser::parseFileName(const std::filesystem::path& path, ImportDocument* document)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return refused(kUnreadableFileError);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return refused(kUnreadableFileError);
    return parseBytes(bytes, document);
}

} // namespace ch
