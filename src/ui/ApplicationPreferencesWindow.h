#pragma once
// The application preferences window: a toolbar of six pages (general,
// saving, colours, charts, importing, on line) over the defaults of
// ApplicationPreferences.h. A change is stored the moment it is made; what
// it changes is up to those who follow the defaults (timers, the journal,
// the amount texts). A value the defaults refuse is not stored: the control
// shows the stored value again, an address field says why and keeps the
// text for mending.
//
// Controls carry the default's key as their objectName ("GXAutoSaveInterval",
// "QifDateFormat", ...); a colour's button its key, its sample the key with
// "Sample". The toolbar is "GlobalPreferenceToolbarTest", its actions named
// after the identifiers; the pages are "preferenceTab".

#include <QWidget>

#include <string_view>

#include "platform/core/value.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStackedWidget;
class QToolBar;

namespace ch {

class UserDefaults;

class ApplicationPreferencesWindow : public QWidget {
    Q_OBJECT

public:
    // The page identifiers, in the toolbar's order; an action's tag is its index.
    static constexpr std::string_view kPages[] = {"general",   "autosave",  "colors",
                                                  "graphs",    "importing", "software-update"};

    explicit ApplicationPreferencesWindow(UserDefaults& defaults, QWidget* parent = nullptr);

    // Selects the page of the index (the toolbar item's tag) and fits the
    // window's height to it, keeping its top edge.
    void showPreferencePage(int tag);
    int currentPage() const;
    // Shows every control as the defaults are now.
    void load();

signals:
    // The window was closed (its settings are worth writing to disk).
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeGeneralPage();
    QWidget* makeAutosavePage();
    QWidget* makeColoursPage();
    QWidget* makeGraphsPage();
    QWidget* makeImportingPage();
    QWidget* makeOnLinePage();
    void resizeWindowToTab();

    QCheckBox* flag(std::string_view key, std::string_view titleKey);
    QSpinBox* number(std::string_view key, int minimum, int maximum, std::string_view suffixKey = {});
    QDateEdit* date(std::string_view key);
    QLineEdit* address(std::string_view key);
    void chooseColour(std::string_view key);
    // Stores the value; false when refused (the controls then show the
    // stored values again).
    bool store(std::string_view key, const Value& value);
    void enableDependents();

    UserDefaults& mDefaults;
    QToolBar* mToolbar;
    QStackedWidget* mTabs;
    QLabel* mAddressRefused = nullptr;
    bool mLoading = false;
};

} // namespace ch
