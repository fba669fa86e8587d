#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <functional>

#include "classic/memory/memory_map.h"
#include "debugger/cpu_page.h"
#include "debugger/debugger_window.h"
#include "inspect/bitmaps.h"
#include "machine/cpu_state.h"
#include "machine/registers.h"
#include "machine/shell_flags.h"
#include "machine/timing.h"
#include "shell/command_ids.h"
#include "shell_test_support.h"
#include "test_cartridge.h"
#include "video/frame.h"

namespace tov {
namespace {

class DebuggerTest : public test::window_test {
protected:
    // Opens a cartridge whose program is a row of INC B.
    void open_inc_b_cartridge() {
        cartridge_.bytes(0x0100, {0x04, 0x04, 0x04, 0x04, 0x04, 0x04});
        open_through_menu(cartridge_.write());
        ASSERT_EQ(PC.value, 0x0100);
        ASSERT_EQ(B, 0x00);
    }

    test::test_cartridge cartridge_;
};

// Opens the debugger through "&Debug", lets `interact` act on it once it is
// shown, then closes it with its close box.
void with_debugger(const std::function<void(debugger_window&)>& interact) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* window = qobject_cast<debugger_window*>(modal);
        if (window) {
            seen = true;
            interact(*window);
        }
        if (modal) {
            modal->close();
        }
    });
    main_window->command(id_debug);
    EXPECT_TRUE(seen) << "the debugger was not the modal window";
}

QString field(debugger_window& window, const char* name) {
    return window.registers()->findChild<QLineEdit*>(name)->text();
}

bool all_bytes(const uint8_t* bytes, std::size_t size, uint8_t value) {
    return std::all_of(bytes, bytes + size, [value](uint8_t b) { return b == value; });
}

TEST_F(DebuggerTest, OpeningRunsExactlyOneInstructionEvenWhenHalted) {
    cartridge_.title("STEPPER");
    open_inc_b_cartridge();
    halted = 1;
    QStringList tabs;
    QString caption, title, pc, first_text;
    int texts = 0;
    with_debugger([&](debugger_window& window) {
        QTest::qWait(30);  // the pages' timers run; the emulation does not
        title = window.windowTitle();
        for (int i = 0; i < window.tabs()->count(); ++i) {
            tabs << window.tabs()->tabText(i);
        }
        caption = window.registers()->step_button()->text();
        pc = field(window, "PC");
        auto* cartridge_texts = window.registers()->findChild<QComboBox*>("cartridge");
        texts = cartridge_texts->count();
        first_text = cartridge_texts->itemText(0);
    });
    EXPECT_EQ(B, 0x01);
    EXPECT_EQ(PC.value, 0x0101);
    EXPECT_EQ(title, "TOV Debugger");
    EXPECT_EQ(tabs, QStringList(
                        {"User Screen", "BG Map", "Tile Info", "OAM DATA", "Palettes", "Memory"}));
    EXPECT_EQ(caption, "4") << "the next opcode, INC B";
    EXPECT_EQ(pc, "0101");
    EXPECT_EQ(texts, 6);
    EXPECT_EQ(first_text, "NAME : STEPPER");
    halted = 0;
}

// Monochrome: a line is 456 << 1 cycles. Above that every click moves LY
// on by one, as nothing in the step resets line_cycles.
TEST_F(DebuggerTest, CylceStepsTheCpuAndTheLine) {
    open_inc_b_cartridge();
    QString ly_after_first, ly_after_second, pc_after, bc_after, caption;
    with_debugger([&](debugger_window& window) {
        window.tabs()->setCurrentIndex(5);
        line_cycles = 1000;
        io_page[LY] = 152;
        window.registers()->step_button()->click();
        ly_after_first = field(window, "<= FF44 LY");
        window.registers()->step_button()->click();
        ly_after_second = field(window, "<= FF44 LY");
        pc_after = field(window, "PC");
        bc_after = field(window, "BC");
        caption = window.registers()->step_button()->text();
    });
    EXPECT_EQ(ly_after_first, "99");
    EXPECT_EQ(ly_after_second, "00") << "153 wraps to 0";
    EXPECT_EQ(B, 0x03) << "opening and two clicks";
    EXPECT_EQ(PC.value, 0x0103);
    EXPECT_EQ(pc_after, "0103");
    EXPECT_EQ(bc_after, "0313");
    EXPECT_EQ(caption, "4") << "set when the page opened, not by the steps";
}

// Which bitmaps the pages draw into while one tab is shown.
struct drawing {
    bool map, tiles, sprites;
};

drawing drawing_on_tab(debugger_window& window, int tab) {
    window.tabs()->setCurrentIndex(tab);
    EXPECT_EQ(current_tab, tab);
    std::memset(map_bitmap, 0x12, sizeof map_bitmap);
    std::memset(tile_bitmap, 0x12, sizeof tile_bitmap);
    std::memset(sprite_bitmap, 0x12, sizeof sprite_bitmap);
    QTest::qWait(30);
    return {!all_bytes(map_bitmap, sizeof map_bitmap, 0x12),
            !all_bytes(tile_bitmap, sizeof tile_bitmap, 0x12),
            !all_bytes(sprite_bitmap, sizeof sprite_bitmap, 0x12)};
}

TEST_F(DebuggerTest, TabsStartAndStopTheirPagesDrawing) {
    drawing on_map{}, on_sprites{};
    with_debugger([&](debugger_window& window) {
        on_map = drawing_on_tab(window, 1);
        on_sprites = drawing_on_tab(window, 3);
    });
    EXPECT_TRUE(on_map.map);
    EXPECT_FALSE(on_map.sprites);
    EXPECT_TRUE(on_map.tiles) << "the tile page draws whichever tab is shown";
    EXPECT_FALSE(on_sprites.map);
    EXPECT_TRUE(on_sprites.sprites);
    EXPECT_TRUE(on_sprites.tiles);
}

// The screen page takes the picture every 100 ms, only while it is shown.
TEST_F(DebuggerTest, UserScreenFollowsThePictureOnlyWhileShown) {
    auto shown = [](debugger_window& window) {
        const QImage picture = window.tabs()->widget(0)->grab().toImage();
        return QColor(picture.pixel(639, 575)).rgb() & 0xFFFFFF;
    };
    QRgb first = 0, hidden = 0, again = 0;
    with_debugger([&](debugger_window& window) {
        std::memset(frame_buffer, 0x40, sizeof frame_buffer);
        QTest::qWait(250);
        first = shown(window);
        window.tabs()->setCurrentIndex(2);
        std::memset(frame_buffer, 0x80, sizeof frame_buffer);
        QTest::qWait(250);
        hidden = shown(window);
        window.tabs()->setCurrentIndex(0);
        QTest::qWait(250);
        again = shown(window);
    });
    EXPECT_EQ(first, 0x404040u);
    EXPECT_EQ(hidden, 0x404040u);
    EXPECT_EQ(again, 0x808080u);
}

// A radio button redraws the map at once, even with another tab shown; the
// pointer's details need the map's tab.
TEST_F(DebuggerTest, MapChoicesRedrawAndThePointerNeedsTheMapTab) {
    QString hidden_column, shown_column, shown_row;
    bool redrawn = false;
    with_debugger([&](debugger_window& window) {
        QWidget* page = window.tabs()->widget(1);
        QWidget* canvas = page->findChild<QWidget*>("canvas");
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 100), QPointF(40, 100), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        hidden_column = page->findChild<QLineEdit*>("X-Loc")->text();
        std::memset(map_bitmap, 0x12, sizeof map_bitmap);
        page->findChild<QRadioButton*>("tiles_8000")->click();
        redrawn = !all_bytes(map_bitmap, sizeof map_bitmap, 0x12);
        window.tabs()->setCurrentIndex(1);
        QApplication::sendEvent(canvas, &move);
        shown_column = page->findChild<QLineEdit*>("X-Loc")->text();
        shown_row = page->findChild<QLineEdit*>("Y-Loc")->text();
    });
    EXPECT_EQ(hidden_column, "");
    EXPECT_TRUE(redrawn);
    EXPECT_EQ(shown_column, "2");
    EXPECT_EQ(shown_row, "6");
}

TEST_F(DebuggerTest, ReopeningStartsOnUserScreen) {
    with_debugger([](debugger_window& window) { window.tabs()->setCurrentIndex(3); });
    EXPECT_EQ(current_tab, 3);
    int index = -1;
    int tab = -1;
    with_debugger([&](debugger_window& window) {
        index = window.tabs()->currentIndex();
        tab = current_tab;
    });
    EXPECT_EQ(index, 0);
    EXPECT_EQ(tab, 0);
}

TEST_F(DebuggerTest, ClosingResumesALoadedCartridgeOnly) {
    uint8_t running_inside = 1;
    with_debugger([&](debugger_window&) { running_inside = emulation_running; });
    EXPECT_EQ(emulation_running, 0) << "no cartridge: nothing to resume";

    open_inc_b_cartridge();
    with_debugger([&](debugger_window&) { running_inside = emulation_running; });
    EXPECT_EQ(running_inside, 0);
    EXPECT_EQ(emulation_running, 1);
}

}  // namespace
}  // namespace tov
