#pragma once
// Texts of the budget model for the budget items: names in Unicode (the
// object's Unicode name, else its 8-bit name converted) and comments.

#include <string>
#include <string_view>

namespace ch {

class CNonVisual;

// Empty for null.
std::string budgetObjectName(const CNonVisual* object);
// An 8-bit model text converted to Unicode.
std::string budgetModelText(const char* text);
// Unicode to the model's 8-bit text (255 characters at most).
std::string budgetCommentToModel(std::string_view text);

} // namespace ch
