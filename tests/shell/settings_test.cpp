// What the window keeps between runs: its settings file in the user's
// configuration folder, and File > "Recent Roms".
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "classic/memory/memory_map.h"
#include "memory/cartridge.h"
#include "shell/command_ids.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

using SettingsTest = test::window_test;

// The items of File > "Recent Roms", as shown.
QStringList recent_menu_items() {
    QStringList items;
    for (const QAction* top : main_window->menuBar()->actions()) {
        for (QAction* item : top->menu()->actions()) {
            if (item->menu() && item->text() == "Recent Roms") {
                for (const QAction* recent : item->menu()->actions()) {
                    items << (recent->isSeparator() ? "-" : recent->text());
                }
            }
        }
    }
    return items;
}

QAction* recent_menu_item(int index) {
    for (const QAction* top : main_window->menuBar()->actions()) {
        for (QAction* item : top->menu()->actions()) {
            if (item->menu() && item->text() == "Recent Roms") {
                return item->menu()->actions().at(index);
            }
        }
    }
    return nullptr;
}

TEST_F(SettingsTest, ZoomPlaceAndFoldersAreWrittenToTheConfigurationFolder) {
    const std::filesystem::path folder = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settings_path().toStdString(), (folder / "tov" / "tov.conf").string());

    main_window->command(id_zoom_1 + 2);
    save_window_place(QPoint(40, 30));
    remember_folder("cartridges", "/games/handheld/game.gb");
    remember_folder("states", "/saves/game.gst");

    // Read back through a settings object of its own, as the next run does.
    QSettings file(settings_path(), QSettings::IniFormat);
    EXPECT_EQ(file.value("window/zoom").toInt(), 3);
    EXPECT_EQ(saved_zoom(), 3);
    EXPECT_EQ(saved_window_place(), QPoint(40, 30));
    EXPECT_EQ(last_folder("cartridges"), "/games/handheld");
    EXPECT_EQ(last_folder("states"), "/saves");

    file.setValue("window/zoom", 9);
    file.sync();
    EXPECT_EQ(saved_zoom(), 2) << "a zoom out of range is not taken";
    main_window->command(id_zoom_1 + 1);
}

// The sound model switches at once, with the running game: the sound
// registers read back as the chosen model has them.
TEST_F(SettingsTest, AccurateSoundIsChosenAtOnceAndRemembered) {
    test::test_cartridge cartridge;
    open_through_menu(cartridge.write());
    EXPECT_FALSE(checked(id_accurate_sound));
    EXPECT_EQ(read_byte(0xFF26) & 0x70, 0x00) << "the voices' model reads 0 there";

    main_window->command(id_accurate_sound);
    EXPECT_TRUE(checked(id_accurate_sound));
    EXPECT_TRUE(saved_accurate_sound());
    EXPECT_EQ(read_byte(0xFF26) & 0xF0, 0xF0) << "powered, the unused bits read 1";
    EXPECT_EQ(read_byte(0xFF13), 0xFF) << "write-only";
    EXPECT_TRUE(cartridge_loaded());

    main_window->command(id_accurate_sound);
    EXPECT_FALSE(checked(id_accurate_sound));
    EXPECT_FALSE(saved_accurate_sound());
    EXPECT_EQ(read_byte(0xFF13), 0x00);
}

TEST_F(SettingsTest, RecentRomsListsTheLastTenNewestFirst) {
    std::vector<std::unique_ptr<test::test_cartridge>> cartridges;
    QStringList names;
    for (int i = 0; i < 12; ++i) {
        cartridges.push_back(std::make_unique<test::test_cartridge>());
        const std::string path = cartridges.back()->write();
        open_through_menu(path);
        names.prepend(QString::fromStdString(std::filesystem::path(path).filename().string()));
    }
    QStringList expected;
    for (int i = 0; i < recent_limit; ++i) {
        expected << QString("&%1 %2").arg(i + 1).arg(names[i]);
    }
    EXPECT_EQ(recent_menu_items(), expected + QStringList({"-", "Clear"}));

    // Opening one again puts it first; choosing one from the list opens it.
    recent_menu_item(4)->trigger();
    EXPECT_EQ(QString::fromStdString(std::filesystem::path(rom_path).filename().string()),
              names[4]);
    EXPECT_EQ(recent_menu_items().front(), "&1 " + names[4]);
    EXPECT_EQ(recent_menu_items()[1], "&2 " + names[0]);

    recent_menu_item(recent_limit + 1)->trigger();  // "Clear"
    EXPECT_EQ(recent_menu_items(), (QStringList{"-", "Clear"}));
    EXPECT_FALSE(recent_menu_item(1)->isEnabled()) << "nothing to clear";
}

TEST_F(SettingsTest, AMissingRecentCartridgeIsTakenOffTheListWithAMessage) {
    test::test_cartridge kept;
    const std::string kept_path = kept.write();
    const std::string gone_path = test::temp_path(".gb");
    {
        test::test_cartridge gone;
        std::filesystem::copy_file(gone.write(), gone_path);
    }
    open_through_menu(gone_path);
    open_through_menu(kept_path);
    std::filesystem::remove(gone_path);
    messages.clear();

    recent_menu_item(1)->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(gone_path), std::string::npos) << messages[0];
    EXPECT_EQ(rom_path, kept_path) << "the running game stays";
    EXPECT_EQ(recent_cartridges(), QStringList{QString::fromStdString(kept_path)});
    EXPECT_EQ(recent_menu_items().size(), 3);
}

}  // namespace
}  // namespace tov
