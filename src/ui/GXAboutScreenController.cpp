#include "ui/GXAboutScreenController.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "document/app/ProductInfo.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/localized_text.h"
#include "ui/GXURLField.h"

namespace ch {

namespace {

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

GXAboutScreenController::GXAboutScreenController(QWidget* parent) : QDialog(parent)
{
    setObjectName("About");
    setWindowTitle(localizedText("ABOUTTITLE"));

    auto* name = new QLabel(QStringLiteral("Countinghouse"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);

    auto* version = new QLabel(
        QString::fromStdString(formatMessage(localized("VERSION"), {std::string(kRunningVersion)})), this);
    version->setObjectName("version");
    version->setAlignment(Qt::AlignCenter);

    auto* credits = new QLabel(localizedText("ABOUTCREDITS"), this);
    credits->setObjectName("credits");
    credits->setWordWrap(true);
    credits->setAlignment(Qt::AlignCenter);

    auto* site = new GXURLField(qs(kHomePage), this);
    site->setObjectName("siteLink");
    site->setAlignment(Qt::AlignCenter);

    auto* support = new QPushButton(localizedText("SUPPORTLINK"), this);
    support->setObjectName("doSupportLink");
    connect(support, &QPushButton::clicked, this, &GXAboutScreenController::doSupportLink);
    auto* sales = new QPushButton(localizedText("SALESLINK"), this);
    sales->setObjectName("doSalesLink");
    connect(sales, &QPushButton::clicked, this, &GXAboutScreenController::doSalesLink);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(support);
    buttons->addWidget(sales);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(credits);
    layout->addWidget(site);
    layout->addLayout(buttons);
}

void GXAboutScreenController::doSupportLink()
{
    QDesktopServices::openUrl(QUrl(qs(kSupportMail)));
}

void GXAboutScreenController::doSalesLink()
{
    QDesktopServices::openUrl(QUrl(qs(kSalesMail)));
}

} // namespace ch
