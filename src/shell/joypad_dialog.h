// The "Joypad Settings" dialog: per console button, then per extra control
// (Turbo A, Turbo B, Rewind), an editable combo box for its key and one for
// its game controller button, each with a "Press" button that takes the next
// key or controller button pressed; the turbo presses per second; OK and
// Cancel.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>

#include "controller/game_controllers.h"
#include "session/session.h"

class QComboBox;
class QPushButton;
class QSpinBox;

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
    // The same for an extra control's row, below the console buttons'.
    QComboBox* extra_combo(extra_control control) const { return combos_[mapping_index(control)]; }
    QPushButton* extra_key_capture(extra_control control) const {
        return key_captures_[mapping_index(control)];
    }
    QSpinBox* turbo_rate_box() const { return turbo_rate_; }
    QPushButton* ok_button() const { return ok_; }
    QPushButton* cancel_button() const { return cancel_; }

    // OK and Enter: every button and extra control takes the key and the
    // controller button named in its boxes, and turbo the rate shown; the
    // settings store keeps the controller buttons, the extra keys and the rate.
    // When rows share a key or a controller button, keep_shared is asked
    // first, and unless it says to keep them the dialog stays open with
    // nothing taken.
    void accept() override;

    // The question whether to keep keys or buttons that rows share ("S is
    // used for both B and Start. Keep it?"); a Yes/No message box,
    // replaceable by tests.
    std::function<bool(const QString& question)> keep_shared;

    // The 50 keys offered in every key box, in their order, as their
    // keyboards label them ("Up", "Num 5", "A").
    static QStringList key_labels();
    // What an extra control's key box offers before them: "None" and
    // "Backspace".
    static QStringList extra_key_labels();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void add_row(int row, const QStringList& keys, const QStringList& controller_buttons);
    void add_turbo_rate_row();
    void capture_key(int row);
    void capture_controller_button(int row);
    void take_controller_button();
    void end_capture();
    // keep_shared's question for the boxes as they stand; empty when no two
    // rows share a key or a controller button.
    QString shared_question() const;
    void apply_keys();
    void apply_extra_keys();
    void apply_controller_buttons();

    // One entry a row: the console buttons, then the extra controls.
    std::array<QComboBox*, controller_control_count> combos_{};
    std::array<QComboBox*, controller_control_count> controller_combos_{};
    std::array<QPushButton*, controller_control_count> key_captures_{};
    std::array<QPushButton*, controller_control_count> controller_captures_{};
    QSpinBox* turbo_rate_ = nullptr;
    QPushButton* ok_;
    QPushButton* cancel_;
    int capturing_key_ = -1;
    int capturing_controller_ = -1;
    QTimer controller_watch_;
};

// Runs the dialog modally; the emulation stands still while it is open.
void open_joypad_dialog(QWidget* parent);

// The controller mapping, the extra controls' keys and the turbo rate kept in
// the settings store, put to use; the defaults for what was not kept or is
// not valid.
void use_saved_joypad_settings();

}  // namespace tov
