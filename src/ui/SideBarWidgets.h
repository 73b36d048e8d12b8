#pragma once
// Small widgets of the side bar: the button that opens its menu on a plain
// click (and on a right click), and the shaded strip at the foot of the
// side bar that holds the buttons and the grip.

#include <QToolButton>
#include <QWidget>

namespace ch {

class GXMenuButton : public QToolButton {
    Q_OBJECT

public:
    explicit GXMenuButton(QWidget* parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class CSideBarBottom : public QWidget {
    Q_OBJECT

public:
    explicit CSideBarBottom(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ch
