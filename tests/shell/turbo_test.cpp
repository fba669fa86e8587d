// Turbo A, Turbo B and Rewind in the Joypad dialog: assigned there with the
// turbo rate, kept in the settings store, and a held turbo key played to the
// game as separate presses on either machine.
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

#include "classic/memory/memory_map.h"
#include "host/keyboard.h"
#include "shell/command_ids.h"
#include "shell/joypad_dialog.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

using TurboTest = test::window_test;

void with_joypad_dialog(const std::function<void(joypad_dialog&)>& interact) {
    test::with_dialog<joypad_dialog>(id_joypad, interact);
}

TEST_F(TurboTest, JoypadDialogAssignsTheExtraControlsAndTheTurboRate) {
    with_joypad_dialog([](joypad_dialog& dialog) {
        EXPECT_EQ(dialog.extra_combo(control_turbo_a)->currentText(), "None");
        EXPECT_EQ(dialog.extra_combo(control_rewind)->currentText(), "Backspace");
        EXPECT_EQ(dialog.extra_combo(control_turbo_b)->count(), 52);
        EXPECT_EQ(dialog.turbo_rate_box()->value(), 15);
        QTest::mouseClick(dialog.extra_key_capture(control_turbo_a), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_T);
        dialog.extra_combo(control_turbo_b)->setCurrentText("Num 5");
        dialog.extra_combo(control_rewind)->setCurrentText("None");
        dialog.turbo_rate_box()->setValue(10);
        QTest::mouseClick(dialog.ok_button(), Qt::LeftButton);
    });
    EXPECT_EQ(extra_keys_in_use(), (extra_key_mapping{'T', vk_numpad0 + 5, -1}));
    EXPECT_EQ(turbo_rate_in_use(), 10);
    QSettings file(settings_path(), QSettings::IniFormat);
    EXPECT_EQ(file.value("joypad/turbo_a_key").toString(), "T");
    EXPECT_EQ(file.value("joypad/turbo_b_key").toString(), "NUMPAD_5") << "as earlier versions";
    EXPECT_EQ(file.value("joypad/rewind_key").toString(), "None");
    EXPECT_EQ(file.value("joypad/turbo_rate").toInt(), 10);

    with_joypad_dialog([](joypad_dialog& dialog) {
        EXPECT_EQ(dialog.extra_combo(control_turbo_a)->currentText(), "T");
        EXPECT_EQ(dialog.extra_combo(control_turbo_b)->currentText(), "Num 5");
        EXPECT_EQ(dialog.turbo_rate_box()->value(), 10);
        dialog.extra_combo(control_turbo_b)->setCurrentText("Backspace");
        dialog.turbo_rate_box()->setValue(3);
        QTest::mouseClick(dialog.cancel_button(), Qt::LeftButton);
    });
    EXPECT_EQ(extra_keys_in_use(), (extra_key_mapping{'T', vk_numpad0 + 5, -1}));
    EXPECT_EQ(turbo_rate_in_use(), 10);
    EXPECT_EQ(saved_turbo_rate(), 10);
    file.remove("joypad");
}

TEST_F(TurboTest, HeldTurboKeyGivesTheGameTheRatesPressesASecond) {
    test::test_cartridge cartridge;
    ASSERT_TRUE(cartridge.assemble(test::button_row_reader));
    open_through_menu(cartridge.write());
    use_extra_keys({'T', 'Y', -1});
    struct case_t {
        bool accurate;
        int rate;
        std::vector<int32_t> held;
        uint8_t bit;
        int presses;
    };
    const case_t cases[] = {
        {false, 15, {'T'}, 0x01, 15}, {false, 7, {'Y'}, 0x02, 7},       {true, 30, {'T'}, 0x01, 30},
        {true, 12, {'Y'}, 0x02, 12},  {false, 15, {'T', 'A'}, 0x01, 0},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(testing::Message() << test.accurate << " " << test.rate);
        ASSERT_TRUE(set_machine(test.accurate, model_choice::automatic).ok);
        set_turbo_rate(test.rate);
        for (const int32_t key : test.held) {
            key_down(key);
        }
        run_frames(1, [](uint64_t) {});  // a press under way then is not counted
        bool was_down = !(read_byte(0xC000) & test.bit);
        int presses = 0;
        int frames_down = 0;
        run_frames(60, [&](uint64_t) {
            const bool down = !(read_byte(0xC000) & test.bit);
            presses += down && !was_down;
            frames_down += down;
            was_down = down;
        });
        EXPECT_EQ(presses, test.presses);
        EXPECT_NEAR(frames_down, test.presses ? 30 : 60, 1) << "down half the time";
        release_all_keys();
    }
}

}  // namespace
}  // namespace tov
