#include "shell/cheat_dialog.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

#include "session/cheat_search.h"
#include "shell/main_window.h"
#include "shell/start_up.h"

namespace tov {

namespace {

constexpr const char* mode_captions[] = {"==", ">", "<", "!=", "= Value"};
constexpr search_mode modes[] = {search_mode::unchanged, search_mode::increased,
                                 search_mode::decreased, search_mode::changed,
                                 search_mode::equals_value};
constexpr int equals_value_index = 4;

// Result lines are shown only when there are fewer than this many.
constexpr int32_t listed_results = 100;

QPushButton* plain_button(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);  // Enter in a text field starts nothing
    return button;
}

QLineEdit* text_field(const QString& text, int max_length, QWidget* parent) {
    auto* field = new QLineEdit(text, parent);
    field->setMaxLength(max_length);
    return field;
}

QGroupBox* group(const QString& title, QWidget* content, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QListWidget* sorted_list(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSortingEnabled(true);
    return list;
}

// The hex text of `field`, or a message naming the field and no value.
std::optional<int32_t> read_hex(const QLineEdit* field, const char* field_name, bool address) {
    const std::string text = field->text().toStdString();
    const std::optional<int32_t> value = address ? parse_hex4(text) : parse_hex2(text);
    if (!value) {
        const std::string wanted = address ? "four hex digits (0-9, A-F), such as C0A5"
                                           : "one or two hex digits (0-9, A-F), such as 3F";
        main_window->show_message("CHEATING", std::string(field_name) + ": \"" + text +
                                                  "\" is not accepted. Type " + wanted + ".");
    }
    return value;
}

}  // namespace

cheat_dialog::cheat_dialog(QWidget* parent) : QDialog(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(build_results());
    auto* middle = new QVBoxLayout;
    middle->addWidget(build_search());
    middle->addWidget(build_new_entry());
    layout->addLayout(middle);
    layout->addWidget(build_freeze_list());

    if (candidate_count == 0) {
        setWindowTitle("CHEATING == ???");  // no search yet, or the last one found nothing
    } else {
        show_count();
    }
    enable_search(candidate_count > 0);
    if (candidate_count > 0 && candidate_count < listed_results) {
        refill_results();
    }
    for (int32_t i = 0; i < freeze_count; ++i) {
        frozen_->addItem(QString::fromLatin1(freeze_line(i).c_str()));
    }
}

QWidget* cheat_dialog::build_results() {
    results_ = sorted_list(this);
    return group("Cheats", results_, this);
}

QWidget* cheat_dialog::build_search() {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    new_cheat_ = plain_button("New Cheat", content);
    search_ = plain_button("Search", content);
    layout->addWidget(new_cheat_);
    layout->addWidget(search_);
    for (int i = 0; i < static_cast<int>(modes_.size()); ++i) {
        modes_[i] = new QRadioButton(mode_captions[i], content);
        layout->addWidget(modes_[i]);
    }
    typed_value_ = text_field("FF", 2, content);
    auto* value_row = new QHBoxLayout;
    value_row->addWidget(modes_[equals_value_index]);
    value_row->addWidget(typed_value_);
    layout->addLayout(value_row);
    connect(new_cheat_, &QPushButton::clicked, this, &cheat_dialog::new_cheat);
    connect(search_, &QPushButton::clicked, this, &cheat_dialog::search);
    return group("Searching", content, this);
}

QWidget* cheat_dialog::build_new_entry() {
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    name_ = text_field("unnamed", static_cast<int>(freeze_name_length), content);
    address_ = text_field("FFFF", 4, content);
    value_ = text_field("FF", 2, content);
    layout->addWidget(group("Cheatname", name_, content));
    auto* row = new QHBoxLayout;
    row->addWidget(group("ON", address_, content));
    row->addWidget(group("Value", value_, content));
    layout->addLayout(row);
    add_cheat_ = plain_button("ADD CHEAT", content);
    layout->addWidget(add_cheat_);
    connect(add_cheat_, &QPushButton::clicked, this, &cheat_dialog::add_cheat);
    return content;
}

QWidget* cheat_dialog::build_freeze_list() {
    frozen_ = sorted_list(this);
    frozen_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // padded lines line up
    return group("Freeze Cheats", frozen_, this);
}

void cheat_dialog::enable_search(bool enabled) {
    for (QRadioButton* mode : modes_) {
        mode->setEnabled(enabled);
    }
    typed_value_->setEnabled(enabled);
    search_->setEnabled(enabled);
}

void cheat_dialog::show_count() {
    setWindowTitle(QString::asprintf("CHEATING == %X", candidate_count));
}

void cheat_dialog::refill_results() {
    results_->clear();
    for (const std::string& line : candidate_lines()) {
        results_->addItem(QString::fromLatin1(line.c_str()));
    }
}

// The result list keeps its lines until the next refill.
void cheat_dialog::new_cheat() {
    enable_search(true);
    start_search();
    show_count();
}

void cheat_dialog::search() {
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(modes_.size()) && chosen < 0; ++i) {
        if (modes_[i]->isChecked()) {
            chosen = i;
        }
    }
    if (chosen >= 0) {
        int32_t typed = 0;
        if (chosen == equals_value_index) {
            const std::optional<int32_t> value = read_hex(typed_value_, "= Value", false);
            if (!value) {
                return;
            }
            typed = *value;
        }
        narrow_search(modes[chosen], typed);
    }
    show_count();
    if (candidate_count < listed_results) {
        refill_results();
    }
    if (candidate_count == 0) {
        enable_search(false);
        main_window->show_message("CHEAT SEARCHING", "Searching without any result!");
    }
}

// A full list takes nothing more.
void cheat_dialog::add_cheat() {
    if (freeze_count >= freeze_capacity) {
        return;
    }
    const std::optional<int32_t> address = read_hex(address_, "ON", true);
    if (!address) {
        return;
    }
    const std::optional<int32_t> value = read_hex(value_, "Value", false);
    if (!value) {
        return;
    }
    const QByteArray name = name_->text().left(freeze_name_length).toLatin1();
    add_freeze(*address, *value, name.toStdString());
    frozen_->addItem(QString::fromLatin1(freeze_line(freeze_count - 1).c_str()));
}

void open_cheat_dialog(QWidget* parent) {
    cheat_dialog dialog(parent);
    dialog.exec();
}

}  // namespace tov
