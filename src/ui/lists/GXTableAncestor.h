#pragma once
// GXTableAncestor: the list table of the pages. Beside a plain table it
// lets the user hide and show columns from a menu in its top-right corner
// (and from the heading's context menu), remembers that choice per table
// under the user default "GXCTableColumns" ({autosave name -> {heading ->
// visible}}), and exports the rows as shown to a tab-separated file. A
// column shown again goes to the right-hand end. A table without an
// autosave name remembers nothing.
//
// The model's headings name the columns; a column without a heading cannot
// be hidden. A model column whose heading data answers true for
// kImageOnlyRole holds images only and is left out of exports.

#include <QTableView>

#include "ui/lists/TablePrintout.h"

#include <map>
#include <string>

class QMenu;
class QPagedPaintDevice;
class QToolButton;

namespace ch {

class GXTableAncestor : public QTableView {
    Q_OBJECT

public:
    static constexpr int kImageOnlyRole = Qt::UserRole + 40;

    explicit GXTableAncestor(QWidget* parent = nullptr);
    ~GXTableAncestor() override;

    void setAutosaveName(std::string name) { mAutosaveName = std::move(name); }
    const std::string& autosaveName() const { return mAutosaveName; }

    // Set-up once the model is in place: notes every headed column, makes
    // the corner menu and applies the stored settings.
    void awakeFromNib();

    // Applies the stored settings; enters a first entry when there is none.
    void synchronizeTableColumnsWithDefaults();
    void saveTableColumnVisibility(bool visible, const QString& heading);
    // The shown column with the heading (the last when several), else -1.
    int tableColumnWithTitle(const QString& heading) const;
    // Hides the first shown column with the heading.
    void hideColumnWithName(const QString& heading);
    // The corner menu's column item: hides a shown column, shows a hidden one
    // at the right-hand end; the choice is stored.
    void toggleColumnDisplay(const QString& heading);
    bool isColumnShown(const QString& heading) const { return tableColumnWithTitle(heading) >= 0; }

    QMenu* tableMenu() const { return mTableMenu; }
    QToolButton* cornerButton() const { return mCornerButton; }

    // The rows as shown: the headings of the shown columns in their order,
    // then one line per row, fields split by tabs, lines ended by CR LF.
    // Tabs and line breaks inside a value become blanks so that every row
    // stays one record.
    QString exportText() const;
    // Writes the export atomically; a failure is reported (message 300) and
    // answers false.
    bool exportToFile(const QString& path) const;
    // "Export": asks for a file name with the extension "TSV", then writes.
    void exportTable();
    // "Print": the print dialog ("printDialog", window-modal); once accepted
    // every row of the table is printed as text, paged (see TablePrintout).
    void printTable();
    // The shown columns (image columns left out) and every row, as displayed.
    TableText shownText() const;
    // The number of pages printed.
    int printTo(QPagedPaintDevice& device) const;

    // 0 draws the table's background; any other value none; 100 also makes
    // the view transparent.
    void setTransparency(float transparency);
    float transparency() const { return mTransparency; }

private:
    static QString getColumnHoofding(const QAbstractItemModel* model, int column);
    void rebuildMenu();
    void setMenuCheck(const QString& heading, bool checked);

    std::string mAutosaveName;
    // heading -> logical column, for every headed column, also when hidden
    std::map<QString, int> mKolomBackup;
    QMenu* mTableMenu = nullptr;
    QToolButton* mCornerButton = nullptr;
    float mTransparency = 0;
};

} // namespace ch
