#pragma once
// The document settings window: the default accounts and categories the
// books use when nothing else is given, the home and input currencies, the
// month the accounting year starts in, the password, the portfolio and the
// business defaults, on six pages chosen from the toolbar "setupToolbar".
// It opens on "general". Every pop-up writes its choice to the settings item
// as soon as it is made and marks the document changed; OK only closes the
// window.
//
// Keys: "DOCUMENT" and "FILEPREFERENCES" (the settings item).

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/sheets/CPopupWindowAncestor.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolBar;

namespace ch {

class CPrfRItem;
class SheetDocument;
struct SettingsPopup;

namespace settings_key {
inline constexpr std::string_view kFilePreferences = "FILEPREFERENCES";
} // namespace settings_key

class CFilePreferenceController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CFilePreferenceController(QWidget* parent = nullptr);
    ~CFilePreferenceController() override;

    // A new window over the document's settings, begun on the window and
    // gone when closed.
    static CFilePreferenceController* showFor(QWidget* window, SheetDocument& document,
                                              std::shared_ptr<CPrfRItem> settings);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override { return true; }

    CPrfRItem* mFilePreferences() const { return mSettings.get(); }
    // The identifier of the page shown.
    std::string shownPage() const;
    void showPage(std::string_view identifier);
    QToolBar* toolbar() const { return thisToolbar; }

private:
    void popupChosen(const SettingsPopup& popup);
    // The month chosen starts the accounting year; the periods follow.
    void yearStartChosen();
    // Sends the books' setting command (journaled), which marks the books edited.
    void sendSetting(const char* setting, long value);
    void showYearStart();
    void passwordEdited();
    void confirmationEdited();

    std::shared_ptr<CPrfRItem> mSettings;
    SheetDocument* mDocument = nullptr;
    QToolBar* thisToolbar;
    QStackedWidget* tabView;
    std::map<std::string, QWidget*, std::less<>> mPages;
    std::map<std::string, QAction*, std::less<>> mItems;
    QComboBox* mYearStartPopup;
    QLabel* mCurrentPeriodLabel;
    QLineEdit* mPassword;
    QLineEdit* mOtherPasword;
    bool mLoading = false;
};

} // namespace ch
