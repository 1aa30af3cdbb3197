// The settings store: settings.ini under the config root and the registry key.
#include "framework/ini/IniFile.h"
#include "framework/platform/SettingsStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using Orvane::SettingsStore;

TEST(SettingsStore, KeepsValuesInAnIniFileUnderTheKey) {
    TestSupport::ScopedTempDir dir;
    SettingsStore store(dir / "config");
    int i = 0;
    EXPECT_FALSE(store.WriteInt("MusicVolume", 80));   // no key yet: disabled
    EXPECT_FALSE(store.ReadInt("MusicVolume", i));
    EXPECT_EQ(store.FilePath(), "");

    store.SetRegistryKey("Nookvale");
    EXPECT_EQ(store.FilePath(), dir / "config/Nookvale/settings.ini");
    ASSERT_TRUE(store.WriteInt("MusicVolume", 80));    // folders created on demand
    ASSERT_TRUE(store.WriteBool("Muted", true));
    ASSERT_TRUE(store.WriteString("Window\\Title", "Nookvale 2.1"));
    ASSERT_TRUE(store.WriteInt("PreferredX", -12));

    SettingsStore again(dir / "config");
    again.SetRegistryKey("Nookvale");
    bool muted = false;
    std::string title;
    EXPECT_TRUE(again.ReadInt("musicvolume", i));
    EXPECT_EQ(i, 80);
    EXPECT_TRUE(again.ReadBool("Muted", muted));
    EXPECT_TRUE(muted);
    EXPECT_TRUE(again.ReadString("Window\\Title", title));
    EXPECT_EQ(title, "Nookvale 2.1");
    EXPECT_TRUE(again.ReadInt("PreferredX", i));
    EXPECT_EQ(i, -12);
    EXPECT_FALSE(again.ReadString("Title", title));      // the sub-key is its own section
    EXPECT_FALSE(again.ReadInt("Window\\Title", i));     // not a number

    EXPECT_TRUE(again.Erase("Muted"));
    EXPECT_FALSE(again.ReadBool("Muted", muted));
    EXPECT_TRUE(again.Erase("Muted"));
    EXPECT_EQ(TestSupport::ReadFile(again.FilePath()),
              "[Settings]\nMusicVolume=80\nPreferredX=-12\n[Settings\\Window]\nTitle=Nookvale 2.1\n");
}

TEST(SettingsStore, DefaultRootFollowsXdgConfigHome) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        EXPECT_EQ(SettingsStore::DefaultConfigRoot(), xdg);
    }
    SettingsStore store;
    store.SetRegistryKey("Nookvale-test");
    EXPECT_EQ(store.FilePath(), SettingsStore::DefaultConfigRoot() + "/Nookvale-test/settings.ini");
}
