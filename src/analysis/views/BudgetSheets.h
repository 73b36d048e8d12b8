#pragma once
// The budget sheets. The page opens each with a context (the dialog
// dictionary: document, budget, line, month, cross-reference); OK checks the
// fields, raises the numbered error and stays open with the input, or stores
// the argument object in the context and ends with 1. Cancel ends with -1.
// Sheets are made once and filled anew at every opening.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"
#include "model/budget/BudgetTypes.h"
#include "platform/gui/sheet.h"

class QButtonGroup;
class QFormLayout;
class QSpinBox;

namespace ch {

class CBuDdItem;
class CBuDhItem;
class CBuDxItem;
class MyDocument;

// "DOCUMENT", "BUDGETHEADER", "BUDGETDETAIL", "BUDGETMONTH", "BUDGETXREF";
// the sheet puts what it built under "METHODPARAM".
struct BudgetSheetContext {
    MyDocument* document = nullptr;
    std::shared_ptr<CBuDhItem> header;
    std::shared_ptr<CBuDdItem> detail;
    int month = -1;
    std::shared_ptr<CBuDxItem> xref;
    std::shared_ptr<CArgumentAncestor> methodParam;
    // The account or category the line budgets: a new cross-reference or
    // transfer also starts from one that has no budget line yet.
    bool accountLine = false;
    std::optional<long> lineId;
};

class BudgetSheet : public Sheet {
    Q_OBJECT
public:
    explicit BudgetSheet(QWidget* parent = nullptr);
    virtual void initialize(BudgetSheetContext& context);
    // Raises the error and answers false, or fills the context and answers true.
    virtual bool checkContents() = 0;
    BudgetSheetContext* context() const { return mContext; }

public slots:
    void ok();

protected:
    QFormLayout* form() const { return mForm; }
    BudgetSheetContext* mContext = nullptr;

private:
    // False (told, the field focused) when an editable amount field holds
    // text that does not read as an amount, or an amount beyond kAmountLimit
    // either way.
    bool amountsReadable();

    QFormLayout* mForm = nullptr;
};

class CNewBudgetController : public BudgetSheet {
    Q_OBJECT
public:
    explicit CNewBudgetController(QWidget* parent = nullptr);
    void initialize(BudgetSheetContext& context) override;
    bool checkContents() override;

    QButtonGroup* budgetBaseMatrix = nullptr;
    QButtonGroup* budgetPeriodMatrix = nullptr;
    QLineEdit* baseMonthField = nullptr;
    QComboBox* previousBudgetPopup = nullptr;
    QLineEdit* budgetNameField = nullptr;
    QLineEdit* budgetCommentField = nullptr;

    BudgetBaseT mBudgetBaseT = 0;
    BudgetPeriodT mBudgetPeriodT = 0;
    DateT mBaseBudgetMonth = 0;
    std::optional<long> mBaseBudgetId;
    std::string mBudgetDescription;
    std::string mBudgetName;
};

class CModifyBudgetController : public BudgetSheet {
    Q_OBJECT
public:
    explicit CModifyBudgetController(QWidget* parent = nullptr);
    void initialize(BudgetSheetContext& context) override;
    bool checkContents() override;

    // Only name, comment and the check box can be changed; the other fields
    // show the budget.
    QLabel* idField = nullptr;
    QCheckBox* doNotUpdateCheck = nullptr;
    QLineEdit* periodFromField = nullptr;
    QLineEdit* periodToField = nullptr;
    QLineEdit* modifiedOnField = nullptr;
    QLineEdit* createdOnField = nullptr;
    QLineEdit* actualsUpdatedOnField = nullptr;
    QLineEdit* openingBudgetField = nullptr;
    QLineEdit* closingBudgetField = nullptr;
    QLineEdit* openingActualsField = nullptr;
    QLineEdit* closingActualsField = nullptr;
    QLineEdit* nameField = nullptr;
    QLineEdit* commentField = nullptr;
};

class CModifyBudgetDetailController : public BudgetSheet {
    Q_OBJECT
public:
    explicit CModifyBudgetDetailController(QWidget* parent = nullptr);
    void initialize(BudgetSheetContext& context) override;
    bool checkContents() override;

    QLabel* budgetMonthField = nullptr;
    QCheckBox* doNotUpdateCheck = nullptr;
    QComboBox* accountPopupField = nullptr;
    // Figures 0 to 11 in the order of the figures.
    std::array<QLineEdit*, 12> figureFields{};
    QLineEdit* commentField = nullptr;
    QLineEdit* budgetToField() const { return figureFields[budget_item::kBudgetIn]; }
    QLineEdit* budgetXToField() const { return figureFields[budget_item::kBudgetExtraIn]; }
    QLineEdit* budgetFromField() const { return figureFields[budget_item::kBudgetOut]; }
    QLineEdit* budgetXFromField() const { return figureFields[budget_item::kBudgetExtraOut]; }
};

// Modifies a cross-reference: its account and category are shown, not chosen.
class CBudgetXRefSheetController : public BudgetSheet {
    Q_OBJECT
public:
    explicit CBudgetXRefSheetController(QWidget* parent = nullptr);
    void initialize(BudgetSheetContext& context) override;
    bool checkContents() override;

    QLabel* budgetMonthField = nullptr;
    QCheckBox* doNotUpdateCheck = nullptr;
    QComboBox* accountPopupField = nullptr;
    QComboBox* reasonCodePopupField = nullptr;
    QLineEdit* budgetToField = nullptr;
    QLineEdit* budgetXToField = nullptr;
    QLineEdit* budgetFromField = nullptr;
    QLineEdit* budgetXFromField = nullptr;
    QLineEdit* actualToField = nullptr;
    QLineEdit* actualXToField = nullptr;
    QLineEdit* actualFromField = nullptr;
    QLineEdit* actualXFromField = nullptr;
    QLineEdit* commentField = nullptr;
    QCheckBox* copyXRefButton = nullptr;
    QSpinBox* periodFromField = nullptr;
    QSpinBox* periodToField = nullptr;

protected:
    virtual void initializeFieldsFromXRef();
    virtual std::shared_ptr<CArgumentAncestor> makeArguments(double from, double xFrom, double to, double xTo,
                                                             std::string comment, bool blocked, int month,
                                                             int first, int last);
};

// A new cross-reference of the line's account or category: the line's own
// pop-up is fixed, the other is chosen.
class CCreateBudgetXRefSheetController : public CBudgetXRefSheetController {
    Q_OBJECT
public:
    explicit CCreateBudgetXRefSheetController(QWidget* parent = nullptr);

protected:
    void initializeFieldsFromXRef() override;
    std::shared_ptr<CArgumentAncestor> makeArguments(double from, double xFrom, double to, double xTo,
                                                     std::string comment, bool blocked, int month, int first,
                                                     int last) override;
};

// A transfer of an amount from one account to another on a transfer category.
class CTransferBudgetXRefSheetController : public BudgetSheet {
    Q_OBJECT
public:
    explicit CTransferBudgetXRefSheetController(QWidget* parent = nullptr);
    void initialize(BudgetSheetContext& context) override;
    bool checkContents() override;

    QComboBox* accountPopupField = nullptr;
    QComboBox* toAccountPopupField = nullptr;
    QComboBox* reasonCodePopupField = nullptr;
    QLineEdit* budgetToField = nullptr;
};

// A pop-up's chosen id; none for the empty entry.
std::optional<long> chosenId(const QComboBox* popup);
// Selects the entry of the id (the empty entry for none).
void chooseId(QComboBox* popup, std::optional<long> id);

} // namespace ch
