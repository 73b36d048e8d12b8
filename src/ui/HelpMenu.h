#pragma once
// The Help menu's entry that opens the help book at its contents page; the
// application's menu bar and every document window's add the same one.

class QAction;
class QMenu;

namespace ch {

// Adds "Countinghouse Help" (F1 where the desktop uses it) to `help`.
QAction* addHelpBookAction(QMenu* help);

} // namespace ch
