#include "debugger/developer_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "debugger/memory_editor.h"
#include "inspect/call_stack.h"
#include "inspect/disassembler.h"
#include "inspect/register_values.h"
#include "session/developer.h"

namespace tov {

namespace {

constexpr int code_rows = 48;
constexpr int rows_before_pc = 8;
constexpr int poll_ms = 50;
constexpr std::size_t log_lines = 2000;

QString hex(int value, int digits) {
    return QString("%1").arg(value, digits, 16, QChar('0')).toUpper();
}

struct step_button {
    const char* name;
    const char* text;
    const char* keys;
};

constexpr step_button step_buttons[] = {
    {"continue", "Continue", "F5"},
    {"break", "Break", "Shift+F5"},
    {"step", "Step", "F11"},
    {"step_over", "Step Over", "F10"},
    {"step_out", "Step Out", "Shift+F11"},
    {"run_to_cursor", "Run to Cursor", "Ctrl+F10"},
};

QPointer<developer_window> the_window;

}  // namespace

developer_window::developer_window(QWidget* parent)
    : QWidget(parent, Qt::Window),
      code_(new QListWidget(this)),
      go_to_(new QLineEdit(this)),
      stack_(new QListWidget(this)),
      breakpoints_(new QListWidget(this)),
      breakpoint_entry_(new QLineEdit(this)),
      log_(new QPlainTextEdit(this)),
      stop_at_ld_b_b_(new QCheckBox("Stop at LD B,B", this)),
      status_(new QLabel(this)),
      memory_(new memory_editor(this)),
      poll_timer_(new QTimer(this)) {
    setWindowTitle("Developer Tools");
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    follow_cartridge();
    watch_run([this] { return should_stop(); });
    connect(poll_timer_, &QTimer::timeout, this, &developer_window::poll);
    poll_timer_->start(poll_ms);
    show_stopped();
    status_->setText(emulating() ? "Running" : "Stopped");
}

developer_window::~developer_window() {
    watch_run({});
}

void developer_window::set_stop_at_ld_b_b(bool on) {
    stop_at_ld_b_b_->setChecked(on);
}

QPushButton* developer_window::button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

void developer_window::build() {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QWidget* part : {static_cast<QWidget*>(code_), static_cast<QWidget*>(stack_),
                          static_cast<QWidget*>(log_)}) {
        part->setFont(fixed);
    }
    code_->setObjectName("code");
    go_to_->setObjectName("code_go_to");
    go_to_->setPlaceholderText("Go to: address, bank:address or label");
    connect(go_to_, &QLineEdit::returnPressed, this, &developer_window::go_to);
    connect(code_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int address = item->data(Qt::UserRole).toInt();
        if (address >= 0) {
            toggle_breakpoint_at(static_cast<uint16_t>(address));
        }
    });
    auto* follow = new QPushButton("Follow Jump", this);
    follow->setObjectName("follow");
    connect(follow, &QPushButton::clicked, this, &developer_window::follow_jump);
    auto* earlier = new QPushButton("Earlier (Page Up)", this);
    earlier->setObjectName("earlier");
    earlier->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(earlier, &QPushButton::clicked, this,
            [this] { show_code(code_before(code_first_, code_rows / 2, source()), code_bank_); });
    auto* later = new QPushButton("Later (Page Down)", this);
    later->setObjectName("later");
    later->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(later, &QPushButton::clicked, this, [this] {
        show_code(code_lines(code_first_, code_rows / 2 + 1, source()).back().address, code_bank_);
    });
    auto* code_side = new QWidget(this);
    auto* code_layout = new QVBoxLayout(code_side);
    // The address line has a row of its own, so that the code's side stays
    // narrow enough for the memory editor's rows beside it.
    auto* code_bar = new QHBoxLayout;
    code_bar->addWidget(follow);
    code_bar->addWidget(earlier);
    code_bar->addWidget(later);
    code_layout->addWidget(go_to_);
    code_layout->addLayout(code_bar);
    code_layout->addWidget(code_);

    auto* split = new QSplitter(this);
    split->addWidget(code_side);
    split->addWidget(build_side());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(build_controls());
    layout->addWidget(split, 1);
    layout->addWidget(status_);
    resize(960, 640);
}

QWidget* developer_window::build_controls() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (const step_button& entry : step_buttons) {
        auto* push = new QPushButton(QString("%1 (%2)").arg(entry.text, entry.keys), bar);
        push->setObjectName(entry.name);
        row->addWidget(push);
        auto* shortcut = new QShortcut(QKeySequence(entry.keys), this);
        connect(shortcut, &QShortcut::activated, push, &QPushButton::click);
    }
    connect(button("continue"), &QPushButton::clicked, this, [this] { run_until({}, ""); });
    // The game stops before its next instruction, which may be asked in the
    // middle of a slice: the window shows it once the watch has stopped it.
    connect(button("break"), &QPushButton::clicked, this, [this] {
        step_stop_ = [] { return true; };
        step_reason_ = "Break";
    });
    connect(button("step"), &QPushButton::clicked, this, [this] {
        step_instruction_now();
        holds_game_ = cartridge_loaded();
        stop_reason_ = "Step";
        show_stopped();
    });
    connect(button("step_over"), &QPushButton::clicked, this,
            [this] { run_until(stepped_over(), "Step Over"); });
    connect(button("step_out"), &QPushButton::clicked, this,
            [this] { run_until(stepped_out(), "Step Out"); });
    connect(button("run_to_cursor"), &QPushButton::clicked, this, [this] {
        const QListWidgetItem* item = code_->currentItem();
        if (item && item->data(Qt::UserRole).toInt() >= 0) {
            run_until(reached(static_cast<uint16_t>(item->data(Qt::UserRole).toInt())),
                      "Run to Cursor");
        }
    });
    stop_at_ld_b_b_->setObjectName("stop_at_ld_b_b");
    stop_at_ld_b_b_->setChecked(true);
    connect(stop_at_ld_b_b_, &QCheckBox::clicked, this, [this](bool on) {
        if (stop_at_ld_b_b_changed) {
            stop_at_ld_b_b_changed(on);
        }
    });
    row->addStretch();
    row->addWidget(stop_at_ld_b_b_);
    return bar;
}

QWidget* developer_window::build_side() {
    auto* tabs = new QTabWidget(this);
    auto* machine = new QWidget(tabs);
    auto* column = new QVBoxLayout(machine);
    column->addWidget(build_registers());
    column->addWidget(new QLabel("Call stack", machine));
    stack_->setObjectName("stack");
    column->addWidget(stack_, 1);
    tabs->addTab(machine, "Registers");
    tabs->addTab(build_breakpoints(), "Breakpoints");
    tabs->addTab(memory_, "Memory");
    log_->setObjectName("log");
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(static_cast<int>(log_lines));
    tabs->addTab(log_, "Log");
    return tabs;
}

QWidget* developer_window::build_registers() {
    auto* box = new QGroupBox("Registers", this);
    auto* grid = new QGridLayout(box);
    const char* names[] = {"AF", "BC", "DE", "HL", "SP", "PC"};
    for (int i = 0; i < 6; ++i) {
        auto* field = new QLineEdit(box);
        field->setObjectName(names[i]);
        field->setInputMask(">HHHH");
        grid->addWidget(new QLabel(names[i], box), i / 2, (i % 2) * 2);
        grid->addWidget(field, i / 2, (i % 2) * 2 + 1);
        register_fields_.emplace_back(names[i], field);
        connect(field, &QLineEdit::editingFinished, this,
                [this, name = std::string(names[i]), field] { edit_register(name, field); });
    }
    auto* flags = new QHBoxLayout;
    const char* flag_names[] = {"Z", "N", "H", "C"};
    for (int bit = 0; bit < 4; ++bit) {
        auto* check = new QCheckBox(flag_names[bit], box);
        check->setObjectName(QString("flag_") + flag_names[bit]);
        flags->addWidget(check);
        flag_boxes_.push_back(check);
        connect(check, &QCheckBox::clicked, this, [this, bit](bool on) {
            const int mask = 0x80 >> bit;
            const int flags = machine_registers().af & 0xFF;
            set_register("F", on ? flags | mask : flags & ~mask);
            show_stopped();
        });
    }
    grid->addLayout(flags, 3, 0, 1, 4);
    return box;
}

QWidget* developer_window::build_breakpoints() {
    auto* page = new QWidget(this);
    auto* column = new QVBoxLayout(page);
    breakpoints_->setObjectName("breakpoints");
    breakpoint_entry_->setObjectName("breakpoint_entry");
    breakpoint_entry_->setPlaceholderText(
        "4A81, 03:4A81, label, read C000-C0FF, write FF40, "
        "A == 3F, (C0A0) != 00, invalid opcode");
    auto* add = new QPushButton("Add", page);
    add->setObjectName("add_breakpoint");
    auto* remove = new QPushButton("Remove", page);
    remove->setObjectName("remove_breakpoint");
    auto* entry_row = new QHBoxLayout;
    entry_row->addWidget(breakpoint_entry_, 1);
    entry_row->addWidget(add);
    entry_row->addWidget(remove);
    column->addLayout(entry_row);
    column->addWidget(breakpoints_, 1);
    connect(breakpoint_entry_, &QLineEdit::returnPressed, this, &developer_window::add_breakpoint);
    connect(add, &QPushButton::clicked, this, &developer_window::add_breakpoint);
    connect(remove, &QPushButton::clicked, this, &developer_window::remove_breakpoint);
    connect(breakpoints_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        std::vector<breakpoint> points = watch_.points();
        const auto row = static_cast<std::size_t>(breakpoints_->row(item));
        if (row < points.size()) {
            points[row].enabled = item->checkState() == Qt::Checked;
            use_breakpoints(points);
        }
    });
    return page;
}

void developer_window::follow_cartridge() {
    if (!cartridge_loaded() || cartridge_ == cartridge_name()) {
        return;
    }
    cartridge_ = cartridge_name();
    const cartridge_symbols read = read_cartridge_symbols();
    symbols_ = read.symbols;
    labels_ = symbol_index(symbols_);
    watch_.use(read_breakpoints());
    show_breakpoints();
    if (!read.note.empty()) {
        log_->appendPlainText(QString::fromStdString(read.note));
    }
}

// Asked before every instruction while the window is open.
bool developer_window::should_stop() {
    if (std::optional<std::string> message = messages_.message_ran();
        message && unshown_messages_.size() < log_lines) {  // the pane keeps no more
        unshown_messages_.push_back(std::move(*message));
    }
    if (step_stop_ && step_stop_()) {
        stop_reason_ = step_reason_;
        return true;
    }
    if (stop_at_ld_b_b_->isChecked() && ld_b_b_next()) {
        stop_reason_ = "LD B,B";
        return true;
    }
    const int hit = watch_.points().empty() ? -1 : watch_.check(moment_now());
    if (hit >= 0) {
        stop_reason_ =
            "Breakpoint " + breakpoint_text(watch_.points()[static_cast<std::size_t>(hit)]);
        return true;
    }
    return false;
}

void developer_window::poll() {
    follow_cartridge();
    for (const std::string& message : unshown_messages_) {
        log_->appendPlainText(QString::fromStdString(message));
    }
    unshown_messages_.clear();
    if (take_watch_stop()) {
        step_stop_ = {};
        holds_game_ = true;
        show_stopped();
        emit run_state_changed();
    } else if (emulating()) {
        holds_game_ = false;  // let go elsewhere, as with Pause
    }
    set_enabled_for_state();
}

// The game this window stopped goes on, as with Continue; one the player
// paused stays paused.
void developer_window::closeEvent(QCloseEvent* event) {
    watch_run({});
    if (holds_game_ && !emulating()) {
        resume();
    }
    holds_game_ = false;
    emit run_state_changed();
    QWidget::closeEvent(event);
}

void developer_window::run_until(std::function<bool()> also, const char* reason) {
    if (!cartridge_loaded()) {
        return;
    }
    step_stop_ = std::move(also);
    step_reason_ = reason;
    run_on([this] { return should_stop(); });
    emit run_state_changed();
    status_->setText("Running");
    set_enabled_for_state();
}

void developer_window::show_stopped() {
    code_bank_ = -1;
    show_code(code_before(static_cast<uint16_t>(machine_registers().pc), rows_before_pc, source()),
              -1);
    show_registers();
    show_stack();
    memory_->refresh();
    status_->setText(
        QString("Stopped at %1 (%2)")
            .arg(hex(machine_registers().pc, 4), QString::fromStdString(stop_reason_)));
    set_enabled_for_state();
}

void developer_window::show_code(uint16_t first, int bank) {
    code_first_ = first;
    code_bank_ = bank;
    code_->clear();
    const bool pc_shown = bank < 0;
    for (const code_line& line : code_lines(first, code_rows, source())) {
        if (!line.label.empty()) {
            auto* label = new QListWidgetItem(QString::fromStdString(line.label + ":"), code_);
            label->setData(Qt::UserRole, -1);
        }
        const bool marked = std::any_of(
            watch_.points().begin(), watch_.points().end(), [&](const breakpoint& point) {
                return point.kind == break_kind::address && point.first == line.address;
            });
        const bool at_pc = pc_shown && line.address == machine_registers().pc;
        const QString text = QString("%1%2 %3  %4  %5")
                                 .arg(marked ? "*" : " ", at_pc ? ">" : " ")
                                 .arg(hex(line.address, 4))
                                 .arg(QString::fromStdString(line.bytes), -8)
                                 .arg(QString::fromStdString(line.text));
        auto* item = new QListWidgetItem(text, code_);
        item->setData(Qt::UserRole, line.address);
        item->setData(Qt::UserRole + 1, line.target ? *line.target : -1);
        if (at_pc) {
            code_->setCurrentItem(item);
        }
    }
}

void developer_window::show_registers() {
    const cpu_moment now = moment_now();
    const int values[] = {now.registers.af, now.registers.bc, now.registers.de,
                          now.registers.hl, now.registers.sp, now.registers.pc};
    for (std::size_t i = 0; i < register_fields_.size(); ++i) {
        register_fields_[i].second->setText(hex(values[i], 4));
    }
    int mask = 0x80;  // Z, N, H, C
    for (QCheckBox* flag : flag_boxes_) {
        flag->setChecked((now.registers.af & mask) != 0);
        mask >>= 1;
    }
}

void developer_window::show_stack() {
    stack_->clear();
    const cpu_moment now = moment_now();
    const code_source code = source();
    for (const stack_frame& frame : read_call_stack(now.registers.sp, now.byte_at)) {
        const instruction call = disassemble(frame.call_site, code.byte_at, code.label_of);
        stack_->addItem(QString("%1  returns to %2  from %3 %4")
                            .arg(hex(frame.slot, 4), hex(frame.returns_to, 4),
                                 hex(frame.call_site, 4), QString::fromStdString(call.text)));
    }
}

void developer_window::show_breakpoints() {
    const QSignalBlocker quiet(breakpoints_);
    breakpoints_->clear();
    for (const breakpoint& point : watch_.points()) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(breakpoint_text(point)), breakpoints_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(point.enabled ? Qt::Checked : Qt::Unchecked);
    }
}

void developer_window::go_to() {
    const std::optional<code_place> place = parse_place(go_to_->text().toStdString(), symbols_);
    if (!place) {
        status_->setText("\"" + go_to_->text() + "\" is not an address, bank:address or label");
        return;
    }
    show_code(place->address, place->bank);
}

void developer_window::follow_jump() {
    const QListWidgetItem* item = code_->currentItem();
    const int target = item ? item->data(Qt::UserRole + 1).toInt() : -1;
    if (target >= 0) {
        show_code(static_cast<uint16_t>(target), code_bank_);
    }
}

void developer_window::add_breakpoint() {
    const parsed_breakpoint parsed =
        parse_breakpoint(breakpoint_entry_->text().toStdString(), symbols_);
    if (!parsed.point) {
        status_->setText(QString::fromStdString(parsed.outcome.message));
        return;
    }
    std::vector<breakpoint> points = watch_.points();
    points.push_back(*parsed.point);
    use_breakpoints(points);
    breakpoint_entry_->clear();
}

void developer_window::remove_breakpoint() {
    const int row = breakpoints_->currentRow();
    std::vector<breakpoint> points = watch_.points();
    if (row >= 0 && static_cast<std::size_t>(row) < points.size()) {
        points.erase(points.begin() + row);
        use_breakpoints(points);
    }
}

void developer_window::toggle_breakpoint_at(uint16_t address) {
    std::vector<breakpoint> points = watch_.points();
    const auto found = std::find_if(points.begin(), points.end(), [&](const breakpoint& point) {
        return point.kind == break_kind::address && point.first == address;
    });
    if (found != points.end()) {
        points.erase(found);
    } else {
        breakpoint point;
        point.first = point.last = address;
        point.bank = address >= 0x4000 && address < 0x8000 && code_bank_ >= 0 ? code_bank_ : -1;
        points.push_back(point);
    }
    use_breakpoints(points);
}

void developer_window::use_breakpoints(std::vector<breakpoint> points) {
    watch_.use(std::move(points));
    show_breakpoints();
    show_code(code_first_, code_bank_);
    if (!cartridge_loaded()) {
        return;
    }
    const result saved = save_breakpoints(watch_.points());
    if (!saved.ok) {
        status_->setText(QString::fromStdString(saved.message));
    }
}

void developer_window::edit_register(const std::string& name, QLineEdit* field) {
    if (emulating()) {
        return;  // the fields are read-only then; the next stop shows them again
    }
    bool ok = false;
    const int value = field->text().toInt(&ok, 16);
    if (ok) {
        set_register(name, value);
    }
    show_stopped();
}

void developer_window::set_enabled_for_state() {
    const bool stopped = cartridge_loaded() && !emulating();
    for (const step_button& entry : step_buttons) {
        button(entry.name)
            ->setEnabled(std::string_view(entry.name) == "break" ? !stopped : stopped);
    }
    for (auto& [name, field] : register_fields_) {
        field->setReadOnly(!stopped);
    }
    for (QCheckBox* check : flag_boxes_) {
        check->setEnabled(stopped);
    }
}

std::string developer_window::label_at(uint16_t address) const {
    const int bank = code_bank_ >= 0 && address >= 0x4000 && address < 0x8000
                         ? code_bank_
                         : bank_at_address(address);
    return labels_.name_at(bank, address);
}

code_source developer_window::source() const {
    const int bank = code_bank_;
    return {[bank](uint16_t address) { return code_byte_in_bank(address, bank); },
            [this](uint16_t address) { return label_at(address); }};
}

developer_window* open_developer_tools(QWidget* parent) {
    if (!the_window) {
        the_window = new developer_window(parent);
    }
    the_window->show();
    the_window->raise();
    the_window->activateWindow();
    return the_window;
}

}  // namespace tov
