#include "shell/joypad_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <optional>
#include <vector>

#include "host/key_names.h"
#include "shell/key_translation.h"
#include "shell/settings.h"

namespace tov {

namespace {

// Each row's label: the console buttons, then the extra controls.
constexpr const char* row_labels[controller_control_count] = {
    "UP",    "DOWN",   "LEFT",    "RIGHT",   "BUTTON A", "BUTTON B",
    "START", "SELECT", "Turbo A", "Turbo B", "Rewind"};

// Each row's name in the question about a shared key or button.
constexpr const char* row_names[controller_control_count] = {
    "Up", "Down", "Left", "Right", "A", "B", "Start", "Select", "Turbo A", "Turbo B", "Rewind"};

// The controller box's first entry: no controller button plays the console's.
constexpr const char* no_controller_button = "(none)";

// An extra control's key box shows this for no key.
const QString no_key = "None";

bool is_extra_row(int row) {
    return row >= button_count;
}

// A key box's text for `code`, and the code of a box's text.
QString key_text(int32_t code) {
    return QString::fromLatin1(key_label(code).c_str());
}

int32_t key_code(const QString& text) {
    return key_code_from_label(text.toLatin1().toStdString());
}

// What an extra control's key box shows for `code`, and back: -1 is "None",
// and so are an empty text and one whose code is no key's.
QString extra_key_text(int32_t code) {
    return code < 0 ? no_key : key_text(code);
}

int32_t extra_key_code(const QString& text) {
    const int32_t code = text == no_key ? -1 : key_code(text);
    return code > 0 ? code : -1;
}

// The settings store keeps an extra control's key by the name earlier
// versions kept too ("KEY_UP"), and takes its label ("Up") as well.
QString kept_key_name(int32_t code) {
    return code < 0 ? no_key : QString::fromLatin1(key_name(code).c_str());
}

std::optional<int32_t> kept_extra_key(const QString& name) {
    const int32_t code = extra_key_code(name);
    if (name != kept_key_name(code) && name != extra_key_text(code)) {
        return std::nullopt;
    }
    return code;
}

// The key a row's box names, as its label; "" for none.
QString box_key(const QString& text, bool extra_row) {
    const int32_t code = extra_row ? extra_key_code(text) : key_code(text);
    return code > 0 ? key_text(code) : QString();
}

// "B and Start", "B, Start and Select".
QString row_list(const std::vector<int>& rows) {
    QStringList names;
    for (const int row : rows) {
        names << row_names[row];
    }
    const QString last = names.takeLast();
    return names.join(", ") + " and " + last;
}

// A sentence for each input that several rows use: `inputs` holds each
// row's ("" for none), and `input_name` names one, "%1" its text.
QStringList shared_inputs(const QStringList& inputs, const QString& input_name) {
    QStringList sentences;
    for (int row = 0; row < inputs.size(); ++row) {
        if (inputs[row].isEmpty() || inputs.indexOf(inputs[row]) < row) {
            continue;
        }
        std::vector<int> rows;
        for (int other = row; other < inputs.size(); ++other) {
            if (inputs[other] == inputs[row]) {
                rows.push_back(other);
            }
        }
        if (rows.size() > 1) {
            sentences << QString("%1 is used for %2%3.")
                             .arg(input_name.arg(inputs[row]), rows.size() == 2 ? "both " : "",
                                  row_list(rows));
        }
    }
    return sentences;
}

// How often the controller is read while a button is awaited.
constexpr int controller_watch_interval_ms = 20;

}  // namespace

QStringList joypad_dialog::key_labels() {
    QStringList labels;
    for (const int32_t code : {vk_up, vk_down, vk_left, vk_right}) {
        labels << key_text(code);
    }
    for (int digit = 0; digit <= 9; ++digit) {
        labels << key_text(vk_numpad0 + digit);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        labels << key_text(letter);
    }
    for (char digit = '1'; digit <= '9'; ++digit) {
        labels << key_text(digit);
    }
    labels << key_text('0');
    return labels;
}

QStringList joypad_dialog::extra_key_labels() {
    return {no_key, key_text(vk_back)};
}

joypad_dialog::joypad_dialog(QWidget* parent)
    : QDialog(parent), ok_(new QPushButton("OK", this)), cancel_(new QPushButton("Cancel", this)) {
    setWindowTitle("Joypad Settings");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Key", this), 0, 1);
    layout->addWidget(new QLabel("Controller", this), 0, 3);
    const QStringList keys = key_labels();
    QStringList controller_buttons = {no_controller_button};
    for (int button = 0; button < controller_button_count(); ++button) {
        controller_buttons << QString::fromStdString(controller_button_name(button));
    }
    for (int row = 0; row < controller_control_count; ++row) {
        add_row(row, is_extra_row(row) ? extra_key_labels() + keys : keys, controller_buttons);
    }
    add_turbo_rate_row();
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons, controller_control_count + 2, 0, 1, 5, Qt::AlignHCenter);
    connect(ok_, &QPushButton::clicked, this, &joypad_dialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &joypad_dialog::reject);
    connect(&controller_watch_, &QTimer::timeout, this, &joypad_dialog::take_controller_button);
    keep_shared = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    qApp->installEventFilter(this);  // the key goes to whichever box has the focus
}

// Row `row` of the mapping: a console button's, or below them an extra
// control's.
void joypad_dialog::add_row(int row, const QStringList& keys,
                            const QStringList& controller_buttons) {
    auto* layout = static_cast<QGridLayout*>(this->layout());
    const int line = row + 1;
    auto* box = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);  // typed text stays as typed: "d" is D, not "Down"
    box->addItems(keys);
    box->setEditText(is_extra_row(row) ? extra_key_text(extra_keys_in_use()[row - button_count])
                                       : key_text(key_mapping_in_use()[row]));
    combos_[row] = box;
    auto* controller_box = new QComboBox(this);
    controller_box->addItems(controller_buttons);
    const int mapped = controller_mapping_in_use()[row];
    controller_box->setCurrentIndex(mapped >= 0 ? mapped + 1 : 0);
    controller_combos_[row] = controller_box;
    key_captures_[row] = new QPushButton("Press...", this);
    controller_captures_[row] = new QPushButton("Press...", this);
    for (QPushButton* capture : {key_captures_[row], controller_captures_[row]}) {
        capture->setAutoDefault(false);
    }
    connect(key_captures_[row], &QPushButton::clicked, this, [this, row] { capture_key(row); });
    connect(controller_captures_[row], &QPushButton::clicked, this,
            [this, row] { capture_controller_button(row); });
    layout->addWidget(new QLabel(row_labels[row], this), line, 0);
    layout->addWidget(box, line, 1);
    layout->addWidget(key_captures_[row], line, 2);
    layout->addWidget(controller_box, line, 3);
    layout->addWidget(controller_captures_[row], line, 4);
}

void joypad_dialog::add_turbo_rate_row() {
    auto* layout = static_cast<QGridLayout*>(this->layout());
    turbo_rate_ = new QSpinBox(this);
    turbo_rate_->setRange(lowest_turbo_rate, highest_turbo_rate);
    turbo_rate_->setValue(turbo_rate_in_use());
    const int line = controller_control_count + 1;
    layout->addWidget(new QLabel("Turbo presses per second", this), line, 0, 1, 2);
    layout->addWidget(turbo_rate_, line, 2);
}

void joypad_dialog::capture_key(int row) {
    end_capture();
    capturing_key_ = row;
    key_captures_[row]->setText("Press a key");
}

void joypad_dialog::capture_controller_button(int row) {
    end_capture();
    capturing_controller_ = row;
    controller_captures_[row]->setText("Press a button");
    take_pressed_controller_button();  // forget what was pressed before
    controller_watch_.start(controller_watch_interval_ms);
}

void joypad_dialog::take_controller_button() {
    poll_game_controllers();
    const int pressed = take_pressed_controller_button();
    if (pressed >= 0 && capturing_controller_ >= 0) {
        controller_combos_[capturing_controller_]->setCurrentIndex(pressed + 1);
        end_capture();
    }
}

void joypad_dialog::end_capture() {
    for (int row = 0; row < controller_control_count; ++row) {
        key_captures_[row]->setText("Press...");
        controller_captures_[row]->setText("Press...");
    }
    capturing_key_ = -1;
    capturing_controller_ = -1;
    controller_watch_.stop();
}

// While a key is awaited, every key press is taken: the next one that has a
// name goes to the box, Esc gives up the wait, and neither reaches the dialog.
bool joypad_dialog::eventFilter(QObject* watched, QEvent* event) {
    if (capturing_key_ >= 0 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int32_t code = virtual_key(*key);
        if (code >= 0) {
            combos_[capturing_key_]->setEditText(key_text(code));
        }
        if (code >= 0 || key->key() == Qt::Key_Escape) {
            end_capture();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void joypad_dialog::apply_keys() {
    key_mapping keys = key_mapping_in_use();
    for (int button = 0; button < button_count; ++button) {
        keys[button] = key_code(combos_[button]->currentText());
    }
    use_key_mapping(keys);
}

void joypad_dialog::apply_extra_keys() {
    extra_key_mapping keys = extra_keys_in_use();
    QStringList names;
    for (int control = 0; control < extra_control_count; ++control) {
        keys[control] = extra_key_code(combos_[button_count + control]->currentText());
        names << kept_key_name(keys[control]);
    }
    use_extra_keys(keys);
    save_extra_key_names(names);
}

void joypad_dialog::apply_controller_buttons() {
    controller_mapping buttons = controller_mapping_in_use();
    QStringList names;
    for (int row = 0; row < controller_control_count; ++row) {
        buttons[row] = controller_combos_[row]->currentIndex() - 1;
        names << (buttons[row] >= 0 ? controller_combos_[row]->currentText() : QString());
    }
    use_controller_mapping(buttons);
    save_controller_buttons(names);
}

QString joypad_dialog::shared_question() const {
    QStringList keys;
    QStringList buttons;
    for (int row = 0; row < controller_control_count; ++row) {
        keys << box_key(combos_[row]->currentText(), is_extra_row(row));
        const QComboBox* button = controller_combos_[row];
        buttons << (button->currentIndex() > 0 ? button->currentText() : QString());
    }
    const QStringList sentences =
        shared_inputs(keys, "%1") + shared_inputs(buttons, "Controller button %1");
    if (sentences.isEmpty()) {
        return {};
    }
    return sentences.join("\n") + (sentences.size() == 1 ? " Keep it?" : "\nKeep them?");
}

void joypad_dialog::accept() {
    const QString question = shared_question();
    if (!question.isEmpty() && !keep_shared(question)) {
        return;  // back to the dialog, nothing kept
    }
    apply_keys();
    apply_extra_keys();
    apply_controller_buttons();
    set_turbo_rate(turbo_rate_->value());
    save_turbo_rate(turbo_rate_->value());
    QDialog::accept();
}

void open_joypad_dialog(QWidget* parent) {
    joypad_dialog dialog(parent);
    dialog.exec();
}

namespace {

// Runs before the extra controls kept the eight console buttons' alone; the
// extra controls then keep their defaults.
void use_saved_controller_mapping() {
    const QStringList names = saved_controller_buttons();
    controller_mapping mapping = default_controller_mapping();
    if (names.size() == button_count || names.size() == controller_control_count) {
        for (int row = 0; row < names.size(); ++row) {
            mapping[row] =
                names[row].isEmpty() ? -1 : controller_button_from_name(names[row].toStdString());
        }
    }
    use_controller_mapping(mapping);
}

void use_saved_extra_keys() {
    const QStringList names = saved_extra_key_names();
    extra_key_mapping keys = default_extra_keys;
    for (int control = 0; control < extra_control_count && control < names.size(); ++control) {
        keys[control] = kept_extra_key(names[control]).value_or(default_extra_keys[control]);
    }
    use_extra_keys(keys);
}

}  // namespace

void use_saved_joypad_settings() {
    use_saved_controller_mapping();
    use_saved_extra_keys();
    set_turbo_rate(saved_turbo_rate());
}

}  // namespace tov
