// The program's XML reader: menus, shape classes and level files are read through it. A file
// comes through the file layer (packs first), is parsed by TinyXML-2 within fixed limits and is
// then walked element by element: first child by name, next sibling by name, attribute by name.
// The parser itself enforces the nesting limit while it builds the tree, so no second reading
// can disagree with it; the rest of the program never sees the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
}  // namespace tinyxml2

namespace Orvane {

// One element of a parsed document, or none. A light handle: valid while its document lives.
class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(const tinyxml2::XMLElement* element) : element_(element) {}

    explicit operator bool() const { return element_ != nullptr; }
    // The element's tag ("" for none).
    const char* Name() const;
    // The first child element, of that tag when name is given; none when there is no such child.
    XmlElement FirstChild(const char* name = nullptr) const;
    // The next sibling element, of that tag when name is given.
    XmlElement NextSibling(const char* name = nullptr) const;
    // The attribute's value, or null when the element has no such attribute.
    const char* Attribute(const char* name) const;
    // How many attributes the element carries.
    int AttributeCount() const;

    // Copies the attribute into out, cut to limit bytes; false (out unchanged) when absent.
    bool ReadText(const char* attribute, size_t limit, std::string& out) const;
    // Copies the attribute into a fixed character field (zero-terminated, cut to fit).
    bool ReadText(const char* attribute, char* out, size_t size) const;
    // The attribute as a decimal number by its longest leading prefix ("12.5px" is 12.5, no
    // number is 0); false (out unchanged) when absent. Never infinite or NaN: values beyond the
    // range are clamped to it.
    bool ReadFloat(const char* attribute, float& out) const;
    bool ReadDouble(const char* attribute, double& out) const;

private:
    const tinyxml2::XMLElement* element_ = nullptr;
};

class XmlDocument {
public:
    // Largest file read, deepest nesting and most attributes on one element accepted.
    static constexpr size_t kMaxFileBytes = size_t{4} << 20;
    static constexpr int kMaxDepth = 64;
    static constexpr int kMaxAttributes = 256;
    // Most '<' and '=' signs a text may hold. Every element needs a '<' and every attribute an
    // '=' of its own, so these bound the parser's work and memory from above before it runs:
    // it keeps a node per element and checks each attribute against the ones before it on
    // its element.
    static constexpr size_t kMaxMarkupSigns = 65536;
    static constexpr size_t kMaxAttributeSigns = 4096;

    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Reads a file through the file layer ('\' separators allowed) and parses it. False, with a
    // reason, when it cannot be read, is too large, too deep, holds too many elements or
    // attributes, or is not XML.
    bool LoadFile(const std::string& name, std::string& reason);
    // Parses bytes (an embedded zero byte ends the text). The same limits apply.
    bool Parse(const std::vector<uint8_t>& bytes, std::string& reason);
    bool Parse(const std::string& text, std::string& reason);

    bool Loaded() const { return loaded_; }
    // The document element (the first top-level element); none when nothing is loaded.
    XmlElement Root() const;
    // The first top-level element of that tag.
    XmlElement FirstChild(const char* name) const;

private:
    bool ParseText(const char* text, size_t length, std::string& reason);

    std::unique_ptr<tinyxml2::XMLDocument> doc_;
    bool loaded_ = false;
};

// The longest decimal floating-point prefix of text (leading blanks, sign, digits, fraction,
// exponent); 0 when there is none. No hexadecimal, "inf" or "nan"; never infinite.
double XmlDecimalPrefix(const char* text);

}  // namespace Orvane
