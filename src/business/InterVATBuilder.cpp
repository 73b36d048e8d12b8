#include "business/InterVATBuilder.h"

#include <libxml/tree.h>

#include <charconv>
#include <cstdio>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcoWItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BusinessDocument.h"
#include "business/GXVATRate.h"
#include "business/VATPeriods.h"
#include "model/CAccountOwner.h"
#include "model/CDocAccounting.h"
#include "model/foundation/AmountRounding.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/atomic_file.h"
#include "platform/core/unicode.h"

namespace ch::business {

namespace {

const xmlChar* xml(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

// Text that XML 1.0 can carry: malformed UTF-8 repaired, and the control
// characters it does not allow left out (the usual escaping is libxml2's).
std::string xmlText(std::string_view text)
{
    std::string repaired = isValidUtf8(text) ? std::string(text) : toUtf8(toUtf16(text));
    std::string result;
    result.reserve(repaired.size());
    for (char c : repaired) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
            continue;
        result.push_back(c);
    }
    return result;
}

void addTextChild(xmlNodePtr parent, const char* name, std::string_view text)
{
    xmlNewTextChild(parent, nullptr, xml(name), xml(xmlText(text).c_str()));
}

// Two decimals, a point, whatever the locale.
std::string amountText(double amount)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, roundedAmount(amount, 2) + 0.0, std::chars_format::fixed, 2);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    return text == "-0.00" ? "0.00" : text;
}

std::string dateText(DateT date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", static_cast<int>(date / 10000),
                  static_cast<int>(date / 100 % 100), static_cast<int>(date % 100));
    return buffer;
}

// The declarant: the document's own owner.
void completeDeclarerNode(xmlNodePtr declarer, BusinessDocument* document)
{
    if (!document)
        return;
    BridgeDocument& bridge = document->bridgeDocument();
    const CDocAccounting* root = bridge.accounting();
    const CAccountOwner* me = root ? root->Get_Me() : nullptr;
    std::shared_ptr<CAcoWItem> owner = me ? bridge.getAccountOwnerItemForId(me->Get_Id()) : nullptr;
    if (!owner)
        return;
    if (std::optional<std::string> vatNumber = owner->VATNr(); vatNumber && !vatNumber->empty())
        addTextChild(declarer, "VATNUMBER", *vatNumber);
    if (std::string name = owner->getName(); !name.empty())
        addTextChild(declarer, "NAME", name);
    addTextChild(declarer, "ADDRESS", "Address");
    addTextChild(declarer, "POSTCODE", "Postcode");
    addTextChild(declarer, "CITY", "City");
    addTextChild(declarer, "SENDINGREFERENCE", "referentie");
}

} // namespace

std::string InterVATBuilder::buildInterVatDocument() const
{
    xmlDocPtr document = xmlNewDoc(xml("1.0"));
    xmlNodePtr root = xmlNewNode(nullptr, xml("VATSENDING"));
    xmlDocSetRootElement(document, root);

    xmlNodePtr declarer = xmlNewChild(root, nullptr, xml("DECLARER"), nullptr);
    completeDeclarerNode(declarer, mDocument);

    VATFigures figures;
    if (mRateToRetain)
        figures = mRateToRetain->getBalanceInPeriod(mStartDate, mEndDate);
    else if (mDocument)
        figures = calculateVATBalanceInPeriod(*mDocument, mStartDate, mEndDate);
    xmlNodePtr declaration = xmlNewChild(root, nullptr, xml("DECLARATION"), nullptr);
    addTextChild(declaration, "STARTDATE", dateText(mStartDate));
    addTextChild(declaration, "ENDDATE", dateText(mEndDate));
    addTextChild(declaration, "VATPAID", amountText(figures.paid));
    addTextChild(declaration, "VATPAIDCANCELLED", amountText(figures.paidCancelled));
    addTextChild(declaration, "VATRECEIVED", amountText(figures.received));
    addTextChild(declaration, "VATRECEIVEDCANCELLED", amountText(figures.receivedCancelled));
    addTextChild(declaration, "VATPREPAID", amountText(figures.prepaid));

    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(document, &bytes, &size, "UTF-8", 1);
    std::string text;
    if (bytes && size > 0)
        text.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    xmlFree(bytes);
    xmlFreeDoc(document);
    return text;
}

bool InterVATBuilder::buildInterVatFileWithName(const std::filesystem::path& path) const
{
    const std::string bytes = buildInterVatDocument();
    std::string problem = "the declaration could not be serialised";
    if (bytes.empty() || !writeFileAtomically(path, bytes, &problem)) {
        developerLog("Could not write document out... (" + problem + ")");
        CErrorManager::RaiseError(kDeclarationNotWrittenError);
        return false;
    }
    return true;
}

} // namespace ch::business
