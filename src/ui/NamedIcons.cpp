#include "ui/NamedIcons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <charconv>
#include <cstdlib>
#include <optional>

#include "bridge/DeveloperLog.h"

namespace ch {

namespace {

// What a tile shows: a character, or one of the drawn symbols.
enum class Symbol { Text, Bank, Folder, Card, Bars, Report, Page, Calculator, Pie, Ledger, Lock };

struct IconRecipe {
    std::string_view name;
    Symbol symbol;
    const char* text;   // UTF-8, for Symbol::Text
    QRgb colour;
    bool plusBadge;
};

constexpr std::array kIcons = {
    IconRecipe{"transactions", Symbol::Text, "\u21C4", 0xFF3D7DD8, false},
    IconRecipe{"recurringTrans", Symbol::Text, "\u21BB", 0xFF2A9D8F, false},
    IconRecipe{"generatedTrans", Symbol::Text, "\u26A1", 0xFFE09F1F, false},
    IconRecipe{"accounts", Symbol::Bank, "", 0xFF5B5FC7, false},
    IconRecipe{"acntProperty", Symbol::Text, "\u2302", 0xFF3A9A5B, false},
    IconRecipe{"acntDebt", Symbol::Card, "", 0xFFD0463B, false},
    IconRecipe{"acntP&L", Symbol::Text, "\u00B1", 0xFF8E5CC2, false},
    IconRecipe{"acntAsset", Symbol::Text, "\u25C6", 0xFFC7882B, false},
    IconRecipe{"categories", Symbol::Pie, "", 0xFFE0663A, false},
    IconRecipe{"exptIncome", Symbol::Text, "\u2197", 0xFF3A9A5B, false},
    IconRecipe{"exptExpense", Symbol::Text, "\u2198", 0xFFD0463B, false},
    IconRecipe{"exptTransfer", Symbol::Text, "\u21C4", 0xFF6C7A89, false},
    IconRecipe{"stocks", Symbol::Bars, "", 0xFF2B7BB9, false},
    IconRecipe{"accountowners", Symbol::Text, "\u263A", 0xFF8E5CC2, false},
    IconRecipe{"customers", Symbol::Text, "\u263A", 0xFF3A9A5B, false},
    IconRecipe{"suppliers", Symbol::Text, "\u263A", 0xFFC7882B, false},
    IconRecipe{"currencies", Symbol::Text, "\u20AC", 0xFFC29A1B, false},
    IconRecipe{"creditcards", Symbol::Card, "", 0xFF4A5568, false},
    IconRecipe{"vatIcon32", Symbol::Text, "%", 0xFFB03A6F, false},
    IconRecipe{"Image131", Symbol::Folder, "", 0xFF7A8CA5, false},
    // An account is a ledger, not a folder like the account types it sits in.
    IconRecipe{"Image131.tiff", Symbol::Ledger, "", 0xFF4F86A8, false},
    IconRecipe{"overview", Symbol::Text, "\u2302", 0xFF3D7DD8, false},
    IconRecipe{"morvik app", Symbol::Text, "\u2302", 0xFF3D7DD8, false},
    IconRecipe{"new-transaction", Symbol::Text, "\u21C4", 0xFF3D7DD8, true},
    IconRecipe{"new-account", Symbol::Bank, "", 0xFF5B5FC7, true},
    IconRecipe{"new-category", Symbol::Pie, "", 0xFFE0663A, true},
    IconRecipe{"DeleteButton", Symbol::Text, "\u2716", 0xFFC8463D, false},
    IconRecipe{"edit", Symbol::Text, "\u270E", 0xFF5E7186, false},
    IconRecipe{"flag", Symbol::Text, "\u2691", 0xFFE07B1F, false},
    IconRecipe{"budget", Symbol::Text, "\u2696", 0xFF2A9D8F, false},
    IconRecipe{"reports", Symbol::Report, "", 0xFF5B5FC7, false},
    IconRecipe{"fileimport", Symbol::Text, "\u2B07", 0xFF2B7BB9, false},
    IconRecipe{"fileSettings", Symbol::Text, "\u2699", 0xFF6C7A89, false},
    IconRecipe{"general", Symbol::Text, "\u2699", 0xFF6C7A89, false},
    IconRecipe{"password", Symbol::Lock, "", 0xFFC7882B, false},
    IconRecipe{"calculator", Symbol::Calculator, "", 0xFF4A5568, false},
    IconRecipe{"PrintPanel", Symbol::Page, "", 0xFF6C7A89, false},
    IconRecipe{"customize", Symbol::Text, "\u2630", 0xFF6C7A89, false},
    // The application preferences' toolbar ("general" above).
    IconRecipe{"autosave", Symbol::Text, "\u21BB", 0xFF2A9D8F, false},
    IconRecipe{"colors", Symbol::Text, "\u25D1", 0xFFB03A6F, false},
    IconRecipe{"graphs", Symbol::Bars, "", 0xFF2B7BB9, false},
    IconRecipe{"importing", Symbol::Text, "\u2B07", 0xFFC7882B, false},
    IconRecipe{"software-update", Symbol::Text, "\u21E7", 0xFF3D7DD8, false},
};

constexpr int kCanvas = 64;   // drawn at twice the largest size shown

// Folder colours for the icon numbers of account types and groups.
constexpr std::array<QRgb, 6> kFolderColours = {0xFF7A8CA5, 0xFF5B8DD6, 0xFF4FA37B,
                                                0xFFD08A3A, 0xFFB0609A, 0xFF8A7A5A};

const IconRecipe* findRecipe(std::string_view name)
{
    for (const IconRecipe& entry : kIcons)
        if (entry.name == name) return &entry;
    return nullptr;
}

// "Image<n>.tiff": the folder of icon number n.
std::optional<int> folderNumber(std::string_view name)
{
    constexpr std::string_view prefix = "Image";
    constexpr std::string_view suffix = ".tiff";
    if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - suffix.size()) != suffix)
        return std::nullopt;
    const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

void drawTile(QPainter& painter, QColor colour)
{
    const QRectF tile(4, 4, kCanvas - 8, kCanvas - 8);
    QLinearGradient shade(tile.topLeft(), tile.bottomLeft());
    shade.setColorAt(0.0, colour.lighter(135));
    shade.setColorAt(1.0, colour);
    painter.setPen(QPen(colour.darker(125), 2.0));
    painter.setBrush(shade);
    painter.drawRoundedRect(tile, 13, 13);
}

void drawSymbol(QPainter& painter, const IconRecipe& entry)
{
    const QColor ink = Qt::white;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    switch (entry.symbol) {
    case Symbol::Text: {
        QFont font("DejaVu Sans");
        font.setPixelSize(34);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(QRectF(4, 3, kCanvas - 8, kCanvas - 8), Qt::AlignCenter, QString::fromUtf8(entry.text));
        break;
    }
    case Symbol::Bank: {
        QPainterPath roof;
        roof.moveTo(32, 13);
        roof.lineTo(50, 24);
        roof.lineTo(14, 24);
        roof.closeSubpath();
        painter.drawPath(roof);
        for (int x : {18, 27, 36, 45}) painter.drawRect(QRectF(x - 2.5, 27, 5, 16));
        painter.drawRect(QRectF(14, 45, 36, 5));
        break;
    }
    case Symbol::Folder: {
        QPainterPath folder;
        folder.moveTo(14, 22);
        folder.lineTo(27, 22);
        folder.lineTo(30, 26);
        folder.lineTo(50, 26);
        folder.lineTo(50, 46);
        folder.lineTo(14, 46);
        folder.closeSubpath();
        painter.drawPath(folder);
        break;
    }
    case Symbol::Card: {
        painter.drawRoundedRect(QRectF(13, 20, 38, 25), 4, 4);
        painter.setBrush(QColor(entry.colour).darker(140));
        painter.drawRect(QRectF(13, 25, 38, 5));
        painter.setBrush(QColor(entry.colour));
        painter.drawRect(QRectF(17, 36, 12, 4));
        break;
    }
    case Symbol::Bars: {
        painter.drawRect(QRectF(16, 34, 7, 13));
        painter.drawRect(QRectF(28, 25, 7, 22));
        painter.drawRect(QRectF(40, 17, 7, 30));
        break;
    }
    case Symbol::Pie: {
        const QRectF disc(15, 15, 34, 34);
        painter.setBrush(QColor(255, 255, 255, 150));
        painter.drawEllipse(disc);
        painter.setBrush(ink);
        painter.drawPie(disc, 90 * 16, -130 * 16);
        break;
    }
    case Symbol::Report: {
        painter.drawRoundedRect(QRectF(18, 12, 28, 38), 2, 2);
        painter.setBrush(QColor(entry.colour));
        for (int i = 0; i < 5; ++i) painter.drawRect(QRectF(22, 18 + i * 6, i % 2 ? 14 : 20, 2.5));
        break;
    }
    case Symbol::Page: {
        QPainterPath page;
        page.moveTo(18, 12);
        page.lineTo(38, 12);
        page.lineTo(46, 20);
        page.lineTo(46, 50);
        page.lineTo(18, 50);
        page.closeSubpath();
        painter.drawPath(page);
        painter.setBrush(QColor(entry.colour).lighter(120));
        QPainterPath corner;
        corner.moveTo(38, 12);
        corner.lineTo(38, 20);
        corner.lineTo(46, 20);
        corner.closeSubpath();
        painter.drawPath(corner);
        break;
    }
    case Symbol::Ledger: {
        painter.drawRoundedRect(QRectF(17, 12, 30, 40), 3, 3);
        painter.setBrush(QColor(entry.colour));
        painter.drawRect(QRectF(21, 12, 3, 40));
        for (int i = 0; i < 4; ++i) painter.drawRect(QRectF(28, 19 + i * 8, 15, 2.5));
        break;
    }
    case Symbol::Lock: {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ink, 5.0));
        painter.drawArc(QRectF(22, 12, 20, 24), 0, 180 * 16);
        painter.drawLine(QPointF(22, 24), QPointF(22, 30));
        painter.drawLine(QPointF(42, 24), QPointF(42, 30));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawRoundedRect(QRectF(15, 29, 34, 22), 3, 3);
        painter.setBrush(QColor(entry.colour));
        painter.drawEllipse(QRectF(29, 35, 6, 6));
        painter.drawRect(QRectF(30.5, 39, 3, 7));
        break;
    }
    case Symbol::Calculator: {
        painter.drawRoundedRect(QRectF(18, 12, 28, 40), 3, 3);
        painter.setBrush(QColor(entry.colour));
        painter.drawRect(QRectF(22, 16, 20, 8));
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                painter.drawRect(QRectF(22 + column * 7, 28 + row * 7, 5, 5));
        break;
    }
    }
}

void drawPlusBadge(QPainter& painter)
{
    const QRectF badge(38, 38, 24, 24);
    painter.setPen(QPen(Qt::white, 2.0));
    painter.setBrush(QColor(0x2E, 0x9E, 0x4F));
    painter.drawEllipse(badge);
    painter.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(50, 43), QPointF(50, 57));
    painter.drawLine(QPointF(43, 50), QPointF(57, 50));
}

QIcon paint(const IconRecipe& entry)
{
    QPixmap pixmap(kCanvas, kCanvas);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        drawTile(painter, QColor(entry.colour));
        drawSymbol(painter, entry);
        if (entry.plusBadge) drawPlusBadge(painter);
    }
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon.addPixmap(pixmap);
    return icon;
}

// The card images of the credit-card page: a card in the kind's colours
// with a chip and the kind's short name, 64 by 40 (shown at 32 by 20).
struct CardRecipe {
    std::string_view name;
    QRgb colour;
    QRgb ink;
    const char* label;
};

constexpr std::array kCards = {
    CardRecipe{"generic", 0xFF6C7A89, 0xFFFFFFFF, "CARD"}, CardRecipe{"amex", 0xFF2E77BB, 0xFFFFFFFF, "AMEX"},
    CardRecipe{"visa", 0xFF1A1F71, 0xFFF7B600, "VISA"},    CardRecipe{"diners", 0xFF0079BE, 0xFFFFFFFF, "DINERS"},
    CardRecipe{"master", 0xFF2B2B2B, 0xFFF79E1B, "MC"},    CardRecipe{"delta", 0xFF00529B, 0xFFFFFFFF, "DELTA"},
    CardRecipe{"discover", 0xFFF58220, 0xFFFFFFFF, "DISC"}, CardRecipe{"jcb", 0xFF0E4C96, 0xFFFFFFFF, "JCB"},
    CardRecipe{"solo", 0xFF8E5CC2, 0xFFFFFFFF, "SOLO"},    CardRecipe{"switch", 0xFF2A9D8F, 0xFFFFFFFF, "SWITCH"},
};

QIcon paintCard(const CardRecipe& card)
{
    constexpr int kWidth = 64;
    constexpr int kHeight = 40;
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QColor colour(card.colour);
        QLinearGradient shade(0, 0, 0, kHeight);
        shade.setColorAt(0.0, colour.lighter(130));
        shade.setColorAt(1.0, colour);
        painter.setPen(QPen(colour.darker(140), 1.5));
        painter.setBrush(shade);
        painter.drawRoundedRect(QRectF(1, 1, kWidth - 2, kHeight - 2), 5, 5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xE8, 0xC8, 0x6A));
        painter.drawRoundedRect(QRectF(7, 9, 11, 9), 2, 2);
        QFont font("DejaVu Sans");
        font.setPixelSize(std::string_view(card.label).size() > 4 ? 10 : 13);
        font.setBold(true);
        font.setItalic(true);
        painter.setFont(font);
        painter.setPen(QColor(card.ink));
        painter.drawText(QRectF(4, 20, kWidth - 9, kHeight - 22), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromLatin1(card.label));
    }
    QIcon icon;
    for (int width : {32, 48})
        icon.addPixmap(pixmap.scaled(width, width * kHeight / kWidth, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon.addPixmap(pixmap);
    return icon;
}

} // namespace

QIcon makeNamedIcon(std::string_view name)
{
    if (const IconRecipe* entry = findRecipe(name)) return paint(*entry);
    for (const CardRecipe& card : kCards)
        if (card.name == name) return paintCard(card);
    if (const auto number = folderNumber(name)) {
        const IconRecipe folder{name, Symbol::Folder, "",
                              kFolderColours[static_cast<std::size_t>(std::abs(*number)) % kFolderColours.size()],
                              false};
        return paint(folder);
    }
    return {};
}

QIcon IconLibrary::icon(const std::string& name)
{
    if (const auto found = mIcons.find(name); found != mIcons.end()) return found->second;
    QIcon made = makeNamedIcon(name);
    if (made.isNull()) {
        developerLog(name);
        return {};
    }
    mIcons.emplace(name, made);
    return made;
}

} // namespace ch
