#pragma once
// Typed amount arithmetic lives with the amount texts, below the windows.
#include "bridge/AmountExpression.h"
