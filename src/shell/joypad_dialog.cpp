#include "shell/joypad_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "controller/game_controllers.h"
#include "host/key_names.h"
#include "shell/key_translation.h"
#include "shell/settings.h"

namespace tov {

namespace {

constexpr const char* button_labels[button_count] = {"UP",       "DOWN",     "LEFT",  "RIGHT",
                                                     "BUTTON A", "BUTTON B", "START", "SELECT"};

// The controller box's first entry: no controller button plays the console's.
constexpr const char* no_controller_button = "(none)";

// How often the controller is read while a button is awaited.
constexpr int controller_watch_interval_ms = 20;

}  // namespace

QStringList joypad_dialog::key_names() {
    QStringList names = {"KEY_UP", "KEY_DOWN", "KEY_LEFT", "KEY_RIGHT"};
    for (int digit = 0; digit <= 9; ++digit) {
        names << QString("NUMPAD_%1").arg(digit);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        names << QString(QChar(letter));
    }
    for (char digit = '1'; digit <= '9'; ++digit) {
        names << QString(QChar(digit));
    }
    names << "0";
    return names;
}

joypad_dialog::joypad_dialog(QWidget* parent)
    : QDialog(parent), ok_(new QPushButton("OK", this)), cancel_(new QPushButton("Cancel", this)) {
    setWindowTitle("Joypad Settings");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Key", this), 0, 1);
    layout->addWidget(new QLabel("Controller", this), 0, 3);
    const QStringList keys = key_names();
    QStringList controller_buttons = {no_controller_button};
    for (int button = 0; button < controller_button_count(); ++button) {
        controller_buttons << QString::fromStdString(controller_button_name(button));
    }
    for (int button = 0; button < button_count; ++button) {
        add_row(button, keys, controller_buttons);
    }
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons, button_count + 1, 0, 1, 5, Qt::AlignHCenter);
    connect(ok_, &QPushButton::clicked, this, &joypad_dialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &joypad_dialog::reject);
    connect(&controller_watch_, &QTimer::timeout, this, &joypad_dialog::take_controller_button);
    qApp->installEventFilter(this);  // the key goes to whichever box has the focus
}

void joypad_dialog::add_row(int button, const QStringList& keys,
                            const QStringList& controller_buttons) {
    auto* layout = static_cast<QGridLayout*>(this->layout());
    const int row = button + 1;
    auto* box = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(keys);
    box->setEditText(QString::fromLatin1(key_name(key_mapping_in_use()[button]).c_str()));
    combos_[button] = box;
    auto* controller_box = new QComboBox(this);
    controller_box->addItems(controller_buttons);
    const int mapped = controller_mapping_in_use()[button];
    controller_box->setCurrentIndex(mapped >= 0 ? mapped + 1 : 0);
    controller_combos_[button] = controller_box;
    key_captures_[button] = new QPushButton("Press...", this);
    controller_captures_[button] = new QPushButton("Press...", this);
    for (QPushButton* capture : {key_captures_[button], controller_captures_[button]}) {
        capture->setAutoDefault(false);
    }
    connect(key_captures_[button], &QPushButton::clicked, this,
            [this, button] { capture_key(button); });
    connect(controller_captures_[button], &QPushButton::clicked, this,
            [this, button] { capture_controller_button(button); });
    layout->addWidget(new QLabel(button_labels[button], this), row, 0);
    layout->addWidget(box, row, 1);
    layout->addWidget(key_captures_[button], row, 2);
    layout->addWidget(controller_box, row, 3);
    layout->addWidget(controller_captures_[button], row, 4);
}

void joypad_dialog::capture_key(int button) {
    end_capture();
    capturing_key_ = button;
    key_captures_[button]->setText("Press a key");
}

void joypad_dialog::capture_controller_button(int button) {
    end_capture();
    capturing_controller_ = button;
    controller_captures_[button]->setText("Press a button");
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
    for (int button = 0; button < button_count; ++button) {
        key_captures_[button]->setText("Press...");
        controller_captures_[button]->setText("Press...");
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
            combos_[capturing_key_]->setEditText(QString::fromLatin1(key_name(code).c_str()));
        }
        if (code >= 0 || key->key() == Qt::Key_Escape) {
            end_capture();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void joypad_dialog::accept() {
    key_mapping keys = key_mapping_in_use();
    controller_mapping buttons = controller_mapping_in_use();
    QStringList names;
    for (int button = 0; button < button_count; ++button) {
        const QByteArray text = combos_[button]->currentText().toLatin1();
        keys[button] = key_code_from_name(text.toStdString());
        buttons[button] = controller_combos_[button]->currentIndex() - 1;
        names << (buttons[button] >= 0 ? controller_combos_[button]->currentText() : QString());
    }
    use_key_mapping(keys);
    use_controller_mapping(buttons);
    save_controller_buttons(names);
    QDialog::accept();
}

void open_joypad_dialog(QWidget* parent) {
    joypad_dialog dialog(parent);
    dialog.exec();
}

void use_saved_controller_mapping() {
    const QStringList names = saved_controller_buttons();
    controller_mapping mapping = default_controller_mapping();
    if (names.size() == button_count) {
        for (int button = 0; button < button_count; ++button) {
            mapping[button] = names[button].isEmpty()
                                  ? -1
                                  : controller_button_from_name(names[button].toStdString());
        }
    }
    use_controller_mapping(mapping);
}

}  // namespace tov
