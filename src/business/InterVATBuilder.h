#pragma once
// InterVATBuilder: writes the VAT declaration file, an XML 1.0 document in
// UTF-8, pretty-printed, that the system writes and never reads:
//
//   <VATSENDING>
//     <DECLARER>        the document's own owner; empty without one
//       <VATNUMBER>     the owner's VAT number, left out without one
//       <NAME>          the owner's name, left out without one
//       <ADDRESS>Address</ADDRESS> <POSTCODE>Postcode</POSTCODE>
//       <CITY>City</CITY> <SENDINGREFERENCE>referentie</SENDINGREFERENCE>
//     </DECLARER>
//     <DECLARATION>     the declared range and its VAT balance
//       <STARTDATE>, <ENDDATE>                  as YYYY-MM-DD
//       <VATPAID>, <VATPAIDCANCELLED>, <VATRECEIVED>,
//       <VATRECEIVEDCANCELLED>, <VATPREPAID>    amounts with two decimals
//     </DECLARATION>
//   </VATSENDING>
//
// The figures are the document's VAT balance of the range, or only the
// retained rate's when one is set. No element carries attributes.
//
// The file is user data: it is written to a temporary file beside the target
// and renamed over it only when complete, so a failed write never leaves a
// partial file in place of an existing one. A failure is shown to the user
// (message kDeclarationNotWrittenError).

#include <filesystem>
#include <memory>
#include <string>

#include "model/foundation/ModelTypes.h"

namespace ch::business {

class BusinessDocument;
class GXVATRate;

// Message: the VAT declaration file could not be written.
inline constexpr long kDeclarationNotWrittenError = 282;

class InterVATBuilder {
public:
    explicit InterVATBuilder(BusinessDocument* document = nullptr) : mDocument(document) {}

    DateT startDate() const { return mStartDate; }
    void setStartDate(DateT date) { mStartDate = date; }
    DateT endDate() const { return mEndDate; }
    void setEndDate(DateT date) { mEndDate = date; }
    const std::shared_ptr<GXVATRate>& rateToRetain() const { return mRateToRetain; }
    void setRateToRetain(std::shared_ptr<GXVATRate> rate) { mRateToRetain = std::move(rate); }
    // The document whose own owner declares; not owned.
    BusinessDocument* document() const { return mDocument; }
    void setMDocument(BusinessDocument* document) { mDocument = document; }

    // Builds the declaration and writes it to the path; false (after telling
    // the user) when it could not be written.
    bool buildInterVatFileWithName(const std::filesystem::path& path) const;
    // The declaration's bytes; empty when libxml2 fails to serialise it.
    std::string buildInterVatDocument() const;

private:
    DateT mStartDate = 0;
    DateT mEndDate = 0;
    std::shared_ptr<GXVATRate> mRateToRetain;
    BusinessDocument* mDocument;
};

} // namespace ch::business
