#pragma once
// The images the window refers to by name (side-bar nodes, toolbar items,
// folder icons "Image<n>.tiff"), drawn by the program itself: a rounded,
// shaded tile in the kind's colour with a white symbol; and the credit-card
// kinds ("generic", "amex", "visa", "diners", "master", "delta", "discover",
// "jcb", "solo", "switch"), drawn as cards. An unknown name gives a null
// icon.
//
// IconLibrary is a document's cache of them ("theIcons"): an image is made
// on first request and kept; a name without an image is written to the
// developer log each time it is asked for.

#include <QIcon>

#include <map>
#include <string>
#include <string_view>

namespace ch {

// The image of the name, made afresh; null when the name has none.
QIcon makeNamedIcon(std::string_view name);

class IconLibrary {
public:
    // The cached image of the name, or a null icon (logged).
    QIcon icon(const std::string& name);
    std::size_t cachedCount() const { return mIcons.size(); }

private:
    std::map<std::string, QIcon, std::less<>> mIcons;
};

} // namespace ch
