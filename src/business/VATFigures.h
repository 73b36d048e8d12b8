#pragma once
// The five VAT figures, in the order in which every listing, period and
// declaration shows them: paid, paid cancelled, received, received
// cancelled, prepaid.

namespace ch::business {

struct VATFigures {
    double paid = 0.0;
    double paidCancelled = 0.0;
    double received = 0.0;
    double receivedCancelled = 0.0;
    double prepaid = 0.0;

    VATFigures& operator+=(const VATFigures& other)
    {
        paid += other.paid;
        paidCancelled += other.paidCancelled;
        received += other.received;
        receivedCancelled += other.receivedCancelled;
        prepaid += other.prepaid;
        return *this;
    }
    friend bool operator==(const VATFigures&, const VATFigures&) = default;
};

} // namespace ch::business
