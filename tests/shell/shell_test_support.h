// Shared set-up of the window tests: the options and state the tests change,
// back at their start values before each test.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QString>
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

}  // namespace tov::test
