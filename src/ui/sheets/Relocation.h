#pragma once
// Moving an object of the chart of accounts below another - an account to
// another account type, a category to another group, a type or group into
// another - as a drop does it: through the relocation command, so that the
// move is journaled and marks the books edited.

namespace ch {

class CNonVisual;
class CommandSink;

// Whether the receiver took the dropped object.
bool relocateObject(CommandSink& commands, const CNonVisual& dropped, const CNonVisual& receiver);

} // namespace ch
