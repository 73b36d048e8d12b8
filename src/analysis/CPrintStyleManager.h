#pragma once
// CPrintStyleManager: the process-wide registry of the 21 named print styles
// every report is drawn in. Made on first use and kept for the rest of the
// process; reports hold its styles by pointer. Main thread only.

#include <map>
#include <string>
#include <string_view>

#include "analysis/CPrintStyle.h"

namespace ch {

inline constexpr std::string_view GXCStyleReportHeader = "REPORTHEADER";
inline constexpr std::string_view GXCStyleLevel1Header = "LEVEL1HEADER";
inline constexpr std::string_view GXCStyleLevel2Header = "LEVEL2HEADER";
inline constexpr std::string_view GXCStyleLevel3Header = "LEVEL3HEADER";
inline constexpr std::string_view GXCStyleLevel1HeaderTitle = "LEVEL1HEADERTITLE";
inline constexpr std::string_view GXCStyleLevel2HeaderTitle = "LEVEL2HEADERTITLE";
inline constexpr std::string_view GXCStyleLevel3HeaderTitle = "LEVEL3HEADERTITLE";
inline constexpr std::string_view GXCStyleDetail = "DETAIL";
inline constexpr std::string_view GXCStyleDetailTitle = "DETAILTITLE";
inline constexpr std::string_view GXCStyleLevel1Footer = "LEVEL1FOOTER";
inline constexpr std::string_view GXCStyleLevel2Footer = "LEVEL2FOOTER";
inline constexpr std::string_view GXCStyleLevel3Footer = "LEVEL3FOOTER";
inline constexpr std::string_view GXCStyleLevel1FooterTitle = "LEVEL1FOOTERTITLE";
inline constexpr std::string_view GXCStyleLevel2FooterTitle = "LEVEL2FOOTERTITLE";
inline constexpr std::string_view GXCStyleLevel3FooterTitle = "LEVEL3FOOTERTITLE";
// Stored with this spelling; reports and their readers rely on it.
inline constexpr std::string_view GXCStyleGrandTotalTitle = "GRANDTOTOTALTITLE";
inline constexpr std::string_view GXCStyleSectionHeader = "SECTIONHEADER";
inline constexpr std::string_view GXCStyleSectionFooter = "SECTIONFOOTER";
inline constexpr std::string_view GXCStyleSectionHeaderTitle = "SECTIONHEADERTITLE";
inline constexpr std::string_view GXCStyleSectionFooterTitle = "SECTIONFOOTERTITLE";
inline constexpr std::string_view GXCStyleGrandTotal = "GRANDTOTAL";

class CPrintStyleManager {
public:
    // The registry, with its styles made on the first call.
    static CPrintStyleManager& sharedPrintStyleManager();

    // The style registered under the name; null for any other name.
    const CPrintStyle* getStyleNamed(std::string_view name) const;

    // Builds the style of the name (any name not in the table gets the base
    // style) and registers it.
    void addStyleToDictionary(std::string_view name);

    CPrintStyleManager(const CPrintStyleManager&) = delete;
    CPrintStyleManager& operator=(const CPrintStyleManager&) = delete;

private:
    CPrintStyleManager();

    std::map<std::string, CPrintStyle, std::less<>> printStyleDictionary;
};

// Share of the screen font size that paper uses, in percent.
inline constexpr int kPrintFontPercentage = 70;

} // namespace ch
