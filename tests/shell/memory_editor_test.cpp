#include "debugger/memory_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "memory/memory_map.h"
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

}  // namespace
}  // namespace tov
