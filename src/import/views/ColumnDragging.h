#pragma once
// The assistant's column drag and drop: the column table hands out a
// dragged column as its name ("COL" + number) under "DragDropColumnNumberType"
// and as plain text; a role's token field takes such a drop as one more
// token.

#include <QLineEdit>
#include <QTableWidget>

#include <string>
#include <vector>

namespace ch {

inline constexpr char kColumnNumberMimeType[] = "DragDropColumnNumberType";

class columnDraggingTable : public QTableWidget {
    Q_OBJECT

public:
    explicit columnDraggingTable(QWidget* parent = nullptr);

    // The column the last press was in; -1 for none.
    int currentColumn() const { return mCurrentColumn; }
    void setCurrentColumn(int column) { mCurrentColumn = column; }
    // The drag data of a column: its header title under both types.
    QMimeData* mimeDataForColumn(int column) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;

private:
    int mCurrentColumn = -1;
};

class RoleTokenField : public QLineEdit {
    Q_OBJECT

public:
    explicit RoleTokenField(QWidget* parent = nullptr);

    // The tokens, in order (separated by commas or blanks).
    std::vector<std::string> tokens() const;
    void addToken(const QString& token);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace ch
