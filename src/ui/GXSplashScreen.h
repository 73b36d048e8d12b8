#pragma once
// The splash panel shown while the application starts: its icon, name and
// version. It fades away by itself (ApplicationShell); a click lets it go at
// once. Key presses are written to the developer log ("Down", "Up").

#include <QWidget>

namespace ch {

class GXSplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit GXSplashScreen(QWidget* parent = nullptr);

    bool altDown() const { return mAltDown; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool mAltDown = false;
};

} // namespace ch
