#include "framework/xml/XmlReader.h"

#include "framework/pak/PakInterface.h"

#include <tinyxml2.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Orvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// The deepest element nesting and the most attributes of one element in the tree. Iterative,
// so a deep tree cannot exhaust the stack here either.
void MeasureTree(const tinyxml2::XMLElement* root, int& depth, int& attributes) {
    depth = 0;
    attributes = 0;
    const tinyxml2::XMLElement* e = root;
    int level = root ? 1 : 0;
    while (e) {
        if (level > depth) depth = level;
        int count = 0;
        for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next()) ++count;
        if (count > attributes) attributes = count;
        if (const tinyxml2::XMLElement* child = e->FirstChildElement()) {
            e = child;
            ++level;
            continue;
        }
        while (e && !e->NextSiblingElement()) {
            const tinyxml2::XMLNode* parent = e->Parent();
            e = parent ? parent->ToElement() : nullptr;
            --level;
        }
        if (e) e = e->NextSiblingElement();
    }
}

// False, with the reason, when a measure of the text is beyond its limit.
bool WithinLimit(size_t value, size_t limit, const char* what, std::string& reason) {
    if (value <= limit) return true;
    reason = "more than " + std::to_string(limit) + " " + what;
    return false;
}

// How many bytes of the text are '<' and '=' signs.
void CountSigns(const char* text, size_t length, size_t& markup, size_t& equals) {
    markup = 0;
    equals = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '<') ++markup;
        if (text[i] == '=') ++equals;
    }
}

}  // namespace

// --- XmlElement -----------------------------------------------------------------------------

const char* XmlElement::Name() const {
    return element_ && element_->Name() ? element_->Name() : "";
}

XmlElement XmlElement::FirstChild(const char* name) const {
    return XmlElement(element_ ? element_->FirstChildElement(name) : nullptr);
}

XmlElement XmlElement::NextSibling(const char* name) const {
    return XmlElement(element_ ? element_->NextSiblingElement(name) : nullptr);
}

const char* XmlElement::Attribute(const char* name) const {
    return element_ && name ? element_->Attribute(name) : nullptr;
}

int XmlElement::AttributeCount() const {
    int count = 0;
    if (element_) {
        for (const tinyxml2::XMLAttribute* a = element_->FirstAttribute(); a; a = a->Next()) ++count;
    }
    return count;
}

bool XmlElement::ReadText(const char* attribute, size_t limit, std::string& out) const {
    const char* value = Attribute(attribute);
    if (!value) return false;
    out.assign(value, strnlen(value, limit));
    return true;
}

bool XmlElement::ReadText(const char* attribute, char* out, size_t size) const {
    const char* value = Attribute(attribute);
    if (!value || size == 0) return false;
    const size_t n = strnlen(value, size - 1);
    std::memcpy(out, value, n);
    out[n] = '\0';
    return true;
}

bool XmlElement::ReadDouble(const char* attribute, double& out) const {
    const char* value = Attribute(attribute);
    if (!value) return false;
    out = XmlDecimalPrefix(value);
    return true;
}

bool XmlElement::ReadFloat(const char* attribute, float& out) const {
    double value = 0.0;
    if (!ReadDouble(attribute, value)) return false;
    if (value > FLT_MAX) value = FLT_MAX;
    if (value < -FLT_MAX) value = -FLT_MAX;
    out = static_cast<float>(value);
    return true;
}

// --- XmlDocument ----------------------------------------------------------------------------

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

bool XmlDocument::LoadFile(const std::string& name, std::string& reason) {
    loaded_ = false;
    doc_.reset();
    if (!FileExists(name)) {
        reason = "file not found";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(name, bytes, kMaxFileBytes)) {
        reason = "file unreadable or larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return false;
    }
    return Parse(bytes, reason);
}

bool XmlDocument::Parse(const std::vector<uint8_t>& bytes, std::string& reason) {
    return ParseText(reinterpret_cast<const char*>(bytes.data()), bytes.size(), reason);
}

bool XmlDocument::Parse(const std::string& text, std::string& reason) {
    return ParseText(text.data(), text.size(), reason);
}

bool XmlDocument::ParseText(const char* text, size_t length, std::string& reason) {
    loaded_ = false;
    doc_.reset();
    if (!WithinLimit(length, kMaxFileBytes, "bytes", reason)) return false;
    // The parser stops at a zero byte; it is given the text up to the first one.
    const void* zero = length ? std::memchr(text, 0, length) : nullptr;
    if (zero) length = static_cast<size_t>(static_cast<const char*>(zero) - text);
    size_t markup = 0;
    size_t equals = 0;
    CountSigns(text, length, markup, equals);
    if (!WithinLimit(markup, kMaxMarkupSigns, "tags", reason) ||
        !WithinLimit(equals, kMaxAttributeSigns, "attributes", reason)) {
        return false;
    }

    // Entities are kept as written and whitespace as it stands: attribute values arrive as the
    // file spells them, apart from the five standard entities.
    auto doc = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
    if (doc->Parse(length ? text : "", length) != tinyxml2::XML_SUCCESS) {
        const char* why = doc->ErrorStr();
        reason = why && *why ? why : "not XML";
        return false;
    }
    int depth = 0;
    int attributes = 0;
    MeasureTree(doc->RootElement(), depth, attributes);
    if (!WithinLimit(static_cast<size_t>(depth), kMaxDepth, "levels of nesting", reason) ||
        !WithinLimit(static_cast<size_t>(attributes), kMaxAttributes, "attributes in one element",
                     reason)) {
        return false;
    }
    if (!doc->RootElement()) {
        reason = "no element";
        return false;
    }
    doc_ = std::move(doc);
    loaded_ = true;
    return true;
}

XmlElement XmlDocument::Root() const {
    return XmlElement(doc_ ? doc_->RootElement() : nullptr);
}

XmlElement XmlDocument::FirstChild(const char* name) const {
    return XmlElement(doc_ ? doc_->FirstChildElement(name) : nullptr);
}

// --- numbers --------------------------------------------------------------------------------

double XmlDecimalPrefix(const char* text) {
    if (!text) return 0.0;
    const char* p = text;
    while (IsBlank(*p)) ++p;
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
    if (!digits) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (IsDigit(*exponent)) {
            p = exponent;
            while (IsDigit(*p)) ++p;
        }
    }
    const bool negative = *start == '-';
    const char* first = *start == '+' || *start == '-' ? start + 1 : start;
    double value = 0.0;
    const auto result = std::from_chars(first, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the exponent's sign decides which.
        const char* e = first;
        while (e < p && *e != 'e' && *e != 'E') ++e;
        if (e < p && e[1] == '-') return 0.0;
        return negative ? -DBL_MAX : DBL_MAX;
    }
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

}  // namespace Orvane
