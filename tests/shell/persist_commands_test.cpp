// Battery files and save states as the window's commands use them.
#include <QString>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "classic/memory/memory_map.h"
#include "classic/state/battery.h"
#include "classic/state/save_state.h"
#include "host/paths.h"
#include "machine/cpu_state.h"
#include "machine/shell_flags.h"
#include "memory/cartridge.h"
#include "shell/command_ids.h"
#include "shell/state_commands.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

using PersistCommandTest = test::window_test;

constexpr std::size_t work_ram_offset = 40965;  // work RAM bank 0 in a battery file

std::filesystem::path battery_of(const std::string& cartridge_path) {
    return program_folder() / "BATTERY" /
           (std::filesystem::path(cartridge_path).filename().string() + ".sav");
}

// A battery file whose first work RAM byte (C000) is `value`.
void write_battery(const std::filesystem::path& path, uint8_t value) {
    std::string bytes(battery_file_size, '\0');
    bytes[work_ram_offset] = static_cast<char>(value);
    std::filesystem::create_directories(path.parent_path());
    test::write_bytes(path, bytes);
}

TEST_F(PersistCommandTest, OpeningAnotherCartridgeSavesTheFirstThenReadsTheSecond) {
    test::test_cartridge first;
    test::test_cartridge second;
    const std::string first_path = first.write();
    const std::string second_path = second.write();
    write_battery(battery_of(second_path), 0x77);
    open_through_menu(first_path);
    EXPECT_FALSE(std::filesystem::exists(battery_of(first_path))) << "no battery file yet";
    EXPECT_EQ(emulation_running, 1);
    write_byte(0xC000, 0x42);
    open_through_menu(second_path);
    const std::string saved = test::file_bytes(battery_of(first_path));
    ASSERT_EQ(saved.size(), 77966u);
    EXPECT_EQ(static_cast<uint8_t>(saved[work_ram_offset]), 0x42) << "under the first one's name";
    EXPECT_EQ(read_byte(0xC000), 0x77) << "the second one's battery file was read";
    EXPECT_TRUE(messages.empty());
}

TEST_F(PersistCommandTest, CloseRomSavesAndReopeningRestores) {
    test::test_cartridge game;
    test::test_cartridge other;
    open_through_menu(game.write());
    write_byte(0xC000, 0x42);
    write_byte(0xFF90, 0x99);
    write_byte(0xFFFF, 0x1F);
    main_window->command(id_close_rom);
    EXPECT_EQ(std::filesystem::file_size(battery_of(game.write())), 77966u);
    open_through_menu(other.write());
    ASSERT_EQ(read_byte(0xC000), 0x00);
    open_through_menu(game.write());
    EXPECT_EQ(read_byte(0xC000), 0x42);
    EXPECT_EQ(read_byte(0xFF90), 0x99);
    EXPECT_EQ(read_byte(0xFFFF), 0x1F);
}

TEST_F(PersistCommandTest, ResetNeitherReadsNorWritesTheBattery) {
    test::test_cartridge game;
    open_through_menu(game.write());
    write_battery(battery_of(game.write()), 0x77);
    write_byte(0xC000, 0x42);
    main_window->command(id_reset);
    EXPECT_EQ(read_byte(0xC000), 0x00) << "powered on, the battery file not read";
    EXPECT_EQ(static_cast<uint8_t>(test::file_bytes(battery_of(game.write()))[work_ram_offset]),
              0x77)
        << "and not written";
}

TEST_F(PersistCommandTest, ShutdownSavesTheBatteryOfALoadedCartridgeOnly) {
    test::test_cartridge game;
    open_through_menu(game.write());
    write_byte(0xC000, 0x42);
    shutdown();
    EXPECT_EQ(static_cast<uint8_t>(test::file_bytes(battery_of(game.write()))[work_ram_offset]),
              0x42);
    main_window->command(id_close_rom);
    std::filesystem::remove(battery_of(game.write()));
    shutdown();
    EXPECT_FALSE(std::filesystem::exists(battery_of(game.write())));
}

TEST_F(PersistCommandTest, FailedBatteryWriteIsShownAndTheGameGoesOn) {
    test::test_cartridge game;
    open_through_menu(game.write());
    const std::filesystem::path folder = program_folder() / "BATTERY";
    const std::filesystem::path aside = program_folder() / "BATTERY.aside";
    std::filesystem::create_directories(folder);
    std::filesystem::rename(folder, aside);
    std::ofstream(folder) << "not a folder";
    write_byte(0xC000, 0x42);
    test::test_cartridge other;
    open_through_menu(other.write());
    std::filesystem::remove(folder);
    std::filesystem::rename(aside, folder);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(folder.string()), std::string::npos) << messages[0];
    EXPECT_EQ(rom_path, other.write()) << "the other cartridge is opened all the same";
    EXPECT_EQ(emulation_running, 1);
}

// The state dialogs, answered by the test: each records what it was offered
// and whether the emulation ran while it was open.
struct state_dialog_stub {
    explicit state_dialog_stub(const QString& path) : answer(path) {}

    QString answer;
    QString offered;
    int shown = 0;
    uint8_t running_inside = 0xFF;

    std::function<QString(const QString&)> chooser() {
        return [this](const QString& last_path) {
            offered = last_path;
            ++shown;
            running_inside = emulation_running;
            return answer;
        };
    }
};

TEST_F(PersistCommandTest, SaveAndLoadStateShareThePathAndResumeAfterwards) {
    test::test_cartridge game;
    open_through_menu(game.write());
    const QString path = QString::fromStdString(test::temp_path(".gst"));
    state_dialog_stub save(path);
    state_dialog_stub load(path);
    main_window->choose_state_to_save = save.chooser();
    main_window->choose_state_to_load = load.chooser();

    PC.value = 0x1234;
    write_byte(0xC000, 0x42);
    main_window->command(id_save_state);
    EXPECT_EQ(save.running_inside, 0);
    EXPECT_EQ(emulation_running, 1) << "running again after the dialog";
    EXPECT_EQ(std::filesystem::file_size(path.toStdString()), 94842u);
    EXPECT_EQ(main_window->screen()->status()->message(), "State saved: " + path);

    PC.value = 0x0200;
    write_byte(0xC000, 0x00);
    main_window->command(id_load_state);
    EXPECT_EQ(load.offered, path) << "the load dialog starts at the file just saved";
    EXPECT_EQ(load.running_inside, 0);
    EXPECT_EQ(PC.value, 0x1234);
    EXPECT_EQ(read_byte(0xC000), 0x42);
    EXPECT_EQ(main_window->screen()->status()->message(), "State loaded: " + path);

    load.answer = "";
    PC.value = 0x0200;
    main_window->command(id_load_state);
    EXPECT_EQ(load.shown, 2);
    EXPECT_EQ(PC.value, 0x0200) << "cancelling changes nothing";
    EXPECT_EQ(state_path, path.toStdString());
    EXPECT_EQ(emulation_running, 1);
    EXPECT_TRUE(messages.empty());
    std::filesystem::remove(path.toStdString());
}

// Export writes the cartridge RAM as raw bytes; an import of another size is
// refused in a message box and changes nothing; one that fits is taken and
// said in the status line.
TEST_F(PersistCommandTest, BatteryFilesMoveInAndOutThroughTheFileMenu) {
    test::test_cartridge game;
    game.byte(0x0147, 0x03).byte(0x0149, 0x02);  // MBC1, 8 KiB RAM, battery
    open_through_menu(game.write());
    const QString exported = QString::fromStdString(test::temp_path(".sav"));
    state_dialog_stub export_dialog(exported);
    main_window->choose_battery_to_export = export_dialog.chooser();
    write_byte(0xA010, 0x77);
    main_window->command(id_export_battery);
    const std::string bytes = test::file_bytes(exported.toStdString());
    ASSERT_EQ(bytes.size(), 0x2000u);
    EXPECT_EQ(bytes[0x10], '\x77');
    EXPECT_EQ(export_dialog.running_inside, 0);

    struct attempt {
        std::size_t size;
        bool taken;
    };
    for (const attempt& file : {attempt{100, false}, attempt{0x2000, true}}) {
        const QString path = QString::fromStdString(test::temp_path(".sav"));
        std::ofstream(path.toStdString(), std::ios::binary) << std::string(file.size, '\x55');
        state_dialog_stub import_dialog(path);
        main_window->choose_battery_to_import = import_dialog.chooser();
        messages.clear();
        main_window->command(id_import_battery);
        EXPECT_EQ(peek_byte(0xA010), file.taken ? 0x55 : 0x77) << file.size;
        EXPECT_EQ(messages.size(), file.taken ? 0u : 1u) << file.size;
        std::filesystem::remove(path.toStdString());
    }
    EXPECT_EQ(emulation_running, 1);
    std::filesystem::remove(exported.toStdString());
}

TEST_F(PersistCommandTest, StateLoadsWithoutACartridgeAndNothingRuns) {
    const std::string path = test::temp_path(".gst");
    PC.value = 0x4321;
    const result saved = save_state(path);
    ASSERT_TRUE(saved.ok) << saved.message;
    PC.value = 0x0000;
    state_dialog_stub load(QString::fromStdString(path));
    main_window->choose_state_to_load = load.chooser();
    main_window->command(id_load_state);
    EXPECT_EQ(PC.value, 0x4321);
    EXPECT_EQ(rom_loaded, 0);
    EXPECT_EQ(emulation_running, 0);
    std::filesystem::remove(path);
}

TEST_F(PersistCommandTest, ShortStateFileIsRefusedWithAMessage) {
    test::test_cartridge game;
    open_through_menu(game.write());
    const std::string path = test::temp_path(".gst");
    std::ofstream(path, std::ios::binary) << std::string(1000, '\x11');
    state_dialog_stub load(QString::fromStdString(path));
    main_window->choose_state_to_load = load.chooser();
    PC.value = 0x0150;
    main_window->command(id_load_state);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(path), std::string::npos) << messages[0];
    EXPECT_EQ(PC.value, 0x0150);
    EXPECT_EQ(read_byte(0xC000), 0x00);
    EXPECT_EQ(emulation_running, 1);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace tov
