#pragma once
// The OFX reader on any bytes (see statement_check.h).

#include "statement_check.h"

namespace ch::fuzz {

inline std::string checkOfx(std::string_view input)
{
    return checkStatement(input, StatementFormat::Ofx);
}

} // namespace ch::fuzz
