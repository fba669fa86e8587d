// The "CHEATING" dialog through its buttons and text fields.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <functional>

#include "classic/memory/memory_map.h"
#include "machine/shell_flags.h"
#include "memory/freeze_list.h"
#include "session/cheat_search.h"
#include "shell/cheat_dialog.h"
#include "shell/command_ids.h"
#include "shell_test_support.h"
#include "test_cartridge.h"

namespace tov {
namespace {

enum mode_index { equal_mode, greater_mode, less_mode, changed_mode, value_mode };

class CheatDialogTest : public test::window_test {
protected:
    void SetUp() override {
        window_test::SetUp();
        freeze_count = 0;
        candidate_count = 0;
        ASSERT_TRUE(cartridge_.load());
        rom_loaded = 1;
        emulation_running = 1;
        std::fill(std::begin(cart_ram), std::end(cart_ram), 0);
    }
    void TearDown() override {
        freeze_count = 0;  // no frozen address may reach the other tests
        candidate_count = 0;
        window_test::TearDown();
    }

    test::test_cartridge cartridge_;
};

// Runs the dialog from the menu with `interact` acting on it, then closes it.
void with_cheat_dialog(const std::function<void(cheat_dialog&)>& interact) {
    test::with_dialog<cheat_dialog>(id_cheating, [&](cheat_dialog& dialog) {
        interact(dialog);
        dialog.reject();
    });
}

void type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void search_with(cheat_dialog& dialog, int mode) {
    QRadioButton* button = dialog.mode_button(mode);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));  // the circle
    click(dialog.search_button());
}

QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    return texts;
}

bool search_enabled(const cheat_dialog& dialog) {
    bool all = dialog.search_button()->isEnabled() && dialog.typed_value_edit()->isEnabled();
    for (int mode = 0; mode < 5; ++mode) {
        all = all && dialog.mode_button(mode)->isEnabled();
    }
    return all;
}

TEST_F(CheatDialogTest, OpensWithItsDefaultsAndTheEmulationStopped) {
    uint8_t running_inside = 0xFF;
    with_cheat_dialog([&](cheat_dialog& dialog) {
        running_inside = emulation_running;
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == ???");
        EXPECT_EQ(dialog.name_edit()->text(), "unnamed");
        EXPECT_EQ(dialog.address_edit()->text(), "FFFF");
        EXPECT_EQ(dialog.value_edit()->text(), "FF");
        EXPECT_EQ(dialog.typed_value_edit()->text(), "FF");
        EXPECT_FALSE(dialog.search_button()->isEnabled());
        EXPECT_FALSE(dialog.typed_value_edit()->isEnabled());
        for (int mode = 0; mode < 5; ++mode) {
            EXPECT_FALSE(dialog.mode_button(mode)->isEnabled()) << mode;
        }
        EXPECT_TRUE(dialog.new_cheat_button()->isEnabled());
        EXPECT_EQ(dialog.result_list()->count(), 0);
        EXPECT_EQ(dialog.freeze_list()->count(), 0);
    });
    EXPECT_EQ(running_inside, 0);
    EXPECT_EQ(emulation_running, 1) << "the game runs again after the dialog";
}

TEST_F(CheatDialogTest, SearchListsResultsOnlyBelowOneHundred) {
    with_cheat_dialog([](cheat_dialog& dialog) {
        click(dialog.new_cheat_button());
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == 7FFF");
        EXPECT_TRUE(search_enabled(dialog));
        search_with(dialog, equal_mode);
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == 7FFF") << "nothing changed";
        EXPECT_EQ(dialog.result_list()->count(), 0);

        for (int32_t i = 0; i < 100; ++i) {
            poke_byte(0x8000 + i, 1);  // video RAM, seen once each
        }
        search_with(dialog, changed_mode);
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == 64");
        EXPECT_EQ(dialog.result_list()->count(), 0) << "100 results are not listed";

        for (int32_t i = 0; i < 99; ++i) {
            poke_byte(0x8000 + i, 2);
        }
        search_with(dialog, greater_mode);
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == 63");
        ASSERT_EQ(dialog.result_list()->count(), 99);
        EXPECT_EQ(dialog.result_list()->item(0)->text(), "2 on 8000");
        EXPECT_EQ(dialog.result_list()->item(1)->text(), "2 on 8001");
        EXPECT_EQ(dialog.result_list()->item(16)->text(), "2 on 8010");
        EXPECT_TRUE(lines(dialog.result_list()).contains("2 on 8062"));
    });
}

TEST_F(CheatDialogTest, ListsAreSortedAsText) {
    with_cheat_dialog([](cheat_dialog& dialog) {
        click(dialog.new_cheat_button());
        poke_byte(0x8005, 0x02);
        poke_byte(0x9000, 0x10);
        search_with(dialog, greater_mode);
        EXPECT_EQ(lines(dialog.result_list()), QStringList({"10 on 9000", "2 on 8005"}));

        type(dialog.address_edit(), "C0A5");
        type(dialog.value_edit(), "3");
        click(dialog.add_cheat_button());
        type(dialog.address_edit(), "8000");
        click(dialog.add_cheat_button());
        EXPECT_EQ(lines(dialog.freeze_list()),
                  QStringList({"0x8000 = 0x3    unnamed", "0xC0A5 = 0x3    unnamed"}));
    });
}

TEST_F(CheatDialogTest, EqualsValueTakesOneDigitAsItsLowDigit) {
    poke_byte(0x8000, 0x05);
    with_cheat_dialog([](cheat_dialog& dialog) {
        click(dialog.new_cheat_button());
        type(dialog.typed_value_edit(), "5");
        search_with(dialog, value_mode);
        const QStringList found = lines(dialog.result_list());
        EXPECT_TRUE(found.contains("5 on 8000"));
        for (const QString& line : found) {
            EXPECT_TRUE(line.startsWith("5 on ")) << line.toStdString();
        }
        EXPECT_EQ(dialog.windowTitle(), QString::asprintf("CHEATING == %X", int(found.size())));
    });
}

TEST_F(CheatDialogTest, SearchWithoutResultSaysSoAndDisablesTheSearch) {
    with_cheat_dialog([](cheat_dialog& dialog) {
        click(dialog.new_cheat_button());
        poke_byte(0x8000, 0x01);
        search_with(dialog, greater_mode);
        EXPECT_EQ(dialog.result_list()->count(), 1);
        search_with(dialog, less_mode);
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == 0");
        EXPECT_EQ(dialog.result_list()->count(), 0);
        EXPECT_FALSE(search_enabled(dialog));
        click(dialog.new_cheat_button());
        EXPECT_TRUE(search_enabled(dialog)) << "New Cheat starts over";
    });
    EXPECT_EQ(messages, std::vector<std::string>{"CHEAT SEARCHING: Searching without any result!"});
}

TEST_F(CheatDialogTest, AddCheatFreezesTheAddressAndReopeningShowsIt) {
    with_cheat_dialog([](cheat_dialog& dialog) {
        click(dialog.new_cheat_button());
        poke_byte(0x8000, 0x01);
        search_with(dialog, changed_mode);
        type(dialog.name_edit(), "lives");
        type(dialog.address_edit(), "c0a5");
        type(dialog.value_edit(), "3");
        click(dialog.add_cheat_button());
        EXPECT_EQ(lines(dialog.freeze_list()), QStringList({"0xC0A5 = 0x3    lives"}));
    });
    write_byte(0xC0A5, 0x09);
    EXPECT_EQ(read_byte(0xC0A5), 0x03);

    with_cheat_dialog([](cheat_dialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "CHEATING == 1");
        EXPECT_TRUE(search_enabled(dialog));
        EXPECT_EQ(lines(dialog.result_list()), QStringList({"1 on 8000"}));
        EXPECT_EQ(lines(dialog.freeze_list()), QStringList({"0xC0A5 = 0x3    lives"}));
        click(dialog.add_cheat_button());  // the defaults: FFFF to FF
    });
    EXPECT_EQ(freeze_count, 2);
    EXPECT_EQ(read_byte(0xFFFF), 0xFF);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CheatDialogTest, TextsThatAreNotHexAreRefusedNamingTheField) {
    struct bad_text {
        std::function<QLineEdit*(cheat_dialog&)> field;
        QString text;
        bool search;  // typed for "= Value" rather than for ADD CHEAT
        std::string field_name;
    };
    const bad_text cases[] = {
        {&cheat_dialog::address_edit, "C0A", false, "ON: "},
        {&cheat_dialog::address_edit, "C0AZ", false, "ON: "},
        {&cheat_dialog::address_edit, "", false, "ON: "},
        {&cheat_dialog::value_edit, "XY", false, "Value: "},
        {&cheat_dialog::value_edit, "", false, "Value: "},
        {&cheat_dialog::typed_value_edit, "G", true, "= Value: "},
    };
    for (const bad_text& test : cases) {
        messages.clear();
        with_cheat_dialog([&](cheat_dialog& dialog) {
            click(dialog.new_cheat_button());
            type(test.field(dialog), test.text);
            if (test.search) {
                search_with(dialog, value_mode);
                EXPECT_EQ(dialog.windowTitle(), "CHEATING == 7FFF") << "the search did not run";
            } else {
                click(dialog.add_cheat_button());
                EXPECT_EQ(dialog.freeze_list()->count(), 0);
            }
        });
        EXPECT_EQ(freeze_count, 0);
        ASSERT_EQ(messages.size(), 1u) << test.text.toStdString();
        EXPECT_EQ(messages[0].rfind("CHEATING: " + test.field_name, 0), 0u) << messages[0];
    }
}

TEST_F(CheatDialogTest, FullFreezeListTakesNothingMore) {
    for (int32_t i = 0; i < freeze_capacity; ++i) {
        add_freeze(0xC000 + i, 0, "x");
    }
    with_cheat_dialog([](cheat_dialog& dialog) {
        EXPECT_EQ(dialog.freeze_list()->count(), 256);
        type(dialog.address_edit(), "D000");
        click(dialog.add_cheat_button());
        EXPECT_EQ(dialog.freeze_list()->count(), 256);
    });
    EXPECT_EQ(freeze_count, 256);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace tov
