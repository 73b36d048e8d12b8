#pragma once
// Shared pieces of the report tests: a fixed environment (today, amounts with
// 2 decimals and "." / "," separators, the application's texts, alerts), a
// measurer whose sizes follow from the text alone, a canvas that records what
// is drawn, a set of books with a chart of accounts, categories and a year of
// bookings, and a readable dump of a built report.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportCanvas.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"
#include "../test_environment.h"

namespace ch::test {

// Today is fixed (15 March 2024 unless given), the texts are the
// application's, amounts have 2 decimals and dates read dd.MM.yyyy.
class ReportEnvironment : public TestEnvironment {
public:
    explicit ReportEnvironment(CalendarDate today = {2024, 3, 15}) : TestEnvironment(today)
    {
        defaults().set("GXNumberOfDecimals", std::int64_t{2});
        strings().loadFile(LocalizedStrings::defaultPath());
        CErrorManager::SetMode(false);
    }
};

// Every character is half the font size wide, every line 1.25 font sizes high.
class FixedMeasurer : public ReportTextMeasurer {
public:
    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override
    {
        std::size_t longest = 0, current = 0, lines = 1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') continue;
            if (text[i] == '\n') {
                ++lines;
                current = 0;
                continue;
            }
            longest = std::max(longest, ++current);
        }
        const float size = attributes.font.size;
        return {static_cast<float>(longest) * size * 0.5f, static_cast<float>(lines) * size * 1.25f};
    }
};

// Records every drawing call as a line of text.
class RecordingCanvas : public ReportCanvas {
public:
    struct Text {
        std::string text;
        ReportRect rect;
        TextAttributes attributes;
    };

    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override
    {
        return mMeasurer.sizeOfText(text, attributes);
    }
    void fillRect(const ReportRect& rect, const Colour&) override { ops.push_back("fill " + describe(rect)); }
    void strokeRect(const ReportRect& rect, const Colour&) override { ops.push_back("outline " + describe(rect)); }
    void drawLine(ReportPoint from, ReportPoint to, const Colour&) override
    {
        ops.push_back("line " + number(from.x) + "," + number(from.y) + " " + number(to.x) + "," + number(to.y));
    }
    void drawText(std::string_view text, const ReportRect& rect, const TextAttributes& attributes) override
    {
        texts.push_back({std::string(text), rect, attributes});
        ops.push_back("text '" + std::string(text) + "' " + describe(rect));
    }

    static std::string number(float value)
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
        return buffer;
    }
    static std::string describe(const ReportRect& r)
    {
        return number(r.x) + "," + number(r.y) + " " + number(r.width) + "x" + number(r.height);
    }

    std::vector<std::string> ops;
    std::vector<Text> texts;

private:
    FixedMeasurer mMeasurer;
};

// The name a style is registered under ("" for none or an unknown one).
inline std::string styleName(const CPrintStyle* style)
{
    static const std::vector<std::string_view> names{
        GXCStyleReportHeader,       GXCStyleLevel1Header,      GXCStyleLevel2Header,
        GXCStyleLevel3Header,       GXCStyleLevel1HeaderTitle, GXCStyleLevel2HeaderTitle,
        GXCStyleLevel3HeaderTitle,  GXCStyleDetail,            GXCStyleDetailTitle,
        GXCStyleLevel1Footer,       GXCStyleLevel2Footer,      GXCStyleLevel3Footer,
        GXCStyleLevel1FooterTitle,  GXCStyleLevel2FooterTitle, GXCStyleLevel3FooterTitle,
        GXCStyleGrandTotalTitle,    GXCStyleSectionHeader,     GXCStyleSectionFooter,
        GXCStyleSectionHeaderTitle, GXCStyleSectionFooterTitle, GXCStyleGrandTotal};
    for (std::string_view name : names)
        if (CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(name) == style) return std::string(name);
    return {};
}

// One report line as a test reads it.
struct DumpedLine {
    std::string style;                 // the line's style; "break" for a page break
    int level = 1;                     // the title cell's level
    std::string title;                 // the first cell
    std::vector<std::string> values;   // the other cells
};

inline std::vector<DumpedLine> dump(const CReportContents& contents)
{
    std::vector<DumpedLine> lines;
    for (std::size_t i = 0; i < contents.count(); ++i) {
        const CParagraph& paragraph = contents.objectAtIndex(i);
        DumpedLine line;
        line.style = paragraph.isPageBreak() ? "break" : styleName(paragraph.styleToUse());
        for (std::size_t c = 0; c < paragraph.countOfReportColumns(); ++c) {
            const CReportColumn& column = paragraph.reportColumnAtIndex(c);
            if (c == 0) {
                line.title = column.mValue();
                line.level = column.level();
            } else {
                line.values.push_back(column.mValue());
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// The lines of the style whose title is the text.
inline std::vector<DumpedLine> linesTitled(const CReportContents& contents, const std::string& title,
                                           const std::string& style = {})
{
    std::vector<DumpedLine> found;
    for (DumpedLine& line : dump(contents))
        if (line.title == title && (style.empty() || line.style == style)) found.push_back(std::move(line));
    return found;
}

// An amount text of the reports ("1,234.50", "-3.00") read back.
inline double amountOf(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (c != ',') digits += c;
    return std::stod(digits);
}

// Books for the report tests: the default books (EUR) and, below them, a
// chart of nested account types of every master type, categories in nested
// groups, and about a year of bookings up to the day before today (none
// when asked so).
class ReportBooks {
public:
    explicit ReportBooks(bool withBookings = true)
    {
        root.SetDefaults("EUR");
        // Types: the sections list their top-level types in reverse order.
        banks = type("Banks", 1, 0);
        current = type("Current Accounts", 1, banks->Get_Id());
        savings = type("Savings", 4, 0);
        empty = type("Empty Folder", 1, 0);
        loans = type("Loans", 5, 0);
        vehicles = type("Vehicles", 6, 0);
        shops = type("Shops", 3, 0);
        employers = type("Employers", 3, 0);

        checking = account("Current Account", current);
        joint = account("Joint Account", current);
        savingsBook = account("Savings Book", savings);
        fund = account("Millionaire Fund", savings);
        mortgage = account("Mortgage", loans);
        car = account("Car", vehicles);
        supermarket = account("Supermarket", shops);
        employer = account("Employer", employers);

        household = group("Household", 1, -1);
        food = group("Food", 1, household->Get_Id());
        extraIncome = group("Extra Income", 0, -1);
        groceries = category("Groceries", food);
        restaurants = category("Restaurants", food);
        rent = category("Rent", household);
        salary = category("Salary", root.GetMasterExpenseTypeForId(0));
        bonus = category("Bonus", extraIncome);

        if (withBookings) AddBookings();
    }

    CAccType* type(const char* name, long masterType, ObjectIdT parent)
    {
        return root.InsertAccountType(-1, name, std::string_view(name), nullptr, std::nullopt, masterType, parent);
    }
    CAccount* account(const char* name, CAccType* accountType)
    {
        return root.InsertAccount(-1, name, std::string_view(name), nullptr, std::nullopt, accountType->Get_Id(), 1,
                                  accountType);
    }
    CMasterExpenseType* group(const char* name, MasterExpenseTypeT kind, ObjectIdT parent)
    {
        return root.InsertMasterExpenseType(-1, name, std::string_view(name), nullptr, std::nullopt, kind, parent);
    }
    CExpenseType* category(const char* name, CMasterExpenseType* inGroup)
    {
        return root.InsertExpenseType(-1, name, std::string_view(name), nullptr, std::nullopt, inGroup->Get_Id(),
                                      std::nullopt, inGroup, 0.0);
    }

    // A posted booking of the amount from one account to another, explained
    // by the category (none: a plain transfer of two lines).
    CTransaction* book(DateT date, CAccount* from, CAccount* to, double amount, CExpenseType* why)
    {
        auto* t = new CTransaction(-1, &root, false, transaction_type::kOther, false);
        t->Put_mDate(date);
        t->Put_Name("Booking");
        t->Put_mCurrencyId(1, nullptr);
        t->Set_Debit_Account(t->Add_Debit(-1, true, amount), from->Get_Id());
        t->Set_Credit_Account(t->Add_Credit(-1, true, amount), to->Get_Id());
        if (why) t->Set_ExpenseType_Account(t->Add_ExpenseType(-1, true, amount), why->Get_Id());
        t->Put_mTotalAmount(amount);
        EXPECT_TRUE(t->Validate());
        root.mTransactionList->AppendObject(t);
        return t;
    }

    // Every third day from 1 April 2023 to 14 March 2024, a booking of one of
    // seven kinds with amounts of odd cents; and one large deposit.
    void AddBookings()
    {
        DateT date = 20230401;
        unsigned n = 0;
        while (date < 20240315) {
            const double amount = 10.0 + static_cast<double>((n * 7919u) % 90000u) / 100.0;
            switch (n % 7) {
            case 0: book(date, checking, supermarket, amount, groceries); break;
            case 1: book(date, joint, supermarket, amount, restaurants); break;
            case 2: book(date, employer, checking, amount * 8.0, salary); break;
            case 3: book(date, checking, savingsBook, amount, nullptr); break;
            case 4: book(date, checking, supermarket, amount, rent); break;
            case 5: book(date, checking, mortgage, amount, nullptr); break;
            default: book(date, checking, car, std::round(amount * 50.0) / 100.0, root.GetExpenseTypeForID(3)); break;
            }
            ++n;
            date = CDate::AddDaysTo(date, 3);
        }
        book(20231220, employer, fund, 1234567.89, bonus);
        root.mTransactionList->SetNotSorted();
        root.mTransactionList->Sort();
    }

    // The sums of the booking lines, independent of the builders.
    // An account's balance: its debit lines minus its credit lines, dated
    // up to `end` (from `start` on when given), turned round for a property
    // account.
    double accountSum(const CAccount* target, std::optional<DateT> start, DateT end) const
    {
        double sum = 0.0;
        forEachLine([&](const CDebit& line, FourCharCode kind, DateT date) {
            if (line.Get_mAccountId() != target->Get_Id() || date > end || (start && date < *start)) return;
            if (kind == fourCC("DebT")) sum += line.Get_mLocalAmount();
            if (kind == fourCC("CreT")) sum -= line.Get_mLocalAmount();
        });
        return target->thisIsAPropretyAccount() ? -sum : sum;
    }
    // A category's total of its lines dated within start..end.
    double categorySum(const CExpenseType* target, DateT start, DateT end) const
    {
        double sum = 0.0;
        forEachLine([&](const CDebit& line, FourCharCode kind, DateT date) {
            if (kind == fourCC("ExtD") && line.Get_mAccountId() == target->Get_Id() && date >= start && date <= end)
                sum += line.Get_mLocalAmount();
        });
        return sum;
    }

    template <class Visit>
    void forEachLine(Visit visit) const
    {
        const CNamedListArray* list = root.mTransactionList.get();
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            const auto* t = static_cast<const CTransaction*>(list->ObjectAt(i));
            for (const auto& [lines, kind] : {std::pair{t->GetDebitList(), fourCC("DebT")},
                                              std::pair{t->GetCreditList(), fourCC("CreT")},
                                              std::pair{t->GetExpenseTypeList(), fourCC("ExtD")}})
                for (ArrayIndexT k = 1; k <= static_cast<ArrayIndexT>(lines->GetCount()); ++k)
                    visit(*static_cast<const CDebit*>(lines->ObjectAt(k)), kind, t->Get_mDate());
        }
    }

    CDocAccounting root;
    CAccType *banks, *current, *savings, *empty, *loans, *vehicles, *shops, *employers;
    CAccount *checking, *joint, *savingsBook, *fund, *mortgage, *car, *supermarket, *employer;
    CMasterExpenseType *household, *food, *extraIncome;
    CExpenseType *groceries, *restaurants, *rent, *salary, *bonus;
};

} // namespace ch::test
