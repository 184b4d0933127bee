#pragma once
// Number text in a locale's notation, shared by the backends.

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Surrounding blanks, an optional sign, digits with at most one decimal separator, and an
// optional exponent. Anything else is not a number.
std::optional<double> ParseLocaleNumber(std::string_view text, char decimalSeparator);

// The shortest text that reads back as the same value, with the locale's separator.
std::string FormatLocaleNumber(double value, char decimalSeparator);

}  // namespace velmora
