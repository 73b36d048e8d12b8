#pragma once
// GXBorderedView: a plain container that draws thin light-grey lines on the
// sides its owner chooses. Made in code it draws none.

#include <QWidget>

namespace ch {

class GXBorderedView : public QWidget {
    Q_OBJECT

public:
    explicit GXBorderedView(QWidget* parent = nullptr);

    // In this argument order: top, bottom, left, right.
    void setBorderAbove(bool above, bool below, bool left, bool right);
    bool topLine() const { return mTopLine; }
    bool bottomLine() const { return mBottomLine; }
    bool leftLine() const { return mLeftLine; }
    bool rightLine() const { return mRightLine; }

    static QColor lineColour();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool mLeftLine = false;
    bool mRightLine = false;
    bool mTopLine = false;
    bool mBottomLine = false;
};

} // namespace ch
