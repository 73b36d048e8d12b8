#pragma once
// The application's icon, from the pictures in the resources' "icons"
// folder, for the windows and the desktop's task switcher.

#include <QIcon>

namespace ch {

// Empty when the pictures cannot be found.
QIcon applicationIcon();

} // namespace ch
