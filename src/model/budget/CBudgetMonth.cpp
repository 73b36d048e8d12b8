#include "model/budget/CBudgetMonth.h"

#include <cstring>

#include "model/foundation/LStream.h"

namespace ch {

namespace {

// The twelve figures, the number and the flag.
constexpr std::int32_t kFixedBytes = CBudgetMonth::kFigureCount * 8 + 4 + 1;

} // namespace

CBudgetMonth::CBudgetMonth(CDocAccounting* document) : CNonVisual(-1, document) {}

CBudgetMonth::CBudgetMonth(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    Put_Document(document);
    std::int32_t newRow = 0;
    EnumT blocked = 0;
    {
        LStream::FieldRun fields(*stream, kFixedBytes);
        for (double& figure : mFigures) fields.ReadAmountT(figure);
        fields.ReadLong(newRow);
        fields.ReadEnumT(blocked);
    }
    mNewRow = static_cast<std::uint32_t>(newRow);
    mBlocked = blocked != 0;
    stream->ReadCString(mComment);
}

void CBudgetMonth::PutStream(LStream* stream)
{
    LStream::WriteRoom room(*stream, HeaderBytes() + kFixedBytes + 4 + strnlen(mComment, sizeof mComment));
    WriteHeader(stream);
    for (double figure : mFigures) stream->WriteAmountTT(figure);
    stream->WriteLong(static_cast<std::int32_t>(mNewRow));
    stream->WriteEnumT(mBlocked ? 1 : 0);
    stream->WriteCString(mComment);
}

void CBudgetMonth::InitializeNumbers(unsigned char actualsOnly)
{
    mBlocked = false;
    for (BudgetItemTypeT figure = 0; figure < kFigureCount; ++figure) {
        if (actualsOnly && figure < budget_item::kActualStart) continue;
        mFigures[figure] = 0.0;
    }
}

double CBudgetMonth::Get_Figure(BudgetItemTypeT figure) const
{
    return figure >= 0 && figure < kFigureCount ? mFigures[figure] : 0.0;
}

void CBudgetMonth::Put_Figure(BudgetItemTypeT figure, double value)
{
    if (figure >= 0 && figure < kFigureCount) mFigures[figure] = value;
}

void CBudgetMonth::Get_mComment(char (&out)[kDescriptionSize]) const
{
    std::memcpy(out, mComment, sizeof mComment);
}

bool CBudgetMonth::Put_BudgetStart(double value)
{
    mFigures[budget_item::kBudgetStart] = value;
    return true;
}

bool CBudgetMonth::Put_BudgetIn(double value, unsigned char)
{
    mFigures[budget_item::kBudgetIn] = value;
    return true;
}

bool CBudgetMonth::Put_BudgetExtraIn(double value, unsigned char)
{
    mFigures[budget_item::kBudgetExtraIn] = value;
    return true;
}

bool CBudgetMonth::Put_BudgetOut(double value, unsigned char)
{
    mFigures[budget_item::kBudgetOut] = value;
    return true;
}

bool CBudgetMonth::Put_BudgetExtraOut(double value, unsigned char)
{
    mFigures[budget_item::kBudgetExtraOut] = value;
    return true;
}

bool CBudgetMonth::Put_BudgetEnd(double value)
{
    mFigures[budget_item::kBudgetEnd] = value;
    return true;
}

bool CBudgetMonth::Put_ActualStart(double value)
{
    mFigures[budget_item::kActualStart] = value;
    return true;
}

bool CBudgetMonth::Put_ActualIn(double value)
{
    mFigures[budget_item::kActualIn] = value;
    return true;
}

bool CBudgetMonth::Put_ActualOut(double value)
{
    mFigures[budget_item::kActualOut] = value;
    return true;
}

bool CBudgetMonth::Put_XtraActualIn(double value)
{
    mFigures[budget_item::kXtraActualIn] = value;
    return true;
}

bool CBudgetMonth::Put_XtraActualOut(double value)
{
    mFigures[budget_item::kXtraActualOut] = value;
    return true;
}

bool CBudgetMonth::Put_ActualEnd(double value)
{
    mFigures[budget_item::kActualEnd] = value;
    return true;
}

bool CBudgetMonth::Put_newRow(std::uint32_t value)
{
    mNewRow = value;
    return true;
}

bool CBudgetMonth::Put_mBlocked(bool blocked)
{
    mBlocked = blocked;
    return true;
}

bool CBudgetMonth::Put_mComment(const char* comment)
{
    CopyToField(mComment, comment);
    return true;
}

} // namespace ch
