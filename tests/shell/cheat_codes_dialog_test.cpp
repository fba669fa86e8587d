// Others > "Cheat Codes...": codes typed in, refused with a message when they
// do not decode, kept in the cartridge's cheat file and in force after OK.
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "classic/memory/memory_map.h"
#include "host/paths.h"
#include "session/session.h"
#include "shell/cheat_codes_dialog.h"
#include "shell/command_ids.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

class CheatCodesDialogTest : public test::window_test {};

void with_codes_dialog(const std::function<void(cheat_codes_dialog&)>& interact) {
    test::with_dialog<cheat_codes_dialog>(id_cheat_codes, interact);
}

// Adds `code`; the text of the message box it brings up, if any.
QString add(cheat_codes_dialog& dialog, const QString& code, const QString& name) {
    dialog.code_edit()->setText(code);
    dialog.name_edit()->setText(name);
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(dialog.add_button(), Qt::LeftButton);
    return shown;
}

TEST_F(CheatCodesDialogTest, CodesAreCheckedKeptAndPutInForce) {
    test::test_cartridge cartridge;
    ASSERT_TRUE(open_cartridge(cartridge.write()).ok);
    const std::filesystem::path file = program_folder() / "CHEATS" / (cartridge_name() + ".cht");
    std::filesystem::remove(file);
    const uint8_t before = peek_byte(0x4150);

    with_codes_dialog([](cheat_codes_dialog& dialog) {
        EXPECT_TRUE(add(dialog, "01FF10CG", "bad").contains("\"G\" is not a hex digit"));
        EXPECT_EQ(dialog.code_list()->count(), 0);
        EXPECT_EQ(dialog.code_edit()->text(), "01FF10CG") << "kept for mending";
        EXPECT_TRUE(add(dialog, "3c1-50b", "Patch").isEmpty());
        EXPECT_TRUE(add(dialog, "01FF10C0", "Lives").isEmpty());
        ASSERT_EQ(dialog.code_list()->count(), 2);
        dialog.code_list()->item(1)->setCheckState(Qt::Unchecked);
        dialog.accept();
    });
    EXPECT_EQ(peek_byte(0x4150), 0x3C) << "the Game Genie code in force";
    ASSERT_EQ(cheat_list().size(), 2u);
    EXPECT_FALSE(cheat_list()[1].enabled);
    std::ifstream saved(file);
    const std::string text((std::istreambuf_iterator<char>(saved)), {});
    EXPECT_NE(text.find("on\t3C1-50B\tPatch\n"), std::string::npos) << text;
    EXPECT_NE(text.find("off\t01FF10C0\tLives\n"), std::string::npos) << text;

    // Opened again, the cartridge reads its list; removing a code and
    // cancelling changes nothing.
    ASSERT_TRUE(open_cartridge(cartridge.write()).ok);
    with_codes_dialog([](cheat_codes_dialog& dialog) {
        ASSERT_EQ(dialog.code_list()->count(), 2);
        EXPECT_EQ(dialog.code_list()->item(0)->text(), "Patch  (3C1-50B)");
        dialog.code_list()->setCurrentRow(0);
        QTest::mouseClick(dialog.remove_button(), Qt::LeftButton);
        EXPECT_EQ(dialog.code_list()->count(), 1);
        dialog.reject();
    });
    EXPECT_EQ(cheat_list().size(), 2u);
    EXPECT_EQ(peek_byte(0x4150), 0x3C);
    use_cheat_list({});
    EXPECT_EQ(peek_byte(0x4150), before);
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace tov
