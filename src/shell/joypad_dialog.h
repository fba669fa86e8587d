// The "Joypad Settings" dialog: per console button an editable combo box for
// its key and one for its game controller button, each with a "Press" button
// that takes the next key or controller button pressed; OK and Cancel.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>

#include "session/session.h"

class QComboBox;
class QPushButton;

namespace tov {

class joypad_dialog : public QDialog {
    Q_OBJECT
public:
    explicit joypad_dialog(QWidget* parent);

    // The combo boxes of a button, in key mapping order.
    QComboBox* combo(joypad_button button) const { return combos_[button]; }
    QComboBox* controller_combo(joypad_button button) const { return controller_combos_[button]; }
    // Its "Press" buttons: the next key, or controller button, goes to its box.
    QPushButton* key_capture(joypad_button button) const { return key_captures_[button]; }
    QPushButton* controller_capture(joypad_button button) const {
        return controller_captures_[button];
    }
    QPushButton* ok_button() const { return ok_; }
    QPushButton* cancel_button() const { return cancel_; }

    // OK and Enter: every button takes the key and the controller button named
    // in its boxes.
    void accept() override;

    // The 50 key names offered in every key box, in their order.
    static QStringList key_names();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void add_row(int button, const QStringList& keys, const QStringList& controller_buttons);
    void capture_key(int button);
    void capture_controller_button(int button);
    void take_controller_button();
    void end_capture();

    std::array<QComboBox*, button_count> combos_{};
    std::array<QComboBox*, button_count> controller_combos_{};
    std::array<QPushButton*, button_count> key_captures_{};
    std::array<QPushButton*, button_count> controller_captures_{};
    QPushButton* ok_;
    QPushButton* cancel_;
    int capturing_key_ = -1;
    int capturing_controller_ = -1;
    QTimer controller_watch_;
};

// Runs the dialog modally; the emulation stands still while it is open.
void open_joypad_dialog(QWidget* parent);

// The controller mapping kept in the settings store, put to use (the
// positional layout when none was kept).
void use_saved_controller_mapping();

}  // namespace tov
