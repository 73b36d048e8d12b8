#pragma once
// CReportingController: the reports page of a document window. The user
// picks a report (balance sheet, profit and loss, expense overview), a period
// length (month, quarter, year) and which period comes first (current, last
// complete, N periods ago, N from 0 to 1200); the page builds the report with
// four period columns from the books it was given, shows it from page 1,
// pages through it and prints it through the print dialog or to a PDF file.
// The report of the choices shown is built when the page is first shown
// (and again when shown after other books were given), then each time the
// user changes a choice; paging never rebuilds.
//
// The window hosts the page (tab "repo"), hands it the books with setDocument
// and takes them away (null) before the books go. Main thread only.
//
// Children, by object name: "mGraphSelectionMenu" (combo box, item data the
// report tag), "mPeriodicitySelection" and "mTimeSelection" (button groups,
// ids the tags), "mPeriodsAgoField" (spin box), "mReportView",
// "mPageDescriptionField" (the page label), and the buttons "firstPage",
// "previousPage", "nextPage", "lastPage" and "print".

#include <memory>

#include <QPageLayout>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPrinter;
class QSpinBox;

namespace ch {

class CDocAccounting;
class CReportView;

class CReportingController : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool isNumberOfPeriodsAgoEnabled READ isNumberOfPeriodsAgoEnabled NOTIFY
                   isNumberOfPeriodsAgoEnabledChanged)
    Q_PROPERTY(QString mPageDescription READ mPageDescription NOTIFY mPageDescriptionChanged)

public:
    explicit CReportingController(QWidget* parent = nullptr);
    ~CReportingController() override;

    // The books reported on; not owned. Null: none (reports of empty sections).
    // Other books are reported on the next time the page shows; at once when
    // it is showing.
    void setDocument(CDocAccounting* books);
    CDocAccounting* document() const { return mParentDocument; }
    // The books' accounting periods changed: the report is built again, at
    // once when the page is showing, else the next time it shows.
    void periodsChanged();

    // The document's print settings: paper, orientation and margins (A4
    // portrait with margins of 72 points left and right, 90 top and bottom
    // until set; the window hands over what File > Page Setup chooses). A
    // print through the dialog keeps what the user chose and announces it.
    const QPageLayout& printSettings() const { return mPrintSettings; }
    void setPrintSettings(const QPageLayout& layout) { mPrintSettings = layout; }

    CReportView* reportView() const { return mReportView; }

    // True exactly when the first period is "N periods ago"; it enables the field.
    bool isNumberOfPeriodsAgoEnabled() const;
    // The report view's "page/count".
    QString mPageDescription() const;

public slots:
    // The actions of the page's controls.
    void selectReport();
    void setPeriodicity();
    void setPeriod();
    void setNumberOfDaysAgo();
    void firstPage();
    void lastPage();
    void nextPage();
    void previousPage();
    // Opens the print dialog on the window; OK prints the report shown.
    void print();

public:
    // Builds the chosen report anew and shows its first page.
    void rebuildReportContents();
    // Prints the report shown, laid out again for the printer's paper.
    bool printTo(QPrinter& printer) const;
    // Writes the report shown as a PDF file on paper of the print settings.
    bool printToPdf(const QString& path) const;

signals:
    void printSettingsChanged(const QPageLayout& layout);
    void mPageDescriptionChanged();
    void isNumberOfPeriodsAgoEnabledChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void announcePageDescription();

    QButtonGroup* mPeriodicitySelection = nullptr;
    QButtonGroup* mTimeSelection = nullptr;
    QSpinBox* mPeriodsAgoField = nullptr;
    QComboBox* mGraphSelectionMenu = nullptr;
    CReportView* mReportView = nullptr;
    QLabel* mPageDescriptionField = nullptr;
    CDocAccounting* mParentDocument = nullptr;
    // The report shown is not yet built from the books given.
    bool mNeedsBuild = true;
    QPageLayout mPrintSettings;
    std::unique_ptr<QPrinter> mPrinter;   // made on the first print
};

} // namespace ch
