#include "ui/sheets/SheetCallbacks.h"

#include "ui/sheets/SheetDocument.h"

namespace ch::sheet_callbacks {

namespace {

void callWithKey(const SheetParameters& context, SheetDocument* document, std::optional<long> key)
{
    const auto selector = context.text(sheet_key::kCallbackSelectorName);
    if (!selector)
        return;
    std::shared_ptr<Dictionary> arguments = context.dictionary(sheet_key::kCallbackArguments);
    if (!arguments)
        arguments = std::make_shared<Dictionary>();
    if (key)
        arguments->set(std::string(sheet_key::kNewKey), Value(*key));
    CallbackReceiver* receiver = context.receiver();
    if (!receiver)
        receiver = document;
    if (receiver)
        receiver->performCallback(*selector, arguments);
}

} // namespace

void afterAccount(const SheetParameters& context, SheetDocument* document, std::optional<long> newId, int action)
{
    callWithKey(context, document, action == kActionModify ? std::nullopt : newId);
}

void afterCategory(const SheetParameters& context, SheetDocument* document, long id)
{
    callWithKey(context, document, id);
}

void toDocument(const SheetParameters& context, SheetDocument* document)
{
    const auto selector = context.text(sheet_key::kCallbackSelectorName);
    if (!selector || !document)
        return;
    document->performCallback(*selector, context.dictionary(sheet_key::kCallbackArguments));
}

} // namespace ch::sheet_callbacks
