#include "ui/MainTabPlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"

namespace ch {

QWidget* makeMainTabPlaceholder(std::string_view titleKey, std::string_view iconName)
{
    auto* page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette base = page->palette();
    base.setColor(QPalette::Window, base.color(QPalette::Base));
    page->setPalette(base);
    auto* heading = new PageHeading(page);
    heading->setIcon(makeNamedIcon(iconName));
    heading->setTitle(localizedText(titleKey));
    auto* note = new QLabel(localizedText("PAGENOTYETAVAILABLE"), page);
    note->setObjectName("placeholderNote");
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    QPalette quiet = note->palette();
    quiet.setColor(QPalette::WindowText, QColor(0x8A, 0x90, 0x99));
    note->setPalette(quiet);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
    layout->addStretch(1);
    layout->addWidget(note);
    layout->addStretch(2);
    return page;
}

} // namespace ch
