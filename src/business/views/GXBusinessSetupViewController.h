#pragma once
// The business-setup page: the VAT rates ("VatR"), the amortisation schemes
// ("AmoR", always empty) and the VAT periods ("VatP") in three tabs. Rates
// are made, modified and deleted through the VAT-rate sheet and the
// document's commands; the selected period can be recalculated, and its VAT
// listing (detail, per VAT id or per rate) is shown under the periods and
// can be printed. The declaration file covers the selected period. The
// length of the periods (month, quarter, accounting year) is chosen above the
// periods; a new length lays out its current and previous period and selects
// the previous one, the period to declare.

#include <memory>
#include <vector>

#include "business/BusinessSetupMenu.h"
#include "platform/core/observable.h"
#include "ui/GXSideBarControlledViewAncestor.h"

class QComboBox;
class QTabWidget;
class QTableWidget;

namespace ch {
class CReportView;
class MyDocument;
} // namespace ch

namespace ch::business {

class BusinessOfDocument;
class CVATRateDialog;
class GXVATPeriod;
class GXVATRate;

class GXBusinessSetupViewController : public GXSideBarControlledViewAncestor {
    Q_OBJECT
public:
    enum class Listing { Detail = 0, PerVATId = 1, PerRate = 2 };

    explicit GXBusinessSetupViewController(MyDocument& document, QObject* parent = nullptr);

    bool hasSubPages() const override { return true; }
    void selectSubPage(FourCharCode type) override;
    QWidget* firstKeyView() override;
    // Shows the periods with their figures worked out anew.
    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;
    void executeMenuCommand(int code, const CommandSender& sender) override;
    MenuItemValidation validateMenuItem(int tag) override;
    void searchContents(const std::string& text) override;

    std::shared_ptr<GXVATRate> selectedVATRate() const;
    std::shared_ptr<GXVATPeriod> selectedVATPeriod() const;
    void selectVATRate(const GXVATRate* rate);
    void selectVATPeriod(const GXVATPeriod* period);
    QTableWidget* VATRateTable() const { return topTableView; }
    QTableWidget* VATPeriodTable() const { return mVATPeriodTable; }
    CReportView* VATReportView() const { return mVATReportView; }
    CVATRateDialog* VATRateSheet() const { return mVATRateDialogController; }

    void newVATRate();
    void modifyVATRate();
    void deleteVATRate();
    // The listing type; choosing the current one rebuilds nothing.
    void setListing(Listing listing);
    Listing currentVATReport() const { return mCurrentVATReport; }
    // Shows the listing of the selected period; without one the view keeps
    // what it shows.
    void rebuildReportContents();
    void calculateVATPeriod();
    void printReport();
    void createInterVATFile();

protected:
    QWidget* makeControlledView() override;

private:
    BusinessOfDocument* business() const;
    bool ratesTabSelected() const;
    void openVATRateSheet(bool newObject);
    void VATRateSheetClosed(int returnCode);
    void refreshRates();
    void refreshPeriods();
    void VATPeriodicityChanged();
    void schedulePeriodRefresh();

    MyDocument& mMyDocument;
    QTabWidget* pageTab = nullptr;
    QTableWidget* topTableView = nullptr;
    QTableWidget* amortisationRateTable = nullptr;
    QTableWidget* mVATPeriodTable = nullptr;
    CReportView* mVATReportView = nullptr;
    QComboBox* menuChoiceButton = nullptr;
    QComboBox* periodicityButton = nullptr;
    CVATRateDialog* mVATRateDialogController = nullptr;
    std::shared_ptr<GXVATRate> copiedVATRate;
    Listing mCurrentVATReport = Listing::Detail;
    bool mPeriodRefreshPending = false;
    // The periods in the order of the table's rows: by start date.
    std::vector<std::shared_ptr<GXVATPeriod>> mShownPeriods;
    // The document's rate and period notifications, heard also while the
    // page is hidden.
    std::vector<Subscription> mSubscriptions;
};

} // namespace ch::business
