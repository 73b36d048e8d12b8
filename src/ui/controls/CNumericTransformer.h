#pragma once
// The amount formatter lives with the amount texts, below the windows.
#include "bridge/CNumericTransformer.h"
