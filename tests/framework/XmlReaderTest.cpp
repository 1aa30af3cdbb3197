// The XML reader: walking elements and attributes, numbers by their prefix, and the limits that
// keep hostile files cheap.
#include "framework/xml/XmlReader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

using Orvane::XmlDecimalPrefix;
using Orvane::XmlDocument;
using Orvane::XmlElement;

TEST(XmlReader, WalksElementsByNameAndReadsAttributes) {
    XmlDocument doc;
    std::string reason;
    ASSERT_TRUE(doc.Parse(std::string("<?xml version=\"1.0\"?>\n<Level a=\"1\">"
                                      "<Shape mainImage=\"x.png\"/><Other/>"
                                      "<Shape mainImage=\"y.png\" maskImage=\"m &amp; n\"/>"
                                      "</Level>"),
                          reason))
        << reason;
    XmlElement root = doc.Root();
    ASSERT_TRUE(root);
    EXPECT_STREQ(root.Name(), "Level");
    XmlElement first = root.FirstChild("Shape");
    XmlElement second = first.NextSibling("Shape");
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(second.NextSibling("Shape"));
    EXPECT_STREQ(first.Attribute("mainImage"), "x.png");
    EXPECT_EQ(first.Attribute("maskImage"), nullptr);
    std::string text = "unchanged";
    EXPECT_FALSE(first.ReadText("maskImage", 10, text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(second.ReadText("maskImage", 3, text));
    EXPECT_EQ(text, "m &");
    char field[4];
    EXPECT_TRUE(second.ReadText("mainImage", field, sizeof field));
    EXPECT_STREQ(field, "y.p");
    EXPECT_FALSE(XmlElement().FirstChild());
    EXPECT_STREQ(XmlElement().Name(), "");
}

TEST(XmlReader, NumbersAreReadByTheirLongestDecimalPrefix) {
    struct Case { const char* text; double value; };
    const Case cases[] = {
        {"12.5px", 12.5}, {"  -3", -3.0}, {"+.5", 0.5}, {"0x10", 0.0}, {"abc", 0.0}, {"", 0.0},
        {"1e3", 1000.0}, {"1e", 1.0}, {"7.", 7.0}, {".", 0.0}, {"1e-999", 0.0}, {"nan", 0.0},
        {"inf", 0.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(XmlDecimalPrefix(c.text), c.value) << c.text;
    EXPECT_EQ(XmlDecimalPrefix("1e999"), DBL_MAX);
    EXPECT_EQ(XmlDecimalPrefix("-1e999"), -DBL_MAX);

    XmlDocument doc;
    std::string reason;
    ASSERT_TRUE(doc.Parse(std::string("<a big=\"1e300\" n=\"2.25\"/>"), reason));
    float f = 0.0f;
    EXPECT_TRUE(doc.Root().ReadFloat("big", f));
    EXPECT_EQ(f, FLT_MAX);
    EXPECT_TRUE(doc.Root().ReadFloat("n", f));
    EXPECT_EQ(f, 2.25f);
    EXPECT_FALSE(doc.Root().ReadFloat("missing", f));
}

TEST(XmlReader, RefusesWhatIsNotXmlOrBeyondItsLimits) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) text += "<e>";
        for (int i = 0; i < depth; ++i) text += "</e>";
        return text;
    };
    std::string manyAttributes = "<e";
    for (int i = 0; i < XmlDocument::kMaxAttributes + 1; ++i) {
        manyAttributes += " a" + std::to_string(i) + "=\"1\"";
    }
    manyAttributes += "/>";
    // Elements and attributes spread thin: each element is harmless, their number is not.
    auto repeated = [](const std::string& element, size_t count) {
        std::string text = "<r>";
        for (size_t i = 0; i < count; ++i) text += element;
        return text + "</r>";
    };
    const std::string cases[] = {
        "", "not xml", "<a><b></a>", "<a", nested(XmlDocument::kMaxDepth + 1), nested(100000),
        manyAttributes, std::string(XmlDocument::kMaxFileBytes + 1, ' '),
        repeated("<a/>", XmlDocument::kMaxMarkupSigns),
        repeated("<a b=''/>", XmlDocument::kMaxAttributeSigns + 1),
    };
    for (const std::string& text : cases) {
        XmlDocument doc;
        std::string reason;
        EXPECT_FALSE(doc.Parse(text, reason)) << text.substr(0, 40);
        EXPECT_FALSE(reason.empty());
        EXPECT_FALSE(doc.Root());
    }
    XmlDocument doc;
    std::string reason;
    EXPECT_TRUE(doc.Parse(nested(XmlDocument::kMaxDepth), reason)) << reason;
    EXPECT_TRUE(doc.Parse(repeated("<a b=''/>", XmlDocument::kMaxAttributeSigns), reason)) << reason;
    // A zero byte ends the text.
    EXPECT_TRUE(doc.Parse(std::string("<a/>\0<<<", 8), reason)) << reason;
    EXPECT_FALSE(doc.LoadFile("no-such-file.xml", reason));
}
