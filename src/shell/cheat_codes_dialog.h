// Others > "Cheat Codes...": the loaded cartridge's GameShark and Game Genie
// codes, each with a name and an on/off box. A code that does not decode is
// refused with a message naming the bad part; OK puts the list in force and
// keeps it in the cartridge's cheat file.
#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tov {

class cheat_codes_dialog : public QDialog {
    Q_OBJECT
public:
    explicit cheat_codes_dialog(QWidget* parent);

    QListWidget* code_list() const { return codes_; }
    QLineEdit* code_edit() const { return code_; }
    QLineEdit* name_edit() const { return name_; }
    QPushButton* add_button() const { return add_; }
    QPushButton* remove_button() const { return remove_; }

    // OK: the list in force and saved; a failed save is shown, the codes
    // stay in force.
    void accept() override;

private:
    void add_code();
    void add_item(const QString& code, const QString& name, bool enabled);

    QListWidget* codes_;
    QLineEdit* code_;
    QLineEdit* name_;
    QPushButton* add_;
    QPushButton* remove_;
};

// Runs the dialog modally; the emulation stands still while it is open.
void open_cheat_codes_dialog(QWidget* parent);

}  // namespace tov
