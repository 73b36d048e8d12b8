#pragma once
// Where sheets, drops and the quick entry send the numbered commands they
// end in: the command number, the bridge item the command acts on (none for
// the create commands) and the argument object (not owned; it lives for the
// call). The answer is the command's result: the new object's id for most
// create commands, -1 for nothing done or no result. The document implements
// it with its command executor, so that every change is journaled.

#include <memory>

namespace ch {

class CArgumentAncestor;
class CNonVisualDataItem;

// The command numbers the sheets send.
namespace command {
inline constexpr int kNewCurrency = 6;
inline constexpr int kModifyCurrency = 7;
inline constexpr int kNewShare = 8;
inline constexpr int kModifyShare = 9;
inline constexpr int kModifyAccountType = 10;
inline constexpr int kNewAccountType = 11;
inline constexpr int kChangeRate = 18;
inline constexpr int kModifyAccount = 12;
inline constexpr int kNewAccount = 13;
inline constexpr int kModifyCategory = 14;
inline constexpr int kNewCategory = 15;
inline constexpr int kModifyCategoryGroup = 16;
inline constexpr int kNewCategoryGroup = 17;
inline constexpr int kNewTransaction = 23;
inline constexpr int kModifyTransaction = 24;
inline constexpr int kNewRecurringTransaction = 25;
inline constexpr int kNewOwner = 26;
inline constexpr int kModifyOwner = 27;
inline constexpr int kDeleteObject = 28;
inline constexpr int kRelocate = 30;
} // namespace command

class CommandSink {
public:
    virtual ~CommandSink() = default;
    virtual long executeCommand(int command, const std::shared_ptr<CNonVisualDataItem>& target,
                                const CArgumentAncestor* arguments) = 0;
};

} // namespace ch
