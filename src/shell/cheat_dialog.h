// The "CHEATING" dialog: the cheat search on the left and in the middle, the
// freeze list on the right. The search and the list themselves live in
// src/cheats; this dialog only shows them and forwards the buttons.
#pragma once

#include <QDialog>
#include <array>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tov {

class cheat_dialog : public QDialog {
    Q_OBJECT
public:
    explicit cheat_dialog(QWidget* parent);

    QListWidget* result_list() const { return results_; }
    QListWidget* freeze_list() const { return frozen_; }
    QPushButton* new_cheat_button() const { return new_cheat_; }
    QPushButton* search_button() const { return search_; }
    // "==", ">", "<", "!=", "= Value", in that order.
    QRadioButton* mode_button(int index) const { return modes_[index]; }
    QLineEdit* typed_value_edit() const { return typed_value_; }
    QLineEdit* name_edit() const { return name_; }
    QLineEdit* address_edit() const { return address_; }
    QLineEdit* value_edit() const { return value_; }
    QPushButton* add_cheat_button() const { return add_cheat_; }

private:
    QWidget* build_results();
    QWidget* build_search();
    QWidget* build_new_entry();
    QWidget* build_freeze_list();
    void enable_search(bool enabled);
    void show_count();
    void refill_results();
    void new_cheat();
    void search();
    void add_cheat();

    QListWidget* results_;
    QListWidget* frozen_;
    QPushButton* new_cheat_;
    QPushButton* search_;
    std::array<QRadioButton*, 5> modes_{};
    QLineEdit* typed_value_;
    QLineEdit* name_;
    QLineEdit* address_;
    QLineEdit* value_;
    QPushButton* add_cheat_;
};

// Runs the dialog modally; the emulation stands still while it is open.
void open_cheat_dialog(QWidget* parent);

}  // namespace tov
