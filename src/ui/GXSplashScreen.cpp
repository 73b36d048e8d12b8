#include "ui/GXSplashScreen.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "bridge/DeveloperLog.h"
#include "document/app/ProductInfo.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/application_icon.h"
#include "platform/gui/localized_text.h"

namespace ch {

GXSplashScreen::GXSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("splashScreen");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(420, 260);
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void GXSplashScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0.0, QColor(0x2B, 0x4F, 0x7E));
    background.setColorAt(1.0, QColor(0x16, 0x2A, 0x45));
    painter.fillRect(rect(), background);
    painter.setPen(QColor(255, 255, 255, 60));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const QPixmap icon = applicationIcon().pixmap(96, 96);
    painter.drawPixmap((width() - 96) / 2, 36, icon);

    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 2.0);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 140, width(), 44), Qt::AlignCenter, QStringLiteral("Countinghouse"));
    painter.setFont(font());
    painter.setPen(QColor(255, 255, 255, 190));
    painter.drawText(QRect(0, 184, width(), 22), Qt::AlignCenter, localizedText("SPLASHTAGLINE"));
    painter.drawText(QRect(0, 206, width(), 22), Qt::AlignCenter,
                     QString::fromStdString(formatMessage(localized("SPLASHVERSION"), {std::string(kRunningVersion)})));
}

void GXSplashScreen::mousePressEvent(QMouseEvent*)
{
    emit clicked();
}

void GXSplashScreen::keyPressEvent(QKeyEvent* event)
{
    mAltDown = true;
    developerLog("Down");
    event->accept();
}

void GXSplashScreen::keyReleaseEvent(QKeyEvent* event)
{
    mAltDown = false;
    developerLog("Up");
    event->accept();
}

} // namespace ch
