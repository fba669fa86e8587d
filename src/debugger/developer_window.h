// The "Developer Tools" window for people who write Game Boy programs: the
// disassembly with the program's labels, breakpoints, steps, registers, the
// call stack, a memory editor and the log of the game's debug messages. Not
// modal: the game runs on, watched, until something stops it.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "inspect/breakpoints.h"
#include "inspect/code_view.h"
#include "session/breaks.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tov {

class memory_editor;

class developer_window : public QWidget {
    Q_OBJECT
public:
    explicit developer_window(QWidget* parent);
    ~developer_window() override;

    // "Stop at LD B,B": shown checked or not, and told when the user changes it.
    void set_stop_at_ld_b_b(bool on);
    std::function<void(bool)> stop_at_ld_b_b_changed;

signals:
    // The window stopped the game or let it run.
    void run_state_changed();

public:
    // The window's parts, for tests.
    QListWidget* code() const { return code_; }
    QLineEdit* breakpoint_entry() const { return breakpoint_entry_; }
    memory_editor* memory() const { return memory_; }
    QLabel* status() const { return status_; }
    QPushButton* button(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    QWidget* build_controls();
    QWidget* build_side();
    QWidget* build_registers();
    QWidget* build_breakpoints();

    // The cartridge's symbols and breakpoints, again when another is loaded.
    void follow_cartridge();
    bool should_stop();
    void poll();
    // Runs on until `also` or a breakpoint says to stop; `reason` names `also`.
    void run_until(std::function<bool()> also, const char* reason);
    void show_stopped();
    void show_code(uint16_t first, int bank);
    void show_registers();
    void show_stack();
    void show_breakpoints();
    void go_to();
    void follow_jump();
    void add_breakpoint();
    void remove_breakpoint();
    void toggle_breakpoint_at(uint16_t address);
    void use_breakpoints(std::vector<breakpoint> points);
    void edit_register(const std::string& name, QLineEdit* field);
    void set_enabled_for_state();
    std::string label_at(uint16_t address) const;
    code_source source() const;

    QListWidget* code_;
    QLineEdit* go_to_;
    QListWidget* stack_;
    QListWidget* breakpoints_;
    QLineEdit* breakpoint_entry_;
    QPlainTextEdit* log_;
    QCheckBox* stop_at_ld_b_b_;
    QLabel* status_;
    memory_editor* memory_;
    std::vector<std::pair<std::string, QLineEdit*>> register_fields_;
    std::vector<QCheckBox*> flag_boxes_;
    QTimer* poll_timer_;

    std::string cartridge_;  // whose symbols and breakpoints are in use
    symbol_file symbols_;
    symbol_index labels_;
    break_watch watch_;
    debug_message_watch messages_;
    std::vector<std::string> unshown_messages_;
    std::function<bool()> step_stop_;  // the test of a step (or Break) under way
    std::string step_reason_;
    std::string stop_reason_;
    bool holds_game_ = false;  // stopped by this window, which lets it go on closing
    uint16_t code_first_ = 0;
    int code_bank_ = -1;  // the bank the disassembly shows at 4000-7FFF; -1: the one in view
};

// Others > "Developer Tools...": shows the one window, creating it at first.
developer_window* open_developer_tools(QWidget* parent);

}  // namespace tov
