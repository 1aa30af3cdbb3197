// The ini document and the hexadecimal blocks stored in it: any bytes parse, the text comes
// back byte for byte, look-ups and listings agree with each other, a value written is the
// value read, and every value that decodes as a block encodes back to the same digits.
#include "FuzzSupport.h"

#include "framework/ini/HexBlock.h"
#include "framework/ini/IniDocument.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

using Orvane::IniDocument;

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A value that decodes as a block of its length re-encodes to the same digits.
void CheckBlock(std::string_view value) {
    if (value.size() < 2 || value.size() % 2 != 0) return;
    std::vector<uint8_t> bytes((value.size() - 2) / 2);
    if (!Orvane::DecodeHexBlock(value, bytes.data(), bytes.size())) return;
    FUZZ_CHECK(Orvane::EncodeHexBlock(bytes.data(), bytes.size()) == Upper(value));
    // One size off is always refused.
    std::vector<uint8_t> other(bytes.size() + 1);
    FUZZ_CHECK(!Orvane::DecodeHexBlock(value, other.data(), other.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(text);
    FUZZ_CHECK(doc.Serialise() == text);

    const std::vector<std::string> sections = doc.SectionNames();
    for (const std::string& section : sections) {
        for (const auto& [key, value] : doc.Entries(section)) {
            FUZZ_CHECK(doc.Find(section, key) == value);
            FUZZ_CHECK(doc.GetString(section, key).size() <= Orvane::kIniValueLimit);
            CheckBlock(value);
        }
    }
    CheckBlock(text);

    // A write of names and a value taken from the text reads back as written.
    const std::string section = sections.empty() ? std::string("S") : sections.back();
    std::string key = "k";
    for (size_t i = 0; i < size && key.size() < 8; ++i) {
        if (std::isalnum(data[i])) key += static_cast<char>(data[i]);
    }
    const std::string value = Orvane::EncodeHexBlock(data, std::min<size_t>(size, 64));
    if (doc.Set(section, key, value)) {
        FUZZ_CHECK(doc.Find(section, key) == value);
        const IniDocument again = IniDocument::Parse(doc.Serialise());
        FUZZ_CHECK(again.Find(section, key) == value);
        FUZZ_CHECK(doc.Erase(section, key));
        FUZZ_CHECK(!doc.Find(section, key));
    }
    return 0;
}
