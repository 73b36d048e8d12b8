#include "ui/lists/ValueTransformers.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"

namespace ch {

namespace {

QIcon drawnIcon(bool checkmark)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (checkmark) {
        painter.setPen(QPen(QColor(30, 140, 60), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath path;
        path.moveTo(6, 17);
        path.lineTo(13, 25);
        path.lineTo(26, 7);
        painter.drawPath(path);
    } else {
        painter.setPen(QPen(QColor(90, 90, 90), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(9, 5, 9, 28);
        QPainterPath flag;
        flag.moveTo(10, 5);
        flag.lineTo(27, 10);
        flag.lineTo(10, 16);
        flag.closeSubpath();
        painter.fillPath(flag, QColor(220, 60, 40));
    }
    return QIcon(pixmap);
}

} // namespace

QString dateTTransformer(long date)
{
    return QString::fromStdString(CNSStringDateTBridge::dateTToNSString(static_cast<DateT>(date)));
}

QString amountTTransformer(std::optional<double> amount)
{
    if (amount && (*amount == kNoLinkedTransactionAmount || *amount == kLinkedCreditNoteAmount)) return {};
    return QString::fromStdString(CNSNumberAmountTBridge::NSNumberToNSString(amount));
}

QIcon statusTTransformer(int status)
{
    // Made on first use and kept.
    static const QIcon checkmark = drawnIcon(true);
    static const QIcon flagged = drawnIcon(false);
    switch (status & 0xFF) {
    case 9: return checkmark;
    case 7: return flagged;
    default: return {};
    }
}

} // namespace ch
