#pragma once
// Drag formats: a dragged model object carries its object key (type code and
// decimal id) under this format, and its name as plain text.

#include <QString>

namespace ch {

inline const QString kNonvisualPboardType = QStringLiteral("CNonvisualPboardType");

} // namespace ch
