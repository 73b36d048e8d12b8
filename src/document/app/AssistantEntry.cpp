#include "document/app/AssistantEntry.h"

#include "platform/core/value.h"

namespace ch {

namespace {

std::string text(const Value& v)
{
    const std::string* s = v.asString();
    return s ? *s : std::string();
}

} // namespace

AssistantEntry AssistantEntry::fromValue(const Value& entry)
{
    AssistantEntry e;
    e.objectName = text(entry["objectName"]);
    e.parentName = text(entry["parentName"]);
    e.symbol = text(entry["symbol"]);
    e.initialBalance = entry["InitialBalance"].toDouble();
    e.isDefault = entry["isDefault"].toBool();
    e.isSelected = entry["isSelected"].toBool();
    return e;
}

AssistantEntry AssistantEntry::takenOver(const AssistantEntry& proposed)
{
    AssistantEntry e = proposed;
    e.isSelected = false;
    e.isFromDictionary = true;
    return e;
}

AssistantEntry AssistantEntry::returned() const
{
    AssistantEntry e = *this;
    e.isSelected = false;
    e.isFromDictionary = false;
    return e;
}

} // namespace ch
