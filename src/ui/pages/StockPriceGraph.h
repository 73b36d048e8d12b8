#pragma once
// A small line graph of a share's prices over time: one dot per price,
// joined oldest to newest, the lowest and highest price written at the
// left edge. With fewer than one price it shows nothing but its frame.

#include <QWidget>

#include <utility>
#include <vector>

namespace ch {

class StockPriceGraph : public QWidget {
    Q_OBJECT

public:
    explicit StockPriceGraph(QWidget* parent = nullptr);

    // (seconds since 1970, price), put in time order; prices of the same
    // moment keep the order given (give them oldest first).
    void setPrices(std::vector<std::pair<double, double>> prices);
    const std::vector<std::pair<double, double>>& prices() const { return mPrices; }

    QSize sizeHint() const override { return {240, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::pair<double, double>> mPrices;   // oldest first
};

} // namespace ch
