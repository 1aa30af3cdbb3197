// Reading menu files with TinyXML, safely: the bytes come through the file layer, nesting
// is bounded before the parser sees them (it recurses once per level), attribute values are
// cut to their field limits and numbers are read as decimal prefixes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TiXmlDocument;
class TiXmlElement;

namespace MenuXml {

// Largest menu file read, deepest element nesting and most attributes in one element accepted.
// The parser recurses once per level and checks every attribute against the ones before it,
// so both are bounded before it sees the text.
inline constexpr size_t kMaxFileBytes = size_t{4} << 20;
inline constexpr int kMaxDepth = 64;
inline constexpr int kMaxAttributes = 256;

struct Shape {
    int depth = 0;        // deepest element nesting
    int attributes = 0;   // most attributes in one tag
};

// The shape of an XML text, measured conservatively: every opened element that is not closed
// by "/>" or a closing tag adds a level; every '=' outside quoted values in a tag counts as
// an attribute.
Shape MeasureShape(const std::vector<uint8_t>& bytes);

// Parses bytes into doc; false with a reason when the text is too deep or not XML.
bool Parse(const std::vector<uint8_t>& bytes, TiXmlDocument& doc, std::string& reason);

// The longest decimal floating-point prefix of text ("12.5px" is 12.5; "0x10" is 0; "abc" is 0).
// Never infinite or NaN: values beyond the float range are clamped to it.
float ParseDecimal(const char* text);

// Copies the attribute into out, cut to limit characters; false (out unchanged) when absent.
bool ReadText(const TiXmlElement& element, const char* attribute, size_t limit, std::string& out);
// Reads the attribute as a decimal number; false (out unchanged) when absent.
bool ReadFloat(const TiXmlElement& element, const char* attribute, float& out);

}  // namespace MenuXml
