// The "Joypad Settings" dialog: one editable combo box per console button.
#pragma once

#include <QDialog>
#include <array>

#include "session/session.h"

class QComboBox;
class QPushButton;

namespace tov {

class joypad_dialog : public QDialog {
    Q_OBJECT
public:
    explicit joypad_dialog(QWidget* parent);

    // The combo box of a button, in key mapping order.
    QComboBox* combo(joypad_button button) const { return combos_[button]; }
    QPushButton* ok_button() const { return ok_; }

    // OK and Enter: every button takes the key named in its combo box.
    void accept() override;

    // The 50 key names offered in every combo box, in their order.
    static QStringList key_names();

private:
    std::array<QComboBox*, button_count> combos_{};
    QPushButton* ok_;
};

// Runs the dialog modally; the emulation stands still while it is open.
void open_joypad_dialog(QWidget* parent);

}  // namespace tov
