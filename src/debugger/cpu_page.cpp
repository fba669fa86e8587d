#include "debugger/cpu_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <iterator>

#include "debugger/page_parts.h"
#include "inspect/cpu_step.h"

namespace tov {

namespace {

// Where each group of the view goes in the page's grid: row, column, rows spanned.
struct group_place {
    int row, column, rows;
};
constexpr group_place group_places[] = {
    {0, 0, 2},  // Registers
    {0, 1, 1},  // LCDC
    {0, 2, 2},  // LCD
    {0, 3, 2},  // Various
    {2, 0, 1},  // Sound 1
    {2, 1, 1},  // Sound 2
    {2, 2, 1},  // Sound 3
    {2, 3, 1},  // Sound 4
};

}  // namespace

cpu_page::cpu_page(QWidget* parent)
    : QWidget(parent), cartridge_(new QComboBox(this)), step_(new QPushButton(this)) {
    // Opening the page runs the instruction at PC; every field then shows
    // the machine after it.
    execute_first_instruction();
    const cpu_view view = refresh_cpu_view();
    build(view);
    display(view);
    step_->setObjectName("step");
    step_->setText(QString::fromStdString(next_opcode_text()));
    connect(step_, &QPushButton::clicked, this, [this] {
        step_instruction();
        refresh();
    });
}

QWidget* cpu_page::make_group(const view_group& group) {
    auto* box = new QGroupBox(QString::fromStdString(group.title), this);
    auto* form = new QFormLayout(box);
    for (const view_row& row : group.rows) {
        auto* values = new QHBoxLayout;
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            auto* field = new QLineEdit(box);
            field->setReadOnly(true);
            // Wide enough for its text: a field's texts all have one length.
            const auto characters = static_cast<int>(row.values[i].size()) + 1;
            field->setMinimumWidth(
                field->fontMetrics().horizontalAdvance(QString(characters, '0')) + 12);
            field->setObjectName(QString::fromStdString(row.label) +
                                 (i == 0 ? QString() : QString("_%1").arg(i)));
            values->addWidget(field);
            fields_.push_back(field);
        }
        // The label's "&&" shows as "&" because the label has a buddy.
        auto* label = new QLabel(QString::fromStdString(row.label), box);
        label->setBuddy(fields_[fields_.size() - row.values.size()]);
        form->addRow(label, values);
    }
    return box;
}

void cpu_page::build(const cpu_view& view) {
    auto* grid = new QGridLayout(this);
    for (std::size_t g = 0; g < view.groups.size() && g < std::size(group_places); ++g) {
        const group_place& place = group_places[g];
        grid->addWidget(make_group(view.groups[g]), place.row, place.column, place.rows, 1,
                        Qt::AlignTop);
    }
    auto* flags = new QHBoxLayout;
    for (const view_check& check : view.checks) {
        checks_.push_back(add_mark(flags, QString::fromStdString(check.label),
                                   QString::fromStdString(check.label)));
    }
    grid->addLayout(flags, 3, 0, 1, 2);
    cartridge_->setObjectName("cartridge");
    grid->addWidget(cartridge_, 1, 1, Qt::AlignTop);
    grid->addWidget(step_, 3, 3);
}

void cpu_page::refresh() {
    display(refresh_cpu_view());
}

void cpu_page::display(const cpu_view& view) {
    std::size_t next = 0;
    for (const view_group& group : view.groups) {
        for (const view_row& row : group.rows) {
            for (const std::string& value : row.values) {
                fields_[next++]->setText(QString::fromStdString(value));
            }
        }
    }
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        checks_[i]->setChecked(view.checks[i].checked);
    }
    cartridge_->clear();
    for (const std::string& text : view.cartridge) {
        cartridge_->addItem(QString::fromLatin1(text.c_str()));
    }
}

}  // namespace tov
