#include "debugger/memory_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <functional>

#include "classic/memory/memory_map.h"
#include "debugger/developer_window.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class MemoryEditorTest : public test::window_test {
protected:
    void SetUp() override {
        window_test::SetUp();
        ASSERT_TRUE(cartridge_.colour_flag(0x80).load());
    }

    // Types `text` and Return into address line `field`.
    static void enter(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // Opens the cell's editor, types `text` and Return into it, and lets
    // the view take the text (it does so after the key press).
    static void type_into(QTableView* view, const QModelIndex& cell, const QString& text) {
        view->edit(cell);
        auto* field = qobject_cast<QLineEdit*>(view->indexWidget(cell));
        ASSERT_NE(field, nullptr);
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        QApplication::processEvents();
    }

    test::test_cartridge cartridge_;
};

TEST_F(MemoryEditorTest, GoesToAnAddressAndStoresATypedByte) {
    memory_editor editor(nullptr);
    editor.show();
    auto* region = editor.findChild<QComboBox*>("region");
    auto* bank = editor.findChild<QSpinBox*>("bank");
    auto* go_to = editor.findChild<QLineEdit*>("go_to");
    auto* bytes = editor.findChild<QTableView*>("bytes");
    auto* status = editor.findChild<QLabel*>("status");

    enter(go_to, "$D123");
    EXPECT_EQ(region->currentText(), "WRAMX");
    EXPECT_TRUE(bank->isEnabled()) << "a colour program has seven banks";
    EXPECT_EQ(bank->value(), 1);
    const QModelIndex cell = bytes->currentIndex();
    EXPECT_EQ(cell.row(), 0x12);
    EXPECT_EQ(cell.column(), 0x3);
    EXPECT_EQ(bytes->model()->headerData(0x12, Qt::Vertical).toString(), "01:D120");

    type_into(bytes, cell, "5a");
    EXPECT_EQ(peek_byte(0xD123), 0x5A);
    EXPECT_EQ(cell.data().toString(), "5A");
    type_into(bytes, cell, "1FF");
    EXPECT_EQ(status->text(), "\"1FF\" is more than FF.");
    EXPECT_EQ(peek_byte(0xD123), 0x5A);

    poke_byte(0xD124, 0x77);
    editor.refresh();
    EXPECT_EQ(bytes->model()->index(0x12, 4).data().toString(), "77");

    enter(go_to, "E000");
    EXPECT_EQ(status->text(), "No region holds E000.");
    enter(go_to, "0x0150");
    EXPECT_EQ(region->currentText(), "ROM0");
    EXPECT_FALSE(bank->isEnabled());
    EXPECT_EQ(bytes->currentIndex().row(), 0x15);
}

// At the size the developer window opens with, a row shows whole: its
// sixteen bytes and its text.
TEST_F(MemoryEditorTest, ARowFitsTheDeveloperWindowAsItOpens) {
    developer_window window(nullptr);
    window.show();
    window.findChild<QTabWidget*>()->setCurrentWidget(window.memory());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(960, 640));
    auto* bytes = window.memory()->findChild<QTableView*>("bytes");
    enter(window.memory()->findChild<QLineEdit*>("go_to"), "D000");  // the longest addresses
    const int columns = bytes->model()->columnCount();
    ASSERT_EQ(columns, 17);
    for (int column = 0; column < columns; ++column) {
        EXPECT_LE(bytes->columnViewportPosition(column) + bytes->columnWidth(column),
                  bytes->viewport()->width())
            << "column " << column;
    }
}

// However the edit of a byte starts, the two digits typed replace it.
TEST_F(MemoryEditorTest, DigitsTypedIntoAByteReplaceIt) {
    memory_editor editor(nullptr);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    auto* bytes = editor.findChild<QTableView*>("bytes");
    enter(editor.findChild<QLineEdit*>("go_to"), "C010");
    const QModelIndex cell = bytes->currentIndex();
    const auto double_click = [bytes, cell] {
        const QPoint centre = bytes->visualRect(cell).center();
        QTest::mouseClick(bytes->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(bytes->viewport(), Qt::LeftButton, {}, centre);
    };
    struct case_t {
        const char* how;
        std::function<void()> start;
        const char* typed;
        uint8_t stored;
    };
    const case_t cases[] = {
        {"double-click", double_click, "ab", 0xAB},
        {"double-click, then a click into the field",
         [&] {
             double_click();
             QWidget* field = bytes->indexWidget(cell);
             QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
         },
         "c4", 0xC4},
        {"F2", [bytes] { QTest::keyClick(bytes, Qt::Key_F2); }, "3c", 0x3C},
        {"a digit typed", [bytes] { QTest::keyClick(bytes, Qt::Key_7); }, "e", 0x7E},
    };
    for (const case_t& test : cases) {
        SCOPED_TRACE(test.how);
        poke_byte(0xC010, 0x38);
        editor.refresh();
        test.start();
        auto* field = qobject_cast<QLineEdit*>(bytes->indexWidget(cell));
        ASSERT_NE(field, nullptr);
        QTest::keyClicks(field, test.typed);
        QTest::keyClick(field, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(peek_byte(0xC010), test.stored);
    }
}

}  // namespace
}  // namespace tov
