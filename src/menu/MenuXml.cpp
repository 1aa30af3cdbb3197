#include "menu/MenuXml.h"

#include <tinyxml.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace MenuXml {

namespace {

// Skips from pos past the first occurrence of terminator; the end when there is none.
size_t SkipPast(const std::vector<uint8_t>& bytes, size_t pos, const char* terminator) {
    const size_t n = std::strlen(terminator);
    for (size_t i = pos; i + n <= bytes.size(); ++i) {
        if (std::memcmp(bytes.data() + i, terminator, n) == 0) return i + n;
    }
    return bytes.size();
}

bool StartsWith(const std::vector<uint8_t>& bytes, size_t pos, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return pos + n <= bytes.size() && std::memcmp(bytes.data() + pos, prefix, n) == 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Shape MeasureShape(const std::vector<uint8_t>& bytes) {
    Shape shape;
    int depth = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] != '<') {
            ++i;
            continue;
        }
        if (StartsWith(bytes, i, "<!--")) {
            i = SkipPast(bytes, i + 4, "-->");
        } else if (StartsWith(bytes, i, "<![CDATA[")) {
            i = SkipPast(bytes, i + 9, "]]>");
        } else if (StartsWith(bytes, i, "<?")) {
            i = SkipPast(bytes, i + 2, ">");
        } else if (StartsWith(bytes, i, "<!")) {
            i = SkipPast(bytes, i + 2, ">");
        } else if (StartsWith(bytes, i, "</")) {
            if (depth > 0) --depth;
            i = SkipPast(bytes, i + 2, ">");
        } else {
            // An opening tag: find its end outside quoted values; "/>" closes it at once.
            size_t j = i + 1;
            char quote = 0;
            char lastSignificant = 0;
            int attributes = 0;
            for (; j < bytes.size(); ++j) {
                const char c = static_cast<char>(bytes[j]);
                if (quote) {
                    if (c == quote) quote = 0;
                    continue;
                }
                if (c == '"' || c == '\'') {
                    quote = c;
                    lastSignificant = c;
                } else if (c == '>') {
                    break;
                } else if (c == '=') {
                    ++attributes;
                    lastSignificant = c;
                } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
                    lastSignificant = c;
                }
            }
            if (attributes > shape.attributes) shape.attributes = attributes;
            if (lastSignificant != '/') {
                ++depth;
                if (depth > shape.depth) shape.depth = depth;
            }
            i = j + 1;
        }
    }
    return shape;
}

bool Parse(const std::vector<uint8_t>& bytes, TiXmlDocument& doc, std::string& reason) {
    if (bytes.size() > kMaxFileBytes) {
        reason = "file too large";
        return false;
    }
    const Shape shape = MeasureShape(bytes);
    if (shape.depth > kMaxDepth) {
        reason = "elements nested too deeply";
        return false;
    }
    if (shape.attributes > kMaxAttributes) {
        reason = "too many attributes in one element";
        return false;
    }
    // The parser reads a zero-terminated text; an embedded zero byte ends the document there.
    std::string text(bytes.begin(), bytes.end());
    doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
    if (doc.Error()) {
        reason = doc.ErrorDesc() ? doc.ErrorDesc() : "not XML";
        return false;
    }
    return true;
}

float ParseDecimal(const char* text) {
    if (!text) return 0.0f;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    const char* mantissa = p;
    while (IsDigit(*p)) ++p;
    bool digits = p != mantissa;
    if (*p == '.') {
        const char* fraction = ++p;
        while (IsDigit(*p)) ++p;
        digits = digits || p != fraction;
    }
    if (!digits) return 0.0f;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (IsDigit(*exponent)) {
            p = exponent;
            while (IsDigit(*p)) ++p;
        }
    }
    // from_chars takes no leading '+'.
    const char* first = *start == '+' ? start + 1 : start;
    double value = 0.0;
    const auto result = std::from_chars(first, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small: the sign and the size class decide.
        bool negative = *start == '-';
        const char* e = first;
        while (e < p && *e != 'e' && *e != 'E') ++e;
        const bool tiny = e < p && e[1] == '-';
        if (tiny) return 0.0f;
        return negative ? -FLT_MAX : FLT_MAX;
    }
    if (result.ec != std::errc()) return 0.0f;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

bool ReadText(const TiXmlElement& element, const char* attribute, size_t limit, std::string& out) {
    const char* value = element.Attribute(attribute);
    if (!value) return false;
    out.assign(value, strnlen(value, limit));
    return true;
}

bool ReadFloat(const TiXmlElement& element, const char* attribute, float& out) {
    const char* value = element.Attribute(attribute);
    if (!value) return false;
    out = ParseDecimal(value);
    return true;
}

}  // namespace MenuXml
