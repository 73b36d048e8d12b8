#include "ui/PageHeading.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/GXBorderedView.h"
#include "ui/GXGradient.h"
#include "ui/GXGradientPainting.h"

namespace ch {

PageHeading::PageHeading(QWidget* parent)
    : QWidget(parent), mIcon(new QLabel(this)), mTitle(new QLabel(this)), mSubtitle(new QLabel(this))
{
    setObjectName("pageHeading");
    mIcon->setFixedSize(40, 40);
    setMinimumHeight(64);
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    mTitle->setFont(titleFont);
    mTitle->setObjectName("pageTitle");
    mSubtitle->setObjectName("pageSubtitle");
    QPalette quiet = mSubtitle->palette();
    quiet.setColor(QPalette::WindowText, QColor(0x6B, 0x72, 0x80));
    mSubtitle->setPalette(quiet);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch(1);
    texts->addWidget(mTitle);
    texts->addWidget(mSubtitle);
    texts->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(18, 12, 18, 12);
    row->setSpacing(12);
    row->addWidget(mIcon, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
}

void PageHeading::setIcon(const QIcon& icon)
{
    mIcon->setPixmap(icon.pixmap(40, 40));
    mIcon->setVisible(!icon.isNull());
}

void PageHeading::setTitle(const QString& title)
{
    mTitle->setText(title);
}

void PageHeading::setSubtitle(const QString& subtitle)
{
    mSubtitle->setText(subtitle);
    mSubtitle->setVisible(!subtitle.isEmpty());
}

QString PageHeading::title() const
{
    return mTitle->text();
}

QString PageHeading::subtitle() const
{
    return mSubtitle->text();
}

void PageHeading::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    fillRect(painter, GXGradient::gradientWithBeginningColor({0.93, 0.94, 0.96, 1.0}, {0.98, 0.985, 0.99, 1.0}),
             rect(), 90.0);
    painter.setPen(GXBorderedView::lineColour());
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
}

} // namespace ch
