#include "document/commands/GXCommandHistoryItem.h"

#include <array>
#include <string_view>

#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CArgumentAncestor.h"
#include "platform/core/localized_strings.h"

namespace ch {
namespace {

constexpr std::string_view kArgumentClassMarker = "ArgumentClass = ";

} // namespace

std::unique_ptr<CArgumentAncestor> GXCommandHistoryItem::deserializedArguments() const
{
    if (!mParameters || mParameters->empty()) return nullptr;
    const std::string& text = *mParameters;
    std::size_t marker = text.find(kArgumentClassMarker);
    if (marker == std::string::npos) return nullptr;
    std::size_t start = marker + kArgumentClassMarker.size();
    std::size_t end = text.find(';', start);
    std::string className = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::unique_ptr<CArgumentAncestor> arguments = ArgumentClassRegistry::shared().make(className);
    if (arguments) arguments->recoverFromString(text);
    return arguments;
}

std::string GXCommandHistoryItem::commandDescription() const
{
    return commandDescription(mCommand);
}

std::string GXCommandHistoryItem::commandDescription(int command)
{
    // "\u25B3" (a white up-pointing triangle) marks a change.
    static const std::array<std::string_view, 60> kCodes = {
        "BudD\u25B3", "BudX\u25B3", "BudX+", "BudX-", "BudXT", "BudH\u25B3", "CurR+",
        "CurR/ShaR\u25B3", "ShaR+", "CurR/ShaR\u25B3", "ActT\u25B3", "AccT+", "AcnT\u25B3", "AcnT+",
        "Catr\u25B3", "Catr+", "CatG\u25B3", "CatG+", "Rate\u25B3", "ShrP\u25B3", "BuyS", "SellS",
        "DiviD", "TrnS+", "TrnS\u25B3", "RcrT+", "AcoW+", "AcoW\u25B3", "Delete", "LinkT", "Reloc",
        "Import", "Save", "VATR+", "VATR\u25B3", "", "", "Delete", "Invoice+", "Invoice\u25B3", "",
        "Invoice+", "Invoice\u25B3", "", "Payment+", "Split", "Payment+", "", "", "",
        "BudH+", "LinkC", "LinkP", "VATPay", "UnlinkP", "UnlinkI", "Credit+", "Status", "Card", "Setting"};
    if (command >= 0 && command < static_cast<int>(kCodes.size()) && !kCodes[command].empty())
        return std::string(kCodes[command]);
    return std::to_string(command);
}

std::string GXCommandHistoryItem::commandText() const
{
    return commandText(mCommand);
}

std::string GXCommandHistoryItem::commandText(int command)
{
    const std::string code = commandDescription(command);
    if (code == std::to_string(command)) return code;
    return localized("ROLLFORWARDCOMMAND" + std::to_string(command));
}

std::optional<std::string> GXCommandHistoryItem::parameterName() const
{
    if (!mParameters) return std::nullopt;
    const std::string& text = *mParameters;
    std::size_t found = std::string::npos;
    std::size_t skip = 0;
    for (std::string_view word : {std::string_view("ObjectName"), std::string_view("name"), std::string_view("Name")}) {
        found = text.find(word);
        if (found != std::string::npos) {
            // The word and " = ".
            skip = word.size() + 3;
            break;
        }
    }
    if (found == std::string::npos) return std::nullopt;
    std::size_t start = found + skip;
    if (start >= text.size()) return std::string();
    if (text[start] == '"') {
        std::size_t close = text.find('"', start + 1);
        return text.substr(start + 1, close == std::string::npos ? std::string::npos : close - start - 1);
    }
    std::size_t end = text.find(';', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::optional<std::string> GXCommandHistoryItem::listedName() const
{
    if (std::optional<std::string> name = parameterName()) return name;
    return mObjectName;
}

} // namespace ch
