#pragma once
// GXCommandHistoryItem: one entry of a command journal, read back: the
// command number, the argument object's text form, the target's key, and
// whether the user excluded it from the replay.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "model/IdCounters.h"

namespace ch {

class CArgumentAncestor;

class GXCommandHistoryItem {
public:
    GXCommandHistoryItem() = default;
    GXCommandHistoryItem(std::uint8_t command, std::optional<std::string> parameters,
                         std::optional<std::string> object)
        : mCommand(command), mParameters(std::move(parameters)), mObject(std::move(object))
    {
    }

    std::uint8_t mCommand = 0;
    std::optional<std::string> mParameters;
    std::optional<std::string> mObject;
    // The books' id counters as the command was about to run; none in
    // journals that do not record them.
    std::optional<IdCounters> mIdCounters;
    // The name the target had as the command was about to run (trimmed);
    // none without a target and in journals that do not record it.
    std::optional<std::string> mObjectName;
    bool mExclude = false;

    // The argument object of the class named after "ArgumentClass = ", given
    // the whole text to read (even when it does not read it all); none without
    // parameters, without that entry, or for a name no class has.
    std::unique_ptr<CArgumentAncestor> deserializedArguments() const;
    // The short code of the roll-forward list ("AcnT+", "Delete", ...); the
    // decimal number for numbers without one.
    std::string commandDescription() const;
    // The name shown in the roll-forward list: the value after the first
    // "ObjectName", else "name", else "Name" in the parameter text (values
    // included); none when none occurs.
    std::optional<std::string> parameterName() const;
    // The name the entry is listed and replayed under: parameterName(), else
    // the name its target had (a budget's changes name no object in their
    // values); none when it has neither, and then it is not replayed.
    std::optional<std::string> listedName() const;

    // The short code of a command number.
    static std::string commandDescription(int command);

    // What the user reads for the change (the roll-forward sheet, question
    // and summary): the localized text "ROLLFORWARDCOMMAND<number>" of a
    // command that has a short code; the decimal number for the others.
    std::string commandText() const;
    static std::string commandText(int command);
};

} // namespace ch
