#pragma once
// Scalar types of the model and of its file records (all stored big-endian).

#include <cstdint>

namespace ch {

using DateT = std::int32_t;       // year * 10000 + month * 100 + day
using ObjectIdT = std::int32_t;   // id of a model object
using AmountT = double;           // an amount of money
using QtyT = std::int32_t;        // a quantity (e.g. a conversion quantity)
using EnumT = std::uint8_t;       // a one-byte kind or status

} // namespace ch
