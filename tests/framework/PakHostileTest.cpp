// Damaged and hostile packs: never a read outside the file, bad entries dropped with a log line.
#include "framework/core/Diagnostics.h"
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "support/HostileInputs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Orvane;

namespace {

// Builds decoded pack bytes piece by piece; Encoded() applies the XOR key.
struct RawPak {
    std::vector<uint8_t> bytes;
    RawPak& U8(uint8_t v) { bytes.push_back(v); return *this; }
    RawPak& U32(uint32_t v) { for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i))); return *this; }
    RawPak& U64(uint64_t v) { for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(v >> (8 * i))); return *this; }
    RawPak& Text(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); return *this; }
    RawPak& Header() { return U32(kPakMagic).U32(kPakVersion); }
    RawPak& Entry(const std::string& name, uint32_t size) { return U8(0).U8(static_cast<uint8_t>(name.size())).Text(name).U32(size).U64(0); }
    RawPak& End() { return U8(kPakEndOfDirectory); }
    RawPak& Cut(size_t n) { bytes.resize(std::min(n, bytes.size())); return *this; }
    std::vector<uint8_t> Encoded() const {
        std::vector<uint8_t> out = bytes;
        XorPakBytes(out.data(), out.size());
        return out;
    }
};

struct HostileCase {
    const char* what;
    RawPak pak;
    bool accepted;
    std::vector<std::string> readable;   // name=content of every file that must read
    std::vector<std::string> absent;
    int warnings;                        // log lines with FAILED or WARNING
};

RawPak ThirtyNameless() {
    RawPak pak;
    pak.Header();
    for (int i = 0; i < 30; ++i) pak.Entry("", 0);
    return pak.Entry("c", 1).End().Text("c");
}

std::vector<HostileCase> Cases() {
    return {
        {"empty file", RawPak{}, false, {}, {"a"}, 1},
        {"half a header", RawPak{}.U32(kPakMagic).U8(0), false, {}, {"a"}, 1},
        {"wrong magic", RawPak{}.U32(0xBAC04AC1).U32(0).Entry("a", 1).End().Text("x"), false, {}, {"a"}, 1},
        {"wrong version", RawPak{}.U32(kPakMagic).U32(1).Entry("a", 1).End().Text("x"), false, {}, {"a"}, 1},
        {"no end of directory", RawPak{}.Header().Entry("a", 0), false, {}, {"a"}, 1},
        {"name runs past the end", RawPak{}.Header().U8(0).U8(200).Text("abc"), false, {}, {"abc"}, 1},
        {"size field cut", RawPak{}.Header().Entry("a", 1).Cut(15), false, {}, {"a"}, 1},
        {"second file past the end", RawPak{}.Header().Entry("a", 2).Entry("b", 5).End().Text("okxy"), true,
         {"a=ok"}, {"b"}, 1},
        {"huge size", RawPak{}.Header().Entry("a", 0xFFFFFFFFu).Entry("b", 1).End().Text("z"), true, {},
         {"a", "b"}, 2},
        {"nameless entry", RawPak{}.Header().Entry("", 0).Entry("c", 1).End().Text("c"), true, {"c=c"}, {}, 1},
        {"thirty nameless entries", ThirtyNameless(), true, {"c=c"}, {}, int(kPakMaxProblemLines) + 1},
        {"well formed", RawPak{}.Header().Entry("a", 1).Entry("d\\e", 2).End().Text("1de"), true,
         {"a=1", "d/e=de"}, {}, 0},
    };
}

TEST(PakHostile, DamagedPacksNeverReadOutsideTheFile) {
    for (const HostileCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        TestSupport::ScopedTempDir dir;
        TestSupport::ScopedCwd cwd(dir.Path());
        ASSERT_TRUE(TestSupport::WriteFile(dir / "main.pak", c.pak.Encoded()));
        int warnings = 0;
        SetDiagnosticHandler([&](const std::string& line) {
            warnings += line.find("FAILED") != std::string::npos || line.find("WARNING") != std::string::npos;
        });
        PakInterface pak;
        EXPECT_EQ(pak.AddPakFile("main.pak"), c.accepted);
        SetDiagnosticHandler(nullptr);
        EXPECT_EQ(warnings, c.warnings);
        PakFile* self = pak.FOpen("main.pak", "rb");   // the pack itself is always readable
        ASSERT_NE(self, nullptr);
        std::vector<uint8_t> decoded(c.pak.bytes.size() + 1);
        EXPECT_EQ(pak.FRead(decoded.data(), 1, decoded.size(), self), c.pak.bytes.size());
        decoded.pop_back();
        EXPECT_EQ(decoded, c.pak.bytes);
        pak.FClose(self);

        for (const std::string& entry : c.readable) {
            const std::string name = entry.substr(0, entry.find('='));
            PakFile* f = pak.FOpen(name.c_str(), "rb");
            ASSERT_NE(f, nullptr) << name;
            char buf[16] = {};
            const size_t n = pak.FRead(buf, 1, sizeof buf, f);
            EXPECT_EQ(std::string(buf, n), entry.substr(entry.find('=') + 1));
            pak.FClose(f);
        }
        for (const std::string& name : c.absent) EXPECT_FALSE(pak.IsPacked(name)) << name;
    }
}

TEST(PakHostile, DirectoryParserStopsAtEveryCut) {
    // Every prefix of a valid pack is parsed without reading beyond it.
    const RawPak full = RawPak{}.Header().Entry("Graphics\\a.png", 3).Entry("b", 2).End().Text("abcde");
    for (size_t n = 0; n <= full.bytes.size(); ++n) {
        std::vector<uint8_t> prefix(full.bytes.begin(), full.bytes.begin() + static_cast<long>(n));
        const PakDirectory dir = ParsePakDirectory(prefix.data(), prefix.size());
        for (const PakDirectoryEntry& e : dir.entries) EXPECT_LE(e.offset + e.size, n);
        EXPECT_EQ(dir.status == PakDirectory::Status::Ok, n >= full.bytes.size() - 5) << n;
    }
}

TEST(PakHostile, HugeDirectoriesAndHugePacksCostLittleMemory) {
    TestSupport::ScopedTempDir dir;
    // A million entries: the directory is refused once it passes the limit.
    ASSERT_TRUE(HostileInputs::WritePakOfEmptyEntries(dir / "entries.pak", 1'000'000));
    int failures = 0;
    SetDiagnosticHandler([&](const std::string& line) { failures += line.find("FAILED") != std::string::npos; });
    PakInterface entries;
    TestSupport::WorkCost cost = TestSupport::MeasureCost([&] { EXPECT_FALSE(entries.AddPakFile(dir / "entries.pak")); });
    SetDiagnosticHandler(nullptr);
    EXPECT_EQ(failures, 1);
    EXPECT_LT(cost.seconds, 10.0);
    EXPECT_LT(cost.peakMegabytes, 64.0);

    // A pack just under 2 GB (a hole on disk) is not read into memory, yet every byte reads.
    const uint64_t size = kPakMaxSize - 1000;
    ASSERT_TRUE(HostileInputs::WriteSparsePak(dir / "big.pak", size));
    PakInterface big;
    cost = TestSupport::MeasureCost([&] {
        ASSERT_TRUE(big.AddPakFile(dir / "big.pak"));
        PakFile* f = big.FOpen("big.bin", "rb");
        ASSERT_NE(f, nullptr);
        uint8_t bytes[2] = {};
        EXPECT_EQ(big.FRead(bytes, 1, 1, f), 1u);
        big.FSeek(f, -1, SEEK_END);
        EXPECT_EQ(big.FRead(bytes + 1, 1, 1, f), 1u);
        const long directory = 8 + 2 + 7 + 12 + 1;   // header, the entry of "big.bin", end byte
        EXPECT_EQ(big.FTell(f), long(size) - directory);
        EXPECT_EQ(bytes[0], kPakXorKey);   // zeros on disk, decoded
        EXPECT_EQ(bytes[1], kPakXorKey);
        big.FClose(f);
    });
    EXPECT_LT(cost.seconds, 10.0);
    EXPECT_LT(cost.peakMegabytes, 64.0);
}

TEST(PakHostile, APackThatShrinksUnderTheLayerGivesShortReads) {
    TestSupport::ScopedTempDir dir;
    const std::string data(300000, 'd');
    ASSERT_TRUE(TestSupport::WriteFile(dir / "main.pak", RawPak{}.Header().Entry("a", uint32_t(data.size())).End().Text(data).Encoded()));
    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile(dir / "main.pak"));
    PakFile* f = pak.FOpen("a", "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(truncate((dir / "main.pak").c_str(), 100000), 0);
    std::string got(data.size(), '\0');
    const size_t n = pak.FRead(got.data(), 1, got.size(), f);
    EXPECT_LT(n, 100000u);
    EXPECT_EQ(got.substr(0, n), data.substr(0, n));
    EXPECT_TRUE(pak.FError(f));
    EXPECT_EQ(pak.FGetC(f), EOF);
    pak.FClose(f);
}

}  // namespace
