// Game controllers without hardware: SDL's virtual joystick, typed as a game
// controller, plays the console's buttons through to FF00, the Joypad dialog
// assigns its buttons, and it rumbles with the cartridge's motor.
#include <SDL.h>

#include <algorithm>

#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "classic/memory/memory_map.h"
#include "controller/game_controllers.h"
#include "host/keyboard.h"
#include "memory/joypad.h"
#include "shell/joypad_dialog.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// A controller plugged in for the length of a test, keeping the strength of
// the last rumble SDL gave it (-1 before any).
class virtual_controller {
public:
    virtual_controller() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.userdata = this;
        desc.Rumble = [](void* self, Uint16 low, Uint16 high) {
            static_cast<virtual_controller*>(self)->rumble_ = std::max(low, high);
            return 0;
        };
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = index_ >= 0 ? SDL_JoystickOpen(index_) : nullptr;
        poll_game_controllers();
    }
    ~virtual_controller() {
        SDL_JoystickClose(joystick_);
        SDL_JoystickDetachVirtual(index_);
        poll_game_controllers();
    }
    bool attached() const { return joystick_ != nullptr; }
    int rumble() const { return rumble_; }
    void button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
        poll_game_controllers();
    }
    void stick_x(int16_t value) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, value);
        poll_game_controllers();
    }

private:
    int index_ = -1;
    SDL_Joystick* joystick_ = nullptr;
    int rumble_ = -1;
};

class ControllerTest : public test::window_test {
protected:
    void SetUp() override {
        window_test::SetUp();
        use_controller_mapping(default_controller_mapping());
        ASSERT_TRUE(cartridge_.load());
    }
    // The low nibble FF00 reads with `row` (10 buttons, 20 directions) selected.
    static int joypad(uint8_t row) {
        write_byte(0xFF00, row);
        return read_byte(0xFF00) & 0x0F;
    }
    test::test_cartridge cartridge_;
};

TEST_F(ControllerTest, ControllerButtonsPlayTheConsolesButtonsAsKeysDo) {
    virtual_controller pad;
    ASSERT_TRUE(pad.attached()) << SDL_GetError();
    struct case_t {
        const char* what;
        std::function<void(bool)> press;
        uint8_t row;
        int pressed_bits;
    };
    const case_t cases[] = {
        {"east is A", [&](bool on) { pad.button(SDL_CONTROLLER_BUTTON_B, on); }, 0x10, 0x1},
        {"south is B", [&](bool on) { pad.button(SDL_CONTROLLER_BUTTON_A, on); }, 0x10, 0x2},
        {"Back is Select", [&](bool on) { pad.button(SDL_CONTROLLER_BUTTON_BACK, on); }, 0x10, 0x4},
        {"Start", [&](bool on) { pad.button(SDL_CONTROLLER_BUTTON_START, on); }, 0x10, 0x8},
        {"D-pad up", [&](bool on) { pad.button(SDL_CONTROLLER_BUTTON_DPAD_UP, on); }, 0x20, 0x4},
        {"D-pad right", [&](bool on) { pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, on); }, 0x20,
         0x1},
        {"left stick left", [&](bool on) { pad.stick_x(on ? -32768 : 0); }, 0x20, 0x2},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        test.press(true);
        EXPECT_EQ(joypad(test.row), 0xF & ~test.pressed_bits);
        test.press(false);
        EXPECT_EQ(joypad(test.row), 0xF);
        // A press and release between two reads is seen once, as a key's is.
        test.press(true);
        test.press(false);
        EXPECT_EQ(joypad(test.row), 0xF & ~test.pressed_bits);
        EXPECT_EQ(joypad(test.row), 0xF);
    }
}

TEST_F(ControllerTest, ExtraControlsButtonsCountAsHeld) {
    virtual_controller pad;
    ASSERT_TRUE(pad.attached()) << SDL_GetError();
    controller_mapping mapping = default_controller_mapping();
    const SDL_GameControllerButton buttons[extra_control_count] = {
        SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_LEFTSHOULDER};
    for (int control = 0; control < extra_control_count; ++control) {
        mapping[mapping_index(static_cast<extra_control>(control))] = buttons[control];
    }
    use_controller_mapping(mapping);
    for (int control = 0; control < extra_control_count; ++control) {
        SCOPED_TRACE(control);
        pad.button(buttons[control], true);
        EXPECT_TRUE(control_held(static_cast<extra_control>(control)));
        pad.button(buttons[control], false);
        EXPECT_FALSE(control_held(static_cast<extra_control>(control)));
    }
}

TEST_F(ControllerTest, UnpluggingReleasesItsButtons) {
    {
        virtual_controller pad;
        ASSERT_TRUE(pad.attached()) << SDL_GetError();
        pad.button(SDL_CONTROLLER_BUTTON_START, true);
        EXPECT_EQ(joypad(0x10), 0x7);
    }
    joypad(0x10);  // the press since the last query is read once
    EXPECT_EQ(joypad(0x10), 0xF);
}

TEST_F(ControllerTest, JoypadDialogCapturesKeysAndButtonsAndCancelChangesNothing) {
    virtual_controller pad;
    ASSERT_TRUE(pad.attached()) << SDL_GetError();
    const key_mapping keys_before = key_map;
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "OK" : "Cancel");
        joypad_dialog dialog(main_window);
        dialog.show();
        QTest::mouseClick(dialog.key_capture(button_a), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Q);
        EXPECT_EQ(dialog.combo(button_a)->currentText(), "Q");

        QTest::mouseClick(dialog.controller_capture(button_b), Qt::LeftButton);
        pad.button(SDL_CONTROLLER_BUTTON_X, true);
        pad.button(SDL_CONTROLLER_BUTTON_X, false);
        QTRY_COMPARE(dialog.controller_combo(button_b)->currentText(), QString("x"));

        QTest::mouseClick(accept ? dialog.ok_button() : dialog.cancel_button(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        if (!accept) {
            EXPECT_EQ(key_map, keys_before);
            EXPECT_EQ(controller_mapping_in_use(), default_controller_mapping());
        }
    }
    EXPECT_EQ(key_map[button_a], 'Q');
    EXPECT_EQ(controller_mapping_in_use()[button_b], SDL_CONTROLLER_BUTTON_X);
    EXPECT_EQ(saved_controller_buttons().value(button_b), "x");
    pad.button(SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(joypad(0x10), 0xD) << "the assigned button plays B";
    pad.button(SDL_CONTROLLER_BUTTON_X, false);
    save_controller_buttons({});
}

// What the settings store keeps of the mapping, put to use at start-up: the
// eight console buttons' names alone as earlier runs kept them, all eleven,
// or what is not valid, giving the defaults.
TEST_F(ControllerTest, KeptJoypadSettingsAreTakenAndBadOnesGiveTheDefaults) {
    const QStringList eight = {"dpup", "dpdown", "dpleft", "dpright", "x", "a", "start", "back"};
    controller_mapping x_for_a = default_controller_mapping();
    x_for_a[button_a] = SDL_CONTROLLER_BUTTON_X;
    controller_mapping turbo_on_y = x_for_a;
    turbo_on_y[mapping_index(control_turbo_a)] = SDL_CONTROLLER_BUTTON_Y;
    struct case_t {
        const char* what;
        QStringList buttons;
        QStringList keys;  // Turbo A, Turbo B, Rewind
        QVariant rate;
        controller_mapping mapping;
        extra_key_mapping extra_keys;
        int turbo_rate;
    };
    const case_t cases[] = {
        {"eight, as earlier runs kept", eight, {}, {}, x_for_a, default_extra_keys, 15},
        {"eleven, with a key by its name of earlier versions and one by its label",
         eight + QStringList{"y", "", ""},
         {"KEY_UP", "Num 5", "Backspace"},
         20,
         turbo_on_y,
         {vk_up, vk_numpad0 + 5, vk_back},
         20},
        {"none", eight, {"None", "None", "None"}, {}, x_for_a, {-1, -1, -1}, 15},
        {"bad values",
         {"dpup", "x"},
         {"KEY_LEFTX", "q", ""},
         31,
         default_controller_mapping(),
         default_extra_keys,
         15},
    };
    const char* key_settings[] = {"joypad/turbo_a_key", "joypad/turbo_b_key", "joypad/rewind_key"};
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        QSettings file(settings_path(), QSettings::IniFormat);
        file.setValue("controller/buttons", test.buttons);
        for (int control = 0; control < extra_control_count; ++control) {
            file.setValue(key_settings[control], test.keys.value(control));
        }
        file.setValue("joypad/turbo_rate", test.rate);
        file.sync();
        use_saved_joypad_settings();
        EXPECT_EQ(controller_mapping_in_use(), test.mapping);
        EXPECT_EQ(extra_keys_in_use(), test.extra_keys);
        EXPECT_EQ(turbo_rate_in_use(), test.turbo_rate);
        file.remove("joypad");
        file.remove("controller");
    }
}

TEST_F(ControllerTest, ControllersRumbleWhileTheMotorRuns) {
    virtual_controller pad;
    ASSERT_TRUE(pad.attached()) << SDL_GetError();
    follow_rumble(true);
    EXPECT_GT(pad.rumble(), 0);
    virtual_controller plugged_in_later;
    ASSERT_TRUE(plugged_in_later.attached()) << SDL_GetError();
    EXPECT_GT(plugged_in_later.rumble(), 0);
    follow_rumble(false);
    EXPECT_EQ(pad.rumble(), 0);
    EXPECT_EQ(plugged_in_later.rumble(), 0);
}

}  // namespace
}  // namespace tov
