// Shared set-up of the window tests: the options and state the tests change,
// back at their start values before each test.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "shell/main_window.h"
#include "shell/start_up.h"

namespace tov::test {

class window_test : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Menu item `id`'s check mark.
    static bool checked(int id) { return main_window->action(id)->isChecked(); }

    // Opens `path` through "&Open Rom" with the file dialog answering it.
    static void open_through_menu(const std::string& path);

    std::vector<std::string> messages;
};

// A game that keeps reading the joypad's button row into C000.
constexpr const char* button_row_reader = R"(
        org $100
    loop: ld a, $10
        ldh ($00), a
        ldh a, ($00)
        ld ($C000), a
        jr loop
)";

// Runs menu command `id`, which opens a modal `Dialog`, with `interact`
// acting on the dialog once it is shown; a test failure when none came up.
template <class Dialog>
void with_dialog(int id, const std::function<void(Dialog&)>& interact) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen = true;
        interact(*dialog);
    });
    main_window->command(id);
    EXPECT_TRUE(seen);
}

}  // namespace tov::test
