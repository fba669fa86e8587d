#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "classic/memory/memory_map.h"
#include "classic/run/run_loop.h"
#include "host/keyboard.h"
#include "machine/cpu_state.h"
#include "machine/options.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "memory/cartridge.h"
#include "memory/cartridge_info.h"
#include "memory/joypad.h"
#include "persist/config.h"
#include "run/frame_driver.h"
#include "shell/about_dialog.h"
#include "shell/command_ids.h"
#include "shell/joypad_dialog.h"
#include "shell/logo.h"
#include "shell/palette_commands.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_archive.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

using WindowTest = test::window_test;

// The menu bar as text: menus, their items with ids, separators as "-".
std::string describe_menu(const QMenu* menu, const std::string& indent) {
    std::string text;
    for (const QAction* item : menu->actions()) {
        if (item->isSeparator()) {
            text += indent + "-\n";
        } else if (item->menu()) {
            text += indent + item->text().toStdString() + "\n" +
                    describe_menu(item->menu(), indent + "  ");
        } else {
            text += indent + item->text().toStdString() + "\n";
        }
    }
    return text;
}

TEST_F(WindowTest, MenuHoldsEveryItemInOrder) {
    std::string text;
    for (const QAction* top : main_window->menuBar()->actions()) {
        text += top->text().toStdString() + "\n" + describe_menu(top->menu(), "  ");
    }
    std::string load_items;
    std::string save_items;
    for (int slot = 1; slot <= 9; ++slot) {
        load_items += "    &" + std::to_string(slot) + "  empty\n";
        save_items += "      &" + std::to_string(slot) + "\n";
    }
    EXPECT_EQ(
        text,
        "&File\n  &Open Rom\n  Recent Roms\n    -\n    Clear\n  &Close Rom\n  -\n"
        "  &Load State\n  &Save State\n  &Quick States\n" +
            load_items + "    -\n    &Save to Slot\n" + save_items +
            "  -\n  Import Battery File...\n  Export Battery File...\n"
            "  -\n  Screens&hot\n  -\n  &Exit\n"
            "&Emulation\n  &Resume\n  &Stop\n  &Pause\n  -\n  R&eset\n  -\n"
            "  &Fast Forward (hold Tab)\n  Fast Forward &Speed\n    2x\n    3x\n    4x\n"
            "    As Fast As Possible\n  Re&wind (hold Backspace)\n    Off\n    10 Seconds\n"
            "    30 Seconds\n    60 Seconds\n  Pause When &Inactive\n  -\n  &Accurate machine\n"
            "  &Model\n    Auto\n    Game Boy\n    Game Boy Color\n"
            "&Others\n  &Debug\n  Developer Tools...\n  &Cheating\n  Cheat Codes...\n  &Joypad\n  "
            "-\n"
            "  &Frameskip\n    0\n    1\n    2\n    3\n  Full Trothle\n  &Sound\n"
            "    &Sound enable\n    -\n    CHANEL 0\n"
            "    CHANEL 1\n    CHANEL 2\n    CHANEL 3\n    -\n    &Accurate sound\n  Timer "
            "enable\n  Timing\n    1\n    2\n"
            "&Zoom\n  X 1\n  X 2\n  X 3\n  X 4\n  -\n  &Full Screen\n  -\n  &Palette\n"
            "    TOV Greys\n    Original Green\n    Pocket\n    Light Grey\n"
            "    High Contrast\n    Custom...\n  Frame Blending\n  Colour Correction\n"
            "&Help\n  &About\n");
}

// Without a cartridge, a line under the logo says how to open one.
TEST_F(WindowTest, UnderTheLogoItSaysHowToOpenACartridge) {
    const QImage shown =
        main_window->screen()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Zoom 2: the logo ends at line 190, the picture area at 287.
    int lit = 0;
    for (int y = 191; y < 288; ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            lit += shown.pixel(x, y) != QColor(Qt::black).rgb();
        }
    }
    EXPECT_GT(lit, 100);
}

// The machine and the model named on the command line hold for the run and
// are not kept; what the menu chooses then is.
TEST_F(WindowTest, CommandLinesMachineIsForTheRunAlone) {
    start_options options;
    options.accurate_machine = true;
    options.model = model_choice::colour;
    apply_start_options(options);
    EXPECT_TRUE(checked(id_accurate_machine));
    EXPECT_TRUE(checked(id_model_auto + 2));
    EXPECT_FALSE(saved_accurate_machine());
    EXPECT_EQ(saved_model(), model_choice::automatic);
    main_window->command(id_model_auto + 1);
    EXPECT_EQ(saved_model(), model_choice::monochrome);
    EXPECT_FALSE(saved_accurate_machine()) << "the menu changed only the model";
    main_window->command(id_model_auto);
    main_window->command(id_accurate_machine);
    EXPECT_FALSE(checked(id_accurate_machine));
}

TEST_F(WindowTest, StartsTitledTovWithTheResourceCheckMarks) {
    EXPECT_EQ(main_window->windowTitle(), "TOV");
    EXPECT_EQ(main_window->screen()->picture_rect(), QRect(0, 0, 320, 288));
    struct mark {
        int id;
        bool checked, enabled;
    };
    const mark marks[] = {
        {id_frameskip_0, true, true},      {id_frameskip_0 + 1, false, true},
        {id_frameskip_0 + 3, false, true}, {id_full_throttle, false, true},
        {id_sound_enable, true, true},     {id_channel_0, true, true},
        {id_channel_0 + 1, true, true},    {id_channel_0 + 2, false, false},
        {id_channel_0 + 3, false, false},  {id_timer_enable, true, true},
        {id_timing_1, true, true},         {id_timing_2, false, true},
        {id_zoom_1, false, true},          {id_zoom_1 + 1, true, true},
    };
    // Full Trothle is set by the fixture without its command; compare with the option.
    for (const mark& item : marks) {
        if (item.id == id_full_throttle) {
            continue;
        }
        EXPECT_EQ(main_window->action(item.id)->isChecked(), item.checked) << item.id;
        EXPECT_EQ(main_window->action(item.id)->isEnabled(), item.enabled) << item.id;
    }
}

TEST_F(WindowTest, OptionCommandsSetTheirOptionAndCheckMarks) {
    main_window->command(id_frameskip_0 + 2);
    EXPECT_EQ(frame_skip, 2);
    EXPECT_TRUE(checked(id_frameskip_0 + 2));
    EXPECT_FALSE(checked(id_frameskip_0));

    main_window->command(id_timing_2);
    EXPECT_EQ(timing_variant, 1);
    EXPECT_TRUE(checked(id_timing_2));
    EXPECT_FALSE(checked(id_timing_1));

    full_throttle = 0;
    main_window->command(id_full_throttle);
    EXPECT_EQ(full_throttle, 1);
    EXPECT_TRUE(checked(id_full_throttle));
    main_window->command(id_full_throttle);
    EXPECT_EQ(full_throttle, 0);
    EXPECT_FALSE(checked(id_full_throttle));

    timer_running = 1;
    main_window->command(id_timer_enable);
    EXPECT_EQ(timer_option, 0);
    EXPECT_EQ(timer_running, 0);
    EXPECT_FALSE(checked(id_timer_enable));
    main_window->command(id_timer_enable);
    EXPECT_EQ(timer_option, 1);
    EXPECT_EQ(timer_running, 0) << "the timer waits for the next TAC write";
    EXPECT_TRUE(checked(id_timer_enable));
}

// The status line has a strip of its own below the picture at every zoom:
// a message too long for it is elided in the middle, whole in its tooltip.
TEST_F(WindowTest, ZoomSizesThePictureWithTheStatusLineBelowIt) {
    main_window->move(40, 30);
    const QPoint corner = main_window->pos();
    const QString long_message = "Accurate machine: the game was powered on again " +
                                 QString(200, 'x') + " and this is its end";
    const status_line* status = main_window->screen()->status();
    for (int factor = 1; factor <= 4; ++factor) {
        main_window->command(id_zoom_1 + factor - 1);
        main_window->show_status(long_message);
        EXPECT_EQ(zoom, factor);
        const int strip = main_window->screen()->status_height();
        EXPECT_EQ(main_window->screen()->size(), QSize(160 * factor, 144 * factor + strip));
        EXPECT_EQ(main_window->screen()->picture_rect(), QRect(0, 0, 160 * factor, 144 * factor));
        EXPECT_EQ(status->geometry(), QRect(0, 144 * factor, 160 * factor, strip));
        EXPECT_TRUE(status->text().startsWith("Accurate")) << status->text().toStdString();
        EXPECT_TRUE(status->text().endsWith("its end")) << status->text().toStdString();
        EXPECT_EQ(status->toolTip(), long_message);
        EXPECT_EQ(main_window->screen()->geometry().bottom() + 1, main_window->height())
            << "the picture and its status line fill the window below the menu bar";
        EXPECT_EQ(main_window->pos(), corner);
        for (int other = 1; other <= 4; ++other) {
            EXPECT_EQ(checked(id_zoom_1 + other - 1), other == factor);
        }
    }
    main_window->show_status("Saved quick state 1");
    EXPECT_EQ(status->text(), "Saved quick state 1");
    EXPECT_EQ(status->toolTip(), "");
}

TEST_F(WindowTest, OpenRomLoadsTheChosenCartridge) {
    test::test_cartridge cartridge;
    cartridge.title("OPENED");
    const std::string path = cartridge.write();
    open_through_menu(path);
    EXPECT_EQ(rom_loaded, 1);
    EXPECT_EQ(emulation_running, 1);
    EXPECT_EQ(rom_path, path);
    EXPECT_EQ(PC.value, 0x0100);
}

TEST_F(WindowTest, UnopenableCartridgeIsReportedAndTheGameRunsOn) {
    test::test_cartridge cartridge;
    const std::string good = cartridge.write();
    open_through_menu(good);
    write_byte(0xC000, 0x42);
    const std::string missing = test::temp_path(".gb");
    open_through_menu(missing);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(missing), std::string::npos) << messages[0];
    EXPECT_EQ(rom_path, good);
    EXPECT_EQ(read_byte(0xC000), 0x42) << "the running game is untouched";
    EXPECT_EQ(emulation_running, 1);
}

TEST_F(WindowTest, CloseRomReturnsToTheLogo) {
    test::test_cartridge cartridge;
    open_through_menu(cartridge.write());
    main_window->command(id_close_rom);
    EXPECT_EQ(rom_loaded, 0);
    EXPECT_EQ(emulation_running, 0);
    const QImage shown =
        main_window->screen()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage logo = draw_logo();
    // Zoom 2: the logo sits at ((326 - 215) / 2, (332 - 98) / 2 - 24).
    const QPoint at(55, 93);
    int different = 0;
    for (int y = 0; y < logo_height; ++y) {
        for (int x = 0; x < logo_width; ++x) {
            different += shown.pixel(at.x() + x, at.y() + y) != logo.pixel(x, y);
        }
    }
    EXPECT_EQ(different, 0);
    EXPECT_EQ(shown.pixel(5, 5), QColor(Qt::black).rgb());
    EXPECT_EQ(main_window->windowTitle(), "TOV");
}

TEST_F(WindowTest, ResumeWithoutACartridgeDoesNothing) {
    main_window->command(id_resume);
    EXPECT_EQ(emulation_running, 0);
    main_window->tick();
    EXPECT_EQ(main_window->windowTitle(), "TOV");
}

TEST_F(WindowTest, ResetWhileStoppedPowersOnAndStaysStopped) {
    test::test_cartridge cartridge;
    open_through_menu(cartridge.write());
    main_window->command(id_stop);
    PC.value = 0x1234;
    write_byte(0xC000, 0x42);
    main_window->command(id_reset);
    EXPECT_EQ(PC.value, 0x0100);
    EXPECT_EQ(read_byte(0xC000), 0x00);
    EXPECT_EQ(emulation_running, 0);
}

// Each dialog stops the game while it is shown; cancelled, it leaves the
// game running or paused as it found it, with Pause checked as it was.
TEST_F(WindowTest, DialogsStopTheGameAndLeaveItAsPausedAsTheyFoundIt) {
    test::test_cartridge cartridge;
    open_through_menu(cartridge.write());
    int running_inside = -1;
    QString version;
    const auto cancel_file = [&](const QString&) {
        running_inside = emulation_running;
        return QString();
    };
    main_window->choose_cartridge = cancel_file;
    main_window->choose_state_to_load = cancel_file;
    main_window->choose_state_to_save = cancel_file;
    const int dialogs[] = {
        id_about,      id_joypad,     id_cheat_codes, id_palette_first + custom_palette_item,
        id_save_state, id_load_state, id_open_rom};
    for (const bool paused : {false, true}) {
        for (const int id : dialogs) {
            SCOPED_TRACE(std::to_string(id) + (paused ? " paused" : " running"));
            if (paused != checked(id_pause)) {
                main_window->command(id_pause);
            }
            running_inside = -1;
            QTimer::singleShot(0, [&] {
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    running_inside = emulation_running;
                    if (const auto* about = qobject_cast<about_dialog*>(dialog)) {
                        version = about->findChild<QLabel*>("version")->text();
                    }
                    dialog->reject();
                }
            });
            main_window->command(id);
            QCoreApplication::processEvents();  // the closer of a dialog that was not modal
            EXPECT_EQ(running_inside, 0);
            EXPECT_EQ(emulating(), !paused);
            EXPECT_EQ(checked(id_pause), paused);
        }
    }
    EXPECT_EQ(version, "TOV Version 0.9.7");
}

// Runs the joypad dialog with `interact` acting on it once it is shown.
void with_joypad_dialog(const std::function<void(joypad_dialog&)>& interact) {
    test::with_dialog<joypad_dialog>(id_joypad, interact);
}

TEST_F(WindowTest, JoypadDialogShowsTheMappingAndTakesChosenAndTypedKeys) {
    with_joypad_dialog([](joypad_dialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Joypad Settings");
        EXPECT_EQ(dialog.combo(button_up)->currentText(), "Up");
        EXPECT_EQ(dialog.combo(button_b)->currentText(), "S");
        EXPECT_EQ(dialog.combo(button_a)->count(), 50);
        dialog.combo(button_a)->setCurrentIndex(dialog.combo(button_a)->findText("Num 5"));
        QLineEdit* start = dialog.combo(button_start)->lineEdit();
        QApplication::setActiveWindow(&dialog);  // completion acts in the active window only
        start->setFocus();
        start->selectAll();
        QTest::keyClicks(start, "u");  // U, though "Up" begins with it
        QTest::mouseClick(dialog.ok_button(), Qt::LeftButton);
    });
    EXPECT_EQ(key_map[button_a], 0x65);
    EXPECT_EQ(key_map[button_start], 'U');

    with_joypad_dialog([](joypad_dialog& dialog) {
        EXPECT_EQ(dialog.combo(button_a)->currentText(), "Num 5");
        EXPECT_EQ(dialog.combo(button_start)->currentText(), "U");
        dialog.combo(button_a)->setEditText("Left");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(key_map[button_a], 0x65) << "Escape keeps the mapping";

    with_joypad_dialog([](joypad_dialog& dialog) {
        QLineEdit* select = dialog.combo(button_select)->lineEdit();
        select->selectAll();
        QTest::keyClicks(select, "q");
        QTest::keyClick(select, Qt::Key_Return);
    });
    EXPECT_EQ(key_map[button_select], 'Q') << "Enter is OK";

    write_byte(0xFF00, 0x10);
    key_down(vk_numpad0 + 5);
    EXPECT_EQ(read_byte(0xFF00), 0x1E) << "A on keypad 5";
    key_up(vk_numpad0 + 5);
}

TEST_F(WindowTest, KeyEventsBecomeVirtualKeys) {
    struct case_t {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int32_t code;
    };
    const case_t cases[] = {
        {Qt::Key_Left, Qt::NoModifier, vk_left},
        {Qt::Key_Down, Qt::NoModifier, vk_down},
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_7, Qt::NoModifier, '7'},
        {Qt::Key_7, Qt::KeypadModifier, 0x67},
        {Qt::Key_Backspace, Qt::NoModifier, vk_back},
    };
    for (const case_t& test : cases) {
        release_all_keys();
        QTest::keyPress(main_window, test.key, test.modifiers);
        EXPECT_TRUE(query_key(test.code)) << test.code;
        QTest::keyRelease(main_window, test.key, test.modifiers);
        EXPECT_FALSE(query_key(test.code)) << test.code;
    }
}

std::string demo_path() {
    return TOV_DEMO_CARTRIDGE;
}

TEST_F(WindowTest, KeyHeldDuringASliceReachesTheJoypadWithinAFrame) {
    test::test_cartridge cartridge;
    ASSERT_TRUE(cartridge.assemble(test::button_row_reader));
    open_through_menu(cartridge.write());
    full_throttle = 0;          // the pacing wait delivers input
    main_window->stop_timer();  // steps run here, as the window's slice would run them
    const uint64_t start = frame_counter;
    QCoreApplication::postEvent(main_window,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    while (frame_counter < start + 2) {
        run_step();
    }
    EXPECT_EQ(read_byte(0xC000) & 0x01, 0) << "A reads as pressed one frame after the event";
    QTest::keyRelease(main_window, Qt::Key_A);
    main_window->start_timer();
}

TEST_F(WindowTest, CommandsArrivingDuringASliceRunAfterItsFrame) {
    test::test_cartridge cartridge;
    open_through_menu(cartridge.write());
    full_throttle = 0;
    uint8_t skip_inside = 0xFF;
    QTimer::singleShot(0, [&] {
        main_window->action(id_frameskip_0 + 3)->trigger();
        skip_inside = frame_skip;
    });
    const uint64_t first_frame = frame_counter;
    main_window->tick();
    EXPECT_EQ(skip_inside, 0) << "queued while the slice ran";
    EXPECT_EQ(frame_skip, 3) << "and run after it";
    EXPECT_TRUE(checked(id_frameskip_0 + 3));
    EXPECT_EQ(frame_counter - first_frame, 1u) << "the slice ended with the frame";
}

TEST_F(WindowTest, ThePictureIsTheFrameBufferScaledByZoom) {
    open_through_menu(demo_path());
    for (int slice = 0; slice < 3; ++slice) {
        main_window->tick();
    }
    const QImage shown =
        main_window->screen()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(320, 288 + main_window->screen()->status_height()));
    int different = 0;
    for (int y = 0; y < 288; ++y) {
        for (int x = 0; x < 320; ++x) {
            const uint8_t* p = frame_buffer + ((y / 2) * 160 + x / 2) * 3;
            different += shown.pixel(x, y) != qRgb(p[2], p[1], p[0]);
        }
    }
    EXPECT_EQ(different, 0);
}

TEST_F(WindowTest, CartridgesOpenFromArchivesWithAChoiceWhenThereAreSeveral) {
    test::test_cartridge first;
    first.title("FIRST");
    test::test_cartridge second;
    second.title("SECOND");
    const test::test_archive one(test::archive_format::zip,
                                 {test::item_from_file("only.gb", first.write())}, "one.zip");
    const test::test_archive two(test::archive_format::zip,
                                 {test::item_from_file("first.gb", first.write()),
                                  test::item_from_file("second.gbc", second.write())},
                                 "two.zip");
    QStringList offered;
    QString answer;
    main_window->choose_archive_entry = [&](const QStringList& names) {
        offered = names;
        return answer;
    };
    struct case_t {
        const test::test_archive& archive;
        QString answer;
        QStringList offered;
        const char* title;  // empty: nothing opened
    };
    const case_t cases[] = {
        {one, "", {}, "FIRST"},
        {two, "second.gbc", {"first.gb", "second.gbc"}, "SECOND"},
        {two, "", {"first.gb", "second.gbc"}, ""},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.archive.path);
        main_window->command(id_close_rom);
        offered.clear();
        answer = test.answer;
        open_through_menu(test.archive.path);
        EXPECT_EQ(offered, test.offered) << "asked only when there is a choice";
        if (*test.title == '\0') {
            EXPECT_EQ(rom_loaded, 0) << "cancelling opens nothing";
            continue;
        }
        EXPECT_EQ(rom_loaded, 1);
        EXPECT_EQ(rom_path, test.archive.path);
        EXPECT_EQ(describe_title(), "NAME : " + std::string(test.title));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, DroppedCartridgeIsOpened) {
    test::test_cartridge cartridge;
    const std::string path = cartridge.write();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main_window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main_window, &drop);
    EXPECT_EQ(rom_path, path);
    EXPECT_EQ(rom_loaded, 1);
    EXPECT_EQ(emulation_running, 1);
}

TEST(ConfigFile, DefaultFileRoundTrip) {
    key_map = default_key_map;
    ASSERT_TRUE(save_config().ok);
    std::ifstream file(config_path(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(content,
              "UP     = &\nDOWN   = (\nLEFT   = %\nRIGHT  = '\nA      = A\nB      = S\n"
              "START  = D\nSELECT = F\n\n");
    EXPECT_EQ(content.size(), 89u);
    key_map.fill(0);
    load_config();
    EXPECT_EQ(key_map, default_key_map);
}

TEST(ConfigFile, HandEditedLines) {
    const auto write = [](const std::string& content) {
        std::ofstream(config_path(), std::ios::binary | std::ios::trunc) << content;
    };
    key_map = default_key_map;
    write("UP     = &\nDOWN   = (\nLEFT   = %\nRIGHT  = '\nA      = q\n");
    load_config();
    EXPECT_EQ(key_map[button_a], 0x51) << "a lower-case q maps to Q";
    EXPECT_EQ(key_map[button_start], 'D') << "missing lines keep the mapping";

    key_map = default_key_map;
    write("whatever:z\nx\n\n" + std::string(70, 'y') + "\n");
    load_config();
    EXPECT_EQ(key_map[button_up], 'Z') << "only the position counts: index 9";
    EXPECT_EQ(key_map[button_down], vk_down) << "a short line keeps the button's key";
    EXPECT_EQ(key_map[button_left], vk_left);
    EXPECT_EQ(key_map[button_right], 'Y') << "a long line is read 63 characters at a time";
    EXPECT_EQ(key_map[button_a], 'A') << "its rest is the next line, too short here";

    key_map = default_key_map;
    key_map[button_a] = vk_numpad0 + 1;
    ASSERT_TRUE(save_config().ok);
    load_config();
    EXPECT_EQ(key_map[button_a], 'A') << "keypad 1 is written as 'a' and read back as A";
    key_map = default_key_map;
}

TEST(ConfigFile, MissingFileKeepsTheDefaults) {
    std::filesystem::remove(config_path());
    key_map = default_key_map;
    load_config();
    EXPECT_EQ(key_map, default_key_map);
}

// Last: closing the window ends the program's run.
TEST_F(WindowTest, ZZClosingTheWindowWritesTheConfigurationOnce) {
    std::filesystem::remove(config_path());
    main_window->command(id_exit);
    EXPECT_TRUE(std::filesystem::exists(config_path()));
    EXPECT_FALSE(main_window->isVisible());
    std::filesystem::remove(config_path());
    main_window->close();
    EXPECT_FALSE(std::filesystem::exists(config_path())) << "written exactly once";
}

}  // namespace
}  // namespace tov
