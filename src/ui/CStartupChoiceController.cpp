#include "ui/CStartupChoiceController.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "document/app/GXApplicationDelegate.h"
#include "document/app/ProductInfo.h"
#include "platform/gui/localized_text.h"

namespace ch {

namespace {

void openAddress(std::string_view address)
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(address.data(), qsizetype(address.size()))));
}

} // namespace

CStartupChoiceController::CStartupChoiceController(LinksReader readLinks, QWidget* parent)
    : Sheet(parent), mReadLinks(std::move(readLinks))
{
    setObjectName("welcome");
    setWindowTitle(localizedText("WELCOMETITLE"));

    auto* heading = new QLabel(localizedText("WELCOMETITLE"), this);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    heading->setFont(big);
    auto* intro = new QLabel(localizedText("WELCOMETEXT"), this);
    intro->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(8);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addSpacing(8);

    auto add = [&](const char* name, const char* key, void (CStartupChoiceController::*action)()) {
        auto* button = new QPushButton(localizedText(key), this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        layout->addWidget(button);
        return button;
    };
    add("newDocumentClicked", "NEWDOCUMENTWITHASSISTANT", &CStartupChoiceController::newDocumentClicked)
        ->setDefault(true);
    add("newDocumentWithoutAssistantClicked", "NEWDOCUMENTWITHOUTASSISTANT",
        &CStartupChoiceController::newDocumentWithoutAssistantClicked);
    add("selectExistingDocument", "OPENEXISTINGDOCUMENT", &CStartupChoiceController::selectExistingDocument);
    mLastDocument = add("lastOpenedDocument", "OPENLASTDOCUMENT", &CStartupChoiceController::lastOpenedDocument);

    auto* links = new QHBoxLayout;
    for (auto [name, key, action] :
         {std::tuple{"videoTutorials", "VIDEOTUTORIALS", &CStartupChoiceController::videoTutorials},
          std::tuple{"visitCommunityClicked", "VISITCOMMUNITY", &CStartupChoiceController::visitCommunityClicked}}) {
        auto* button = new QPushButton(localizedText(key), this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setFlat(true);
        connect(button, &QPushButton::clicked, this, action);
        links->addWidget(button);
    }
    layout->addSpacing(8);
    layout->addLayout(links);
    setMinimumWidth(380);
}

void CStartupChoiceController::setLastDocumentAvailable(bool available)
{
    mLastDocument->setEnabled(available);
}

void CStartupChoiceController::choose(int code)
{
    endSheet(code);
}

void CStartupChoiceController::newDocumentClicked()
{
    choose(int(StartupChoice::NewDocument));
}

void CStartupChoiceController::openRecentClicked()
{
    choose(int(StartupChoice::OpenRecent));
}

void CStartupChoiceController::newDocumentWithoutAssistantClicked()
{
    choose(int(StartupChoice::NewDocumentWithoutAssistant));
}

void CStartupChoiceController::lastOpenedDocument()
{
    choose(int(StartupChoice::LastOpenedDocument));
}

void CStartupChoiceController::selectExistingDocument()
{
    choose(int(StartupChoice::SelectExistingDocument));
}

void CStartupChoiceController::visitCommunityClicked()
{
    openAddress(kCommunityPage);
}

void CStartupChoiceController::videoTutorials()
{
    auto open = [](const Value& links) { openAddress(videoTutorialLink(links)); };
    if (mReadLinks)
        mReadLinks(open);
    else
        open(Value());
}

} // namespace ch
