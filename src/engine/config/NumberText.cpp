#include "engine/config/NumberText.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace NumberText {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

}  // namespace

double DecimalPrefix(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    const char* digits = p;
    while (IsDigit(*p)) ++p;
    bool any = p > digits;
    if (*p == '.') {
        const char* fraction = ++p;
        while (IsDigit(*p)) ++p;
        any = any || p > fraction;
    }
    if (!any) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* e = p + 1;
        if (*e == '+' || *e == '-') ++e;
        if (IsDigit(*e)) {
            while (IsDigit(*e)) ++e;
            p = e;
        }
    }
    // The prefix is now a plain decimal number; the C library converts it exactly.
    const std::string number(start, p);
    return CLocale() ? strtod_l(number.c_str(), nullptr, CLocale()) : std::strtod(number.c_str(), nullptr);
}

int IntegerPrefix(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > int64_t{INT_MAX} + 1) value = int64_t{INT_MAX} + 1;   // saturate
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT_MAX;
    if (value <= -2147483648.0) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace NumberText
