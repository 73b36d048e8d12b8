#include "document/commands/GXCommandLogger.h"

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

std::string GXCommandLogger::entryText(int command, std::string_view parameters,
                                       const std::optional<std::string>& objectKey)
{
    std::string entry = "<LogEntry timeStamp=\"" + timeStamp() + "\">\r\n";
    entry += "\t<CommandNumber>" + std::to_string(command) + "</CommandNumber>\r\n";
    entry += "\t<Parameters>" + escaped(parameters) + "</Parameters>";
    if (objectKey) entry += "\r\n\t<Object>" + escaped(*objectKey) + "</Object>";
    entry += "\r\n</LogEntry>\r\n";
    return entry;
}

void GXCommandLogger::logCommand(int command, std::string_view parameters,
                                 const std::optional<std::string>& objectKey)
{
    logString(entryText(command, parameters, objectKey));
}

std::optional<std::string> GXCommandLogger::initialString() const
{
    std::string header = "<LogFile created=\"" + timeStamp() + "\"";
    if (!mFileStamp.empty()) header += " fileStamp=\"" + escaped(mFileStamp) + "\"";
    return header + ">\r\n";
}

} // namespace ch
