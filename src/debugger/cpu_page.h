// The debugger's "Memory" page: registers, flags, I/O registers and the
// cartridge texts, and the button that steps the CPU by one instruction.
// Opening the page executes one instruction.
#pragma once

#include <QWidget>
#include <vector>

#include "inspect/cpu_view.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tov {

class cpu_page : public QWidget {
    Q_OBJECT
public:
    explicit cpu_page(QWidget* parent);

    // Shows the machine as it stands now.
    void refresh();

    // The step button; its caption is the opcode that was next when the page opened.
    QPushButton* step_button() const { return step_; }

private:
    void build(const cpu_view& view);
    void display(const cpu_view& view);
    QWidget* make_group(const view_group& group);

    std::vector<QLineEdit*> fields_;
    std::vector<QCheckBox*> checks_;
    QComboBox* cartridge_;
    QPushButton* step_;
};

}  // namespace tov
