// The Joypad dialog's question on OK when two rows share a key or a game
// controller button: kept on Yes, back to the dialog with nothing kept on No.
#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <functional>

#include "controller/game_controllers.h"
#include "memory/joypad.h"
#include "shell/command_ids.h"
#include "shell/joypad_dialog.h"
#include "shell/settings.h"
#include "shell_test_support.h"

namespace tov {
namespace {

using JoypadDialogTest = test::window_test;

TEST_F(JoypadDialogTest, SharedKeysAndButtonsAreKeptOnlyWhenTheQuestionSaysSo) {
    struct case_t {
        const char* what;
        std::function<void(joypad_dialog&)> edit;
        bool answer;
        QString question;  // none when empty
        bool kept;
    };
    const case_t cases[] = {
        {"nothing shared", [](joypad_dialog& dialog) { dialog.combo(button_b)->setEditText("G"); },
         false, "", true},
        {"a key, kept", [](joypad_dialog& dialog) { dialog.combo(button_b)->setEditText("D"); },
         true, "D is used for both B and Start. Keep it?", true},
        {"a key, not kept", [](joypad_dialog& dialog) { dialog.combo(button_b)->setEditText("D"); },
         false, "D is used for both B and Start. Keep it?", false},
        {"a key by a turbo control and a controller button",
         [](joypad_dialog& dialog) {
             dialog.extra_combo(control_turbo_a)->setEditText("S");
             QComboBox* b = dialog.controller_combo(button_b);
             b->setCurrentIndex(b->findText(dialog.controller_combo(button_a)->currentText()));
         },
         true,
         "S is used for both B and Turbo A.\nController button b is used for both A and B.\n"
         "Keep them?",
         true},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.what);
        key_map = default_key_map;
        use_extra_keys(default_extra_keys);
        use_controller_mapping(default_controller_mapping());
        QString asked;
        bool closed = false;
        test::with_dialog<joypad_dialog>(id_joypad, [&](joypad_dialog& dialog) {
            dialog.keep_shared = [&](const QString& question) {
                asked = question;
                return test.answer;
            };
            test.edit(dialog);
            QTest::mouseClick(dialog.ok_button(), Qt::LeftButton);
            closed = !dialog.isVisible();
            if (!closed) {
                QTest::mouseClick(dialog.cancel_button(), Qt::LeftButton);
            }
        });
        EXPECT_EQ(asked, test.question);
        EXPECT_EQ(closed, test.kept);
        const bool changed = key_map != default_key_map ||
                             extra_keys_in_use() != default_extra_keys ||
                             controller_mapping_in_use() != default_controller_mapping();
        EXPECT_EQ(changed, test.kept);
    }
    use_controller_mapping(default_controller_mapping());
    save_controller_buttons({});
    QSettings(settings_path(), QSettings::IniFormat).remove("joypad");
}

}  // namespace
}  // namespace tov
