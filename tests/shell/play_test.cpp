// Playing as in a desktop emulator: hotkeys, quick-state slots, screenshots,
// fast-forward and the items that need a cartridge.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <span>

#include "classic/memory/memory_map.h"
#include "host/paths.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/shell_flags.h"
#include "memory/cartridge.h"
#include "shell/command_ids.h"
#include "shell/quick_states.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

class PlayTest : public test::window_test {
protected:
    void SetUp() override {
        window_test::SetUp();
        std::filesystem::remove_all(program_folder() / "STATES");
        std::filesystem::remove_all(program_folder() / "SCREENSHOTS");
        open_through_menu(cartridge_.write());
    }
    void TearDown() override {
        set_fast_forward(false);
        main_window->set_full_screen(false);
        window_test::TearDown();
    }

    static void press(const QKeySequence& keys) {
        const QKeyCombination key = keys[0];
        QTest::keyClick(main_window, key.key(), key.keyboardModifiers());
    }

    test::test_cartridge cartridge_;
};

// The item of the menu bar's submenu titled `title` (null when none is).
const QAction* submenu_item(const QString& title) {
    for (const QMenu* menu : main_window->findChildren<QMenu*>()) {
        if (menu->title() == title) {
            return menu->menuAction();
        }
    }
    return nullptr;
}

std::vector<std::filesystem::path> files_in(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::exists(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            files.push_back(entry.path());
        }
    }
    return files;
}

TEST_F(PlayTest, EachHotkeyTriggersItsCommand) {
    int open_dialogs = 0;
    main_window->choose_cartridge = [&](const QString&) {
        ++open_dialogs;
        return QString();
    };
    struct case_t {
        const char* keys;
        std::function<bool()> done;
    };
    const case_t cases[] = {
        {"Ctrl+O", [&] { return open_dialogs == 1; }},
        {"P", [] { return emulation_running == 0; }},
        {"P", [] { return emulation_running == 1; }},
        {"Ctrl+3", [] { return zoom == 3; }},
        {"Ctrl+2", [] { return zoom == 2; }},
        {"Shift+Tab", [] { return fast_forward == 1; }},
        {"Shift+Tab", [] { return fast_forward == 0; }},
        {"F11", [] { return main_window->isFullScreen(); }},
        {"Esc", [] { return !main_window->isFullScreen(); }},
        {"Alt+Return", [] { return main_window->isFullScreen(); }},
        {"F11", [] { return !main_window->isFullScreen(); }},
        {"F12", [] { return files_in(program_folder() / "SCREENSHOTS").size() == 1; }},
        {"Shift+F2", [] { return quick_state_slot(2).used; }},
        {"Ctrl+R", [] { return PC.value == 0x0100; }},
        {"Ctrl+W", [] { return rom_loaded == 0; }},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.keys);
        press(QKeySequence(test.keys));
        EXPECT_TRUE(test.done());
        if (std::string(test.keys) == "Shift+F2") {
            PC.value = 0x1234;  // so that Reset can be seen
        }
    }
    EXPECT_EQ(main_window->action(id_exit)->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(main_window->action(id_pause)->shortcuts().value(1), QKeySequence(Qt::Key_Pause));
    EXPECT_TRUE(messages.empty());
}

// Tab held fast-forwards until it is let go; Shift+Tab toggles on the press,
// whichever key comes up first, and a Tab held meanwhile leaves the toggle on.
TEST_F(PlayTest, TabHoldsFastForwardAndShiftTabTogglesIt) {
    struct key_event {
        bool press;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int fast_forward_after;
    };
    const key_event shift_tab_shift_first[] = {
        {true, Qt::Key_Shift, Qt::ShiftModifier, 0},
        {true, Qt::Key_Tab, Qt::ShiftModifier, 1},
        {false, Qt::Key_Shift, Qt::NoModifier, 1},
        {false, Qt::Key_Tab, Qt::NoModifier, 1},
    };
    const key_event tab_held_and_shift_tab_tab_first[] = {
        {true, Qt::Key_Tab, Qt::NoModifier, 1},
        {false, Qt::Key_Tab, Qt::NoModifier, 1},
        {true, Qt::Key_Shift, Qt::ShiftModifier, 1},
        {true, Qt::Key_Backtab, Qt::ShiftModifier, 0},
        {false, Qt::Key_Backtab, Qt::ShiftModifier, 0},
        {false, Qt::Key_Shift, Qt::NoModifier, 0},
        {true, Qt::Key_Tab, Qt::NoModifier, 1},
        {false, Qt::Key_Tab, Qt::NoModifier, 0},
    };
    for (const auto& events : {std::span<const key_event>(shift_tab_shift_first),
                               std::span<const key_event>(tab_held_and_shift_tab_tab_first)}) {
        for (const key_event& event : events) {
            SCOPED_TRACE(std::to_string(&event - events.data()));
            event.press ? QTest::keyPress(main_window, event.key, event.modifiers)
                        : QTest::keyRelease(main_window, event.key, event.modifiers);
            EXPECT_EQ(fast_forward, event.fast_forward_after);
            EXPECT_EQ(checked(id_fast_forward), event.fast_forward_after == 1);
        }
    }
}

// Emulation > Rewind keeps the chosen seconds of play; Backspace held then
// brings the machine back through them, and the status line says what it does.
TEST_F(PlayTest, BackspaceHeldRewindsThroughTheLengthChosen) {
    const auto status = [] { return main_window->screen()->status()->message(); };
    main_window->command(id_rewind_off);
    QTest::keyPress(main_window, Qt::Key_Backspace);
    QTest::keyRelease(main_window, Qt::Key_Backspace);
    EXPECT_EQ(status(), "Rewind is off: Emulation > Rewind");
    main_window->command(id_rewind_off + 1);
    EXPECT_EQ(rewind_length(), 10);
    EXPECT_TRUE(checked(id_rewind_off + 1));
    EXPECT_FALSE(checked(id_rewind_off + 3));
    EXPECT_EQ(saved_rewind_seconds(), 10);

    const auto play = [](int frames) { run_frames(frames, [](uint64_t) {}); };
    write_byte(0xC000, 1);
    play(20);
    write_byte(0xC000, 2);
    play(20);
    QTest::keyPress(main_window, Qt::Key_Backspace);
    play(40);
    EXPECT_TRUE(rewinding());
    EXPECT_EQ(status(), "Rewinding");
    EXPECT_EQ(read_byte(0xC000), 1) << "back before the second write";
    QTest::keyRelease(main_window, Qt::Key_Backspace);
    EXPECT_EQ(status(), "") << "said no longer than it lasts";
    play(1);
    EXPECT_FALSE(rewinding());
    main_window->command(id_rewind_off + 3);
}

TEST_F(PlayTest, QuickStateSlotsSaveListAndLoad) {
    PC.value = 0x4321;
    write_byte(0xC000, 0x5A);
    press(QKeySequence("Shift+F3"));
    const std::filesystem::path state(quick_state_path(3).toStdString());
    EXPECT_EQ(std::filesystem::file_size(state), 94842u);
    const QImage thumbnail(QString::fromStdString(state.string() + ".png"));
    EXPECT_EQ(thumbnail.size(), QSize(80, 72));

    main_window->show_quick_states();
    const QString listed = main_window->action(id_quick_load_1 + 2)->text();
    EXPECT_TRUE(listed.startsWith("&3  ")) << listed.toStdString();
    EXPECT_FALSE(listed.contains("empty")) << listed.toStdString();
    EXPECT_FALSE(main_window->action(id_quick_load_1 + 2)->icon().isNull());
    EXPECT_TRUE(main_window->action(id_quick_load_1 + 3)->text().contains("empty"));

    PC.value = 0x0200;
    write_byte(0xC000, 0x00);
    press(QKeySequence("F3"));
    EXPECT_EQ(PC.value, 0x4321);
    EXPECT_EQ(read_byte(0xC000), 0x5A);

    press(QKeySequence("F4"));
    EXPECT_TRUE(messages.empty()) << "no box stops the game";
    const QString status = main_window->screen()->status()->message();
    EXPECT_TRUE(status.contains("slot 4 is empty")) << status.toStdString();
    EXPECT_EQ(PC.value, 0x4321) << "an empty slot changes nothing";
    EXPECT_EQ(emulation_running, 1);
}

TEST_F(PlayTest, ScreenshotIsThePictureAtTheZoomAndSaysWhere) {
    main_window->command(id_zoom_1 + 2);
    main_window->tick();
    // The next frame's lines drawn so far, as when a slice ends within a
    // frame: the screenshot is still the picture presented.
    std::fill_n(frame_buffer + 70 * frame_row_bytes, frame_row_bytes, 0x12);
    press(QKeySequence("F12"));
    const std::vector<std::filesystem::path> shots = files_in(program_folder() / "SCREENSHOTS");
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].filename().string().rfind(
                  std::filesystem::path(rom_path).filename().string() + "-", 0),
              0u)
        << shots[0];
    const QImage shot(QString::fromStdString(shots[0].string()));
    EXPECT_EQ(shot.size(), QSize(480, 432));
    const QImage picture = main_window->screen()->presented_frame();
    EXPECT_EQ(shot.pixel(3 * 100 + 1, 3 * 70 + 2), picture.pixel(100, 70));
    EXPECT_NE(picture.pixel(100, 70), qRgb(0x12, 0x12, 0x12));
    EXPECT_TRUE(main_window->screen()->status()->message().contains(
        QString::fromStdString(shots[0].string())));
    main_window->command(id_zoom_1 + 1);
}

TEST_F(PlayTest, AccurateMachineAndModelPowerTheGameOnAgain) {
    const auto status_text = [] {
        return main_window->screen()->status()->message().toStdString();
    };
    main_window->command(id_quick_save_1);
    struct case_t {
        int command;
        bool accurate, colour;
        const char* switched;  // what the status line names
    };
    const case_t cases[] = {
        {id_accurate_machine, true, false, "Accurate machine"},
        {id_model_auto + 2, true, true, "Game Boy Color model"},
        {id_model_auto, true, false, "Auto model (Game Boy)"},
        {id_model_auto + 1, true, false, "Game Boy model"},
        {id_accurate_machine, false, false, "TOV's own machine"},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.command);
        PC.value = 0x1234;
        main_window->command(test.command);
        EXPECT_EQ(PC.value, 0x0100) << "powered on again";
        EXPECT_EQ(status_text(), std::string(test.switched) + ": the game was powered on again");
        EXPECT_EQ(checked(id_accurate_machine), test.accurate);
        EXPECT_EQ(saved_accurate_machine(), test.accurate);
        EXPECT_EQ(colour_model, test.colour);
        EXPECT_EQ(submenu_item("&Model")->isEnabled(), test.accurate);
        EXPECT_EQ(checked(id_accurate_sound), test.accurate) << "the accurate machine plays it";
        for (const int id : {id_accurate_sound, id_timing_1, id_timer_enable}) {
            EXPECT_EQ(main_window->action(id)->isEnabled(), !test.accurate) << id;
        }
    }
    EXPECT_EQ(saved_model(), model_choice::monochrome);
    main_window->command(id_model_auto);
    EXPECT_TRUE(messages.empty());

    // A quick state of the other machine's kind says so and changes nothing.
    main_window->command(id_accurate_machine);
    PC.value = 0x4321;
    main_window->command(id_quick_load_1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("saved by TOV's own machine"), std::string::npos) << messages[0];
    EXPECT_EQ(PC.value, 0x4321);
    main_window->command(id_accurate_machine);
}

TEST_F(PlayTest, ItemsThatNeedACartridgeAreDisabledWithoutOne) {
    const int needing[] = {id_close_rom,
                           id_load_state,
                           id_save_state,
                           id_screenshot,
                           id_resume,
                           id_stop,
                           id_pause,
                           id_reset,
                           id_fast_forward,
                           id_debug,
                           id_cheating,
                           id_quick_load_1,
                           id_quick_load_1 + 8,
                           id_quick_save_1,
                           id_quick_save_1 + 8,
                           id_import_battery,
                           id_export_battery};
    const int not_needing[] = {id_open_rom,     id_exit,          id_joypad,
                               id_frameskip_0,  id_full_throttle, id_sound_enable,
                               id_timer_enable, id_timing_1,      id_zoom_1,
                               id_full_screen,  id_about,         id_pause_when_inactive};
    const QAction* quick_states = submenu_item("&Quick States");
    ASSERT_NE(quick_states, nullptr);
    for (const bool loaded : {true, false}) {
        if (!loaded) {
            main_window->command(id_close_rom);
        }
        for (const int id : needing) {
            EXPECT_EQ(main_window->action(id)->isEnabled(), loaded) << id;
        }
        EXPECT_EQ(quick_states->isEnabled(), loaded) << "the Quick States submenu";
        for (const int id : not_needing) {
            EXPECT_TRUE(main_window->action(id)->isEnabled()) << id;
        }
    }
}

}  // namespace
}  // namespace tov
