#include "ui/sheets/Relocation.h"

#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "model/CNonVisual.h"
#include "ui/sheets/CommandSink.h"

namespace ch {

bool relocateObject(CommandSink& commands, const CNonVisual& dropped, const CNonVisual& receiver)
{
    arguments::CDragAndDropRelocationArgument argument;
    argument.idDroppedObject = dropped.Get_Id();
    argument.idReceivingObject = receiver.Get_Id();
    argument.droppedObjectType = dropped.Get_ObjectType();
    argument.receivingObjectType = receiver.Get_ObjectType();
    return commands.executeCommand(command::kRelocate, nullptr, &argument) > 0;
}

} // namespace ch
