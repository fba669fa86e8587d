// Debug > "Developer Tools...": a breakpoint by label in a program of our
// own, run to, a call stepped over, a value read in the memory editor.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "debugger/developer_window.h"
#include "debugger/memory_editor.h"
#include "host/paths.h"
#include "machine/cpu_state.h"
#include "session/developer.h"
#include "shell/command_ids.h"
#include "shell/settings.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

// The main loop calls a routine that counts its calls in C000.
constexpr const char* counting_calls = R"(
        org $100
        nop
        jp start
        org $150
    start: ld sp, $DFFE
    loop: call count        ; 0153
        jr loop             ; 0156
    count: ld hl, $C000
        inc (hl)
        ret
)";

class DeveloperToolsTest : public test::window_test {
protected:
    void TearDown() override {
        delete main_window->findChild<developer_window*>();
        window_test::TearDown();
    }
};

// The value the memory editor shows for `address` after going there.
QString shown_byte(developer_window& window, const QString& address) {
    auto* go_to = window.memory()->findChild<QLineEdit*>("go_to");
    go_to->setText(address);
    QTest::keyClick(go_to, Qt::Key_Return);
    auto* bytes = window.memory()->findChild<QTableView*>("bytes");
    return bytes->currentIndex().data().toString();
}

TEST_F(DeveloperToolsTest, RunsToABreakpointStepsOverACallAndReadsMemory) {
    test::test_cartridge cartridge;
    ASSERT_TRUE(cartridge.assemble(counting_calls));
    const std::filesystem::path path = cartridge.write();
    std::filesystem::path symbols = path;
    std::ofstream(symbols.replace_extension(".sym")) << "00:0153 loop\n00:0158 count\n";
    const std::filesystem::path kept =
        program_folder() / "BREAKPOINTS" / (path.filename().string() + ".brk");
    std::filesystem::remove(kept);
    open_through_menu(path.string());
    main_window->command(id_developer_tools);
    auto* window = main_window->findChild<developer_window*>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(watching());
    auto* ld_b_b = window->findChild<QCheckBox*>("stop_at_ld_b_b");
    EXPECT_TRUE(ld_b_b->isChecked()) << "on by default";
    ld_b_b->click();
    EXPECT_FALSE(saved_stop_at_ld_b_b()) << "remembered";
    ld_b_b->click();

    window->breakpoint_entry()->setText("loop");
    QTest::keyClick(window->breakpoint_entry(), Qt::Key_Return);
    const auto stopped = [window] { return window->status()->text().startsWith("Stopped"); };
    QTRY_VERIFY_WITH_TIMEOUT(stopped(), 5000);
    EXPECT_EQ(PC.value, 0x0153);
    EXPECT_EQ(window->status()->text(), "Stopped at 0153 (Breakpoint 0153)");
    const QList<QListWidgetItem*> at_pc = window->code()->findItems("*> 0153", Qt::MatchStartsWith);
    ASSERT_EQ(at_pc.size(), 1);
    EXPECT_TRUE(at_pc[0]->text().endsWith("CALL count")) << at_pc[0]->text().toStdString();
    EXPECT_EQ(window->code()->findItems("loop:", Qt::MatchExactly).size(), 1);
    const int calls = shown_byte(*window, "C000").toInt(nullptr, 16);

    window->button("step_over")->click();
    EXPECT_EQ(window->status()->text(), "Running");
    QTRY_VERIFY_WITH_TIMEOUT(stopped(), 5000);
    EXPECT_EQ(PC.value, 0x0156);
    EXPECT_EQ(shown_byte(*window, "C000").toInt(nullptr, 16), calls + 1);

    window->button("continue")->click();
    window->button("break")->click();
    QTRY_VERIFY_WITH_TIMEOUT(stopped(), 5000);
    EXPECT_TRUE(window->status()->text().endsWith("(Break)"));

    std::string text;
    std::ifstream file(kept);
    std::getline(file, text);
    EXPECT_EQ(text, "on\t0153") << "kept for the cartridge";
    window->close();
    QTRY_VERIFY(!watching());
    std::filesystem::remove(symbols);
}

// Closing the window lets a game it stopped go on, as Continue would, with
// Pause unchecked; a game the player paused stays paused. While the window
// holds the game, Pause is checked.
TEST_F(DeveloperToolsTest, ClosingLetsTheGameItStoppedGoOn) {
    test::test_cartridge cartridge;
    ASSERT_TRUE(cartridge.assemble(counting_calls));
    open_through_menu(cartridge.write());
    for (const bool paused_by_player : {false, true}) {
        SCOPED_TRACE(paused_by_player ? "paused by the player" : "stopped by Break");
        if (paused_by_player) {
            main_window->command(id_pause);
        }
        main_window->command(id_developer_tools);
        auto* window = main_window->findChild<developer_window*>();
        ASSERT_NE(window, nullptr);
        if (!paused_by_player) {
            window->button("break")->click();
            QTRY_VERIFY_WITH_TIMEOUT(window->status()->text().endsWith("(Break)"), 5000);
        }
        EXPECT_FALSE(emulating());
        EXPECT_TRUE(checked(id_pause));
        window->close();
        QTRY_VERIFY(!watching());
        EXPECT_EQ(emulating(), !paused_by_player);
        EXPECT_EQ(checked(id_pause), paused_by_player);
    }
}

}  // namespace
}  // namespace tov
