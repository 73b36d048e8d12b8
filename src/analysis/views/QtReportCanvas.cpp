#include "analysis/views/QtReportCanvas.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace ch {

namespace {

QColor colourOf(const Colour& colour)
{
    return QColor::fromRgbF(static_cast<float>(colour.red), static_cast<float>(colour.green),
                            static_cast<float>(colour.blue), static_cast<float>(colour.alpha));
}

QRectF rectOf(const ReportRect& rect)
{
    return QRectF(rect.x, rect.y, rect.width, rect.height);
}

Qt::Alignment alignmentOf(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::Right: return Qt::AlignRight;
    case TextAlignment::Centre: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

} // namespace

QtReportCanvas::QtReportCanvas(QPaintDevice* device, QPainter* painter) : mDevice(device), mPainter(painter) {}

QFont QtReportCanvas::fontOf(const ReportFont& font)
{
    QFont qfont(QString::fromStdString(font.family));
    if (font.size > 0.0f) qfont.setPointSizeF(font.size);
    qfont.setBold(font.bold);
    return qfont;
}

QString QtReportCanvas::textOf(std::string_view text)
{
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

ReportSize QtReportCanvas::sizeOfText(std::string_view text, const TextAttributes& attributes) const
{
    const QFontMetricsF metrics(fontOf(attributes.font), mDevice);
    if (text.empty()) return ReportSize{0.0f, static_cast<float>(metrics.height())};
    const QSizeF size = metrics.size(0, textOf(text));
    return ReportSize{static_cast<float>(size.width()), static_cast<float>(size.height())};
}

void QtReportCanvas::fillRect(const ReportRect& rect, const Colour& colour)
{
    if (mPainter) mPainter->fillRect(rectOf(rect), colourOf(colour));
}

void QtReportCanvas::strokeRect(const ReportRect& rect, const Colour& colour)
{
    if (!mPainter) return;
    mPainter->save();
    mPainter->setPen(QPen(colourOf(colour), 1.0));
    mPainter->setBrush(Qt::NoBrush);
    mPainter->drawRect(rectOf(rect));
    mPainter->restore();
}

void QtReportCanvas::drawLine(ReportPoint from, ReportPoint to, const Colour& colour)
{
    if (!mPainter) return;
    mPainter->save();
    mPainter->setPen(QPen(colourOf(colour), 1.0));
    mPainter->drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
    mPainter->restore();
}

void QtReportCanvas::drawText(std::string_view text, const ReportRect& rect, const TextAttributes& attributes)
{
    if (!mPainter) return;
    mPainter->save();
    mPainter->setFont(QFont(fontOf(attributes.font), mDevice));
    mPainter->setPen(colourOf(attributes.foreground));
    mPainter->drawText(rectOf(rect), static_cast<int>(alignmentOf(attributes.alignment) | Qt::AlignTop), textOf(text));
    mPainter->restore();
}

} // namespace ch
