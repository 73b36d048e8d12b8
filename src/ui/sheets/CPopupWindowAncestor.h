#pragma once
// The base of every entry and edit sheet. The opener hands over a parameter
// dictionary (initialize, called again after the sheet began, so it must
// bear repeated calls); OK lets every entry field end editing, then asks
// checkContents (which raises a numbered error and answers false to keep the
// sheet open with the user's input) and ends with 1; Cancel ends with -1
// without checking. The end call-back dialogClosed receives the code and the
// dictionary of that opening and runs the sheet's command. A sheet that ends
// drops whatever its fields still edit (OK has taken it by then), so that
// the next opening starts clean.
//
// A Return that only closed a pop-up's list (less than 0.1 seconds earlier)
// does not confirm the sheet. Escape cancels as the Cancel button does, but
// when the person changed a value since the sheet opened it asks first
// (question 375, No by default). The help button opens the anchor its tag
// selects.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include <QStringList>

#include "platform/gui/sheet.h"
#include "ui/sheets/SheetParameters.h"

class QHBoxLayout;
class QPushButton;

namespace ch {

class CPopupList;

class CPopupWindowAncestor : public Sheet {
    Q_OBJECT

public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit CPopupWindowAncestor(QWidget* parent = nullptr);

    // Keeps the dictionary; subclasses read their keys after calling this.
    virtual void initialize(const SheetParameters& parameters);
    const SheetParameters& theDictionary() const { return mDictionary; }

    // initialize, begin over the window (modal for it; for the application
    // when null), initialize again.
    void openSheet(QWidget* window, const SheetParameters& parameters);

    // The validation hook: the base accepts nothing.
    virtual bool checkContents() { return false; }
    // The end call-back: code > 0 is confirmed.
    virtual void dialogClosed(int returnCode, const SheetParameters& context);

    // The anchor of a help button's tag.
    static std::string helpAnchorForTag(int tag);
    virtual std::string helpAnchor() const { return "startPage"; }

    // Whether a field holds another value than when the sheet opened.
    bool hasChangedValues() const;

    // For tests: the clock of the pop-up guard.
    void setClock(Clock clock) { mClock = std::move(clock); }

    QPushButton* okButton() const { return OKButton; }

    void done(int returnCode) override;

public slots:
    void okClicked();
    void cancelClicked();
    void showHelp();
    // A pop-up of the sheet closed its list.
    void comboBoxWillDismiss();

protected:
    // Every entry field of the sheet ends editing; false when one refused.
    bool endEditingOfFields();
    // Every entry field drops what it still edits.
    void discardEditingOfFields();
    // The OK, Cancel and help row; the help button's tag selects its anchor.
    QHBoxLayout* makeButtonRow(int helpTag = 0);
    // Watches the pop-up's list (for the Return guard).
    void watchPopup(CPopupList* popup);
    // Return in the pop-up does not confirm the sheet.
    void swallowReturnIn(QWidget* popup);

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

private:
    SheetParameters mDictionary;
    std::optional<std::chrono::steady_clock::time_point> dateComboboxSelectionChanged;
    Clock mClock;
    bool mHandlingKey = false;
    // The fields' values as the sheet opened; none for a sheet not opened
    // through openSheet.
    std::optional<QStringList> mOpeningValues;
    QStringList fieldValues() const;
};

} // namespace ch
