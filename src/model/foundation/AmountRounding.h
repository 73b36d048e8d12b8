#pragma once
// Amounts rounded as the user reads them: half away from zero on the decimal
// value a double stands for, taken to 15 significant digits, rather than on
// its nearest binary value. 0.475 (stored as 0.47499999...) gives 0.48, and
// 0.1 + 0.2 - 0.3 (5.5e-17) gives 0.

namespace ch {

// The value rounded to `decimals` places (0..8), as the double nearest that
// decimal; not-finite values come back unchanged.
double roundedAmount(double value, int decimals);

// Whether the two amounts are equal once rounded to `decimals` places.
bool sameAmount(double a, double b, int decimals);

} // namespace ch
