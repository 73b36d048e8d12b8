#pragma once
// What a main tab shows until the window sets its page: the heading of the
// page it stands for and a plain note that the page is not there.

#include <QWidget>

#include <string_view>

namespace ch {

QWidget* makeMainTabPlaceholder(std::string_view titleKey, std::string_view iconName);

} // namespace ch
