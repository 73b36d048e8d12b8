#include "document/commands/GXCommandLogger.h"

#include <charconv>
#include <ctime>

#include "platform/core/clock.h"

namespace ch {

std::string GXCommandLogger::timeStamp()
{
    std::time_t now = static_cast<std::time_t>(nowSeconds());
    std::tm local{};
    localtime_r(&now, &local);
    char text[64] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
    return text;
}

std::string GXCommandLogger::escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string GXCommandLogger::idCountersText(const IdCounters& ids)
{
    return std::to_string(ids.mi_MaxId) + ' ' + std::to_string(ids.mi_TrnsNr) + ' ' + std::to_string(ids.mi_DebetNr) +
           ' ' + std::to_string(ids.mi_MxptNr) + ' ' + std::to_string(ids.mi_ExptNr);
}

std::optional<IdCounters> GXCommandLogger::idCountersFromText(std::string_view text)
{
    IdCounters ids;
    for (ObjectIdT* field : {&ids.mi_MaxId, &ids.mi_TrnsNr, &ids.mi_DebetNr, &ids.mi_MxptNr, &ids.mi_ExptNr}) {
        while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *field);
        if (error != std::errc() || end == text.data()) return std::nullopt;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    }
    if (!text.empty()) return std::nullopt;
    return ids;
}

std::string GXCommandLogger::entryText(int command, std::string_view parameters,
                                       const std::optional<std::string>& objectKey,
                                       const std::optional<IdCounters>& ids,
                                       const std::optional<std::string>& objectName)
{
    std::string entry = "<LogEntry timeStamp=\"" + timeStamp() + "\">\r\n";
    entry += "\t<CommandNumber>" + std::to_string(command) + "</CommandNumber>\r\n";
    entry += "\t<Parameters>" + escaped(parameters) + "</Parameters>";
    if (objectKey) entry += "\r\n\t<Object>" + escaped(*objectKey) + "</Object>";
    if (objectKey && objectName) entry += "\r\n\t<ObjectName>" + escaped(*objectName) + "</ObjectName>";
    if (ids) entry += "\r\n\t<IdCounters>" + idCountersText(*ids) + "</IdCounters>";
    entry += "\r\n</LogEntry>\r\n";
    return entry;
}

void GXCommandLogger::logCommand(int command, std::string_view parameters,
                                 const std::optional<std::string>& objectKey, const std::optional<IdCounters>& ids,
                                 const std::optional<std::string>& objectName)
{
    logString(entryText(command, parameters, objectKey, ids, objectName));
}

std::optional<std::string> GXCommandLogger::initialString() const
{
    std::string header = "<LogFile created=\"" + timeStamp() + "\"";
    if (!mFileStamp.empty()) header += " fileStamp=\"" + escaped(mFileStamp) + "\"";
    return header + ">\r\n";
}

} // namespace ch
