#pragma once
// What a table cell shows for a transaction's date, amount and status:
// "DateTTransformer" the date as short text, "AmountTTransformer" the
// amount as text (empty for the two marker amounts of unlinked payments),
// "StatusTTransformer" a check mark for checked (9), a flag for flagged
// (7), nothing otherwise.

#include <QIcon>
#include <QString>

#include <optional>

namespace ch {

inline constexpr double kNoLinkedTransactionAmount = 999099912.12;
inline constexpr double kLinkedCreditNoteAmount = 999099913.13;

QString dateTTransformer(long date);
QString amountTTransformer(std::optional<double> amount);
// A null icon for every status but 7 and 9 (only the low 8 bits count).
QIcon statusTTransformer(int status);

} // namespace ch
