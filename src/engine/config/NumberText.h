// The two ways config values are read as numbers, independent of the C locale.
#pragma once

namespace NumberText {

// The decimal floating-point number at the start of text (leading blanks, sign, digits,
// fraction, exponent); 0 when there is none. No hexadecimal, no "inf" or "nan".
double DecimalPrefix(const char* text);

// The base-10 integer at the start of text (leading blanks and a sign allowed), saturated to
// the 32-bit range; 0 without digits.
int IntegerPrefix(const char* text);

// Truncation toward zero, saturated to the int range.
int TruncateToInt(double value);

}  // namespace NumberText
