#pragma once
// The new-document assistant's pictures, painted rather than shipped so that
// they stay sharp at any scale: the page icons by their image names
// ("currencies", "acntProperty.tiff", ...; the application's icon for an
// unknown or empty name) and the stage dots.

#include <string>

#include <QPixmap>

namespace ch {

QPixmap assistantPageIcon(const std::string& name, int size);

enum class StageDot {
    Ahead,    // not reached yet: a grey ring
    Reached,  // the blue dot
    Current,  // the blue dot with a ring around it
};
QPixmap assistantStageDot(StageDot dot, int size);

} // namespace ch
