#pragma once
// CBalanceBar: a band painted with a blue gradient; a bar taller than 60
// points takes the taller gradient. The gradient lines up with the bar's
// top wherever the bar lies, and any repaint repaints the whole bar.

#include <QWidget>

#include <string>

namespace ch {

class CBalanceBar : public QWidget {
    Q_OBJECT

public:
    explicit CBalanceBar(QWidget* parent = nullptr);

    // "BlueGradient62" above 60 points, else "BlueGradient36".
    static std::string gradientImageName(double height);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ch
