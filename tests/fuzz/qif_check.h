#pragma once
// The QIF reader on any bytes (see statement_check.h); it may create
// categories and accounts in the books while it reads.

#include "statement_check.h"

namespace ch::fuzz {

inline std::string checkQif(std::string_view input)
{
    return checkStatement(input, StatementFormat::Qif);
}

} // namespace ch::fuzz
