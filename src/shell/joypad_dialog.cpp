#include "shell/joypad_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "host/key_names.h"

namespace tov {

namespace {
constexpr const char* button_labels[button_count] = {"UP",       "DOWN",     "LEFT",  "RIGHT",
                                                     "BUTTON A", "BUTTON B", "START", "SELECT"};
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

joypad_dialog::joypad_dialog(QWidget* parent) : QDialog(parent), ok_(new QPushButton("OK", this)) {
    setWindowTitle("Joypad Settings");
    auto* layout = new QGridLayout(this);
    const QStringList names = key_names();
    const key_mapping keys = key_mapping_in_use();
    for (int button = 0; button < button_count; ++button) {
        auto* box = new QComboBox(this);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(names);
        box->setEditText(QString::fromLatin1(key_name(keys[button]).c_str()));
        layout->addWidget(new QLabel(button_labels[button], this), button, 0);
        layout->addWidget(box, button, 1);
        combos_[button] = box;
    }
    ok_->setDefault(true);
    layout->addWidget(ok_, button_count, 0, 1, 2, Qt::AlignHCenter);
    connect(ok_, &QPushButton::clicked, this, &joypad_dialog::accept);
}

void joypad_dialog::accept() {
    key_mapping keys = key_mapping_in_use();
    for (int button = 0; button < button_count; ++button) {
        const QByteArray text = combos_[button]->currentText().toLatin1();
        keys[button] = key_code_from_name(text.toStdString());
    }
    use_key_mapping(keys);
    QDialog::accept();
}

void open_joypad_dialog(QWidget* parent) {
    joypad_dialog dialog(parent);
    dialog.exec();
}

}  // namespace tov
