#pragma once
// What a main tab shows until its page is built: the heading of the page it
// stands for and a plain note that it is not there yet.

#include <QWidget>

#include <string_view>

namespace ch {

QWidget* makeMainTabPlaceholder(std::string_view titleKey, std::string_view iconName);

} // namespace ch
