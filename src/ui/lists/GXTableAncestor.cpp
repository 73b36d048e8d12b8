#include "ui/lists/GXTableAncestor.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QToolButton>

#include "bridge/DeveloperLog.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/atomic_file.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/export_file_chooser.h"

namespace ch {

namespace {

constexpr const char* kColumnsKey = "GXCTableColumns";
constexpr long kTableNotExported = 300;

Dictionary storedColumns()
{
    const Value stored = UserDefaults::standard().object(kColumnsKey);
    const Dictionary* dictionary = stored.asDictionary();
    return dictionary ? *dictionary : Dictionary{};
}

// One record per row: what would split a field or a line goes.
QString exportField(QString text)
{
    for (QChar& character : text)
        if (character == u'\t' || character == u'\r' || character == u'\n') character = u' ';
    return text;
}

} // namespace

GXTableAncestor::GXTableAncestor(QWidget* parent) : QTableView(parent)
{
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        if (mTableMenu) mTableMenu->popup(horizontalHeader()->mapToGlobal(position));
    });
}

GXTableAncestor::~GXTableAncestor() = default;

QString GXTableAncestor::getColumnHoofding(const QAbstractItemModel* model, int column)
{
    return model ? model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
}

void GXTableAncestor::awakeFromNib()
{
    mTransparency = 0;
    mKolomBackup.clear();
    if (QAbstractItemModel* shown = model())
        for (int column = 0; column < shown->columnCount(); ++column) {
            const QString heading = getColumnHoofding(shown, column);
            if (!heading.isEmpty()) mKolomBackup[heading] = column;
        }
    if (!mTableMenu) {
        mTableMenu = new QMenu(this);
        mCornerButton = new QToolButton(this);
        mCornerButton->setText(QStringLiteral("\u25BE"));
        mCornerButton->setAutoRaise(true);
        mCornerButton->setPopupMode(QToolButton::InstantPopup);
        mCornerButton->setMenu(mTableMenu);
        mCornerButton->setFocusPolicy(Qt::NoFocus);
        // The scroll bar stays, so that the corner menu is always there.
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        addScrollBarWidget(mCornerButton, Qt::AlignTop);
    }
    rebuildMenu();
    synchronizeTableColumnsWithDefaults();
}

void GXTableAncestor::rebuildMenu()
{
    mTableMenu->clear();
    mTableMenu->addAction(QStringLiteral("Print"), this, &GXTableAncestor::printTable);
    mTableMenu->addAction(QStringLiteral("Export"), this, &GXTableAncestor::exportTable);
    mTableMenu->addSeparator();
    for (const auto& [heading, column] : mKolomBackup) {
        QAction* item = mTableMenu->addAction(heading);
        item->setCheckable(true);
        item->setChecked(!isColumnHidden(column));
        const QString title = heading;
        connect(item, &QAction::triggered, this, [this, title] { toggleColumnDisplay(title); });
    }
}

void GXTableAncestor::setMenuCheck(const QString& heading, bool checked)
{
    if (!mTableMenu) return;
    for (QAction* item : mTableMenu->actions())
        if (item->isCheckable() && item->text() == heading) item->setChecked(checked);
}

void GXTableAncestor::synchronizeTableColumnsWithDefaults()
{
    if (mAutosaveName.empty()) return;
    if (!UserDefaults::standard().object(kColumnsKey).asDictionary()) {
        UserDefaults::standard().set(kColumnsKey, Dictionary{});
    }
    Dictionary outer = storedColumns();
    const Value* entryValue = outer.find(mAutosaveName);
    const Dictionary* entry = entryValue ? entryValue->asDictionary() : nullptr;
    if (!entry) {
        Dictionary fresh;
        for (const auto& [heading, column] : mKolomBackup) fresh.set(heading.toStdString(), true);
        outer.set(mAutosaveName, std::move(fresh));
        UserDefaults::standard().set(kColumnsKey, std::move(outer));
        return;
    }
    const Dictionary settings = *entry;
    for (const auto& [heading, column] : mKolomBackup) {
        const Value* stored = settings.find(heading.toStdString());
        if (!stored || !stored->asBool()) {
            if (!stored) saveTableColumnVisibility(true, heading);
            continue;
        }
        if (!*stored->asBool()) {
            hideColumnWithName(heading);
            setMenuCheck(heading, false);
        }
    }
}

void GXTableAncestor::saveTableColumnVisibility(bool visible, const QString& heading)
{
    if (mAutosaveName.empty()) return;
    Dictionary outer = storedColumns();
    const Value* entryValue = outer.find(mAutosaveName);
    if (!entryValue || !entryValue->asDictionary()) return;
    Dictionary entry = *entryValue->asDictionary();
    const Value* stored = entry.find(heading.toStdString());
    if (stored && stored->asBool() && *stored->asBool() == visible) return;
    entry.set(heading.toStdString(), visible);
    outer.set(mAutosaveName, std::move(entry));
    UserDefaults::standard().set(kColumnsKey, std::move(outer));
}

int GXTableAncestor::tableColumnWithTitle(const QString& heading) const
{
    int found = -1;
    if (!model() || heading.isEmpty()) return found;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        const int column = horizontalHeader()->logicalIndex(visual);
        if (!isColumnHidden(column) && getColumnHoofding(model(), column) == heading) found = column;
    }
    return found;
}

void GXTableAncestor::hideColumnWithName(const QString& heading)
{
    if (!model() || heading.isEmpty()) return;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        const int column = horizontalHeader()->logicalIndex(visual);
        if (!isColumnHidden(column) && getColumnHoofding(model(), column) == heading) {
            setColumnHidden(column, true);
            return;
        }
    }
}

void GXTableAncestor::toggleColumnDisplay(const QString& heading)
{
    if (isColumnShown(heading)) {
        hideColumnWithName(heading);
        setMenuCheck(heading, false);
        saveTableColumnVisibility(false, heading);
        return;
    }
    const auto found = mKolomBackup.find(heading);
    if (found == mKolomBackup.end()) return;
    const int column = found->second;
    setColumnHidden(column, false);
    horizontalHeader()->moveSection(horizontalHeader()->visualIndex(column), horizontalHeader()->count() - 1);
    setMenuCheck(heading, true);
    saveTableColumnVisibility(true, heading);
}

TableText GXTableAncestor::shownText() const
{
    TableText text;
    const QAbstractItemModel* shown = model();
    if (!shown) return text;
    std::vector<int> columns;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
        const int column = horizontalHeader()->logicalIndex(visual);
        if (isColumnHidden(column)) continue;
        if (shown->headerData(column, Qt::Horizontal, kImageOnlyRole).toBool()) continue;
        columns.push_back(column);
        text.headings.push_back(getColumnHoofding(shown, column));
        const QVariant alignment = shown->rowCount() > 0
                                       ? shown->data(shown->index(0, column), Qt::TextAlignmentRole)
                                       : QVariant();
        text.rightAligned.push_back(alignment.isValid() && (alignment.toInt() & Qt::AlignRight));
    }
    text.rows.reserve(std::size_t(shown->rowCount()));
    for (int row = 0; row < shown->rowCount(); ++row) {
        QStringList fields;
        for (int column : columns) fields.push_back(shown->data(shown->index(row, column), Qt::DisplayRole).toString());
        text.rows.push_back(std::move(fields));
    }
    return text;
}

QString GXTableAncestor::exportText() const
{
    const TableText table = shownText();
    QString text;
    auto line = [&](const QStringList& fields) {
        for (int i = 0; i < fields.size(); ++i) {
            if (i > 0) text += u'\t';
            text += exportField(fields[i]);
        }
        text += QStringLiteral("\r\n");
    };
    if (!model()) return text;
    line(table.headings);
    for (const QStringList& row : table.rows) line(row);
    return text;
}

bool GXTableAncestor::exportToFile(const QString& path) const
{
    std::string failure;
    const QByteArray bytes = exportText().toUtf8();
    if (writeFileAtomically(path.toStdString(), std::string_view(bytes.constData(), bytes.size()), &failure))
        return true;
    developerLog("Export of a table failed: " + failure);
    CErrorManager::RaiseError(kTableNotExported);
    return false;
}

void GXTableAncestor::exportTable()
{
    getExportFileNameWithExtension(window(), "TSV", [this](std::optional<std::string> path) {
        if (path && !path->empty()) exportToFile(QString::fromStdString(*path));
    });
}

void GXTableAncestor::printTable()
{
    auto* printer = new QPrinter(QPrinter::HighResolution);
    auto* dialog = new QPrintDialog(printer, window());
    dialog->setObjectName(QStringLiteral("printDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::destroyed, this, [printer] { delete printer; });
    connect(dialog, &QDialog::accepted, this, [this, printer] { printTo(*printer); });
    dialog->open();
}

int GXTableAncestor::printTo(QPagedPaintDevice& device) const
{
    return printTableText(shownText(), device);
}

void GXTableAncestor::setTransparency(float transparency)
{
    mTransparency = transparency;
    viewport()->setAutoFillBackground(transparency == 0);
    setAttribute(Qt::WA_TranslucentBackground, transparency == 100);
    if (transparency == 100) setStyleSheet(QStringLiteral("QTableView { background: transparent; }"));
}

} // namespace ch
