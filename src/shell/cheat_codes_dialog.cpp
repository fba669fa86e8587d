#include "shell/cheat_codes_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/session.h"

namespace tov {

namespace {

constexpr int code_role = Qt::UserRole;
constexpr int name_role = Qt::UserRole + 1;
const QString title = "Cheat Codes";

}  // namespace

cheat_codes_dialog::cheat_codes_dialog(QWidget* parent)
    : QDialog(parent),
      codes_(new QListWidget),
      code_(new QLineEdit),
      name_(new QLineEdit),
      add_(new QPushButton("&Add")),
      remove_(new QPushButton("&Remove")) {
    setWindowTitle(title);
    code_->setPlaceholderText("01VVAAAA or ABC-DEF-GHI");
    auto* entry = new QFormLayout;
    entry->addRow("&Code:", code_);
    entry->addRow("&Name:", name_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    auto* answer = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(codes_);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    layout->addWidget(answer);
    for (const cheat_entry& listed : cheat_list()) {
        add_item(QString::fromStdString(listed.code), QString::fromStdString(listed.name),
                 listed.enabled);
    }
    connect(add_, &QPushButton::clicked, this, &cheat_codes_dialog::add_code);
    connect(code_, &QLineEdit::returnPressed, this, &cheat_codes_dialog::add_code);
    connect(remove_, &QPushButton::clicked, this, [this] { delete codes_->currentItem(); });
    connect(answer, &QDialogButtonBox::accepted, this, &cheat_codes_dialog::accept);
    connect(answer, &QDialogButtonBox::rejected, this, &cheat_codes_dialog::reject);
}

void cheat_codes_dialog::add_item(const QString& code, const QString& name, bool enabled) {
    auto* item = new QListWidgetItem(name.isEmpty() ? code : name + "  (" + code + ")", codes_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(enabled ? Qt::Checked : Qt::Unchecked);
    item->setData(code_role, code);
    item->setData(name_role, name);
}

void cheat_codes_dialog::add_code() {
    const QString code = code_->text().trimmed();
    const decoded_cheat decoded = decode_cheat(code.toStdString());
    if (!decoded.code) {
        QMessageBox::warning(this, title, QString::fromStdString(decoded.outcome.message));
        return;
    }
    add_item(code.toUpper(), name_->text().trimmed(), true);
    code_->clear();
    name_->clear();
}

void cheat_codes_dialog::accept() {
    std::vector<cheat_entry> entries;
    for (int row = 0; row < codes_->count(); ++row) {
        const QListWidgetItem* item = codes_->item(row);
        entries.push_back({item->data(code_role).toString().toStdString(),
                           item->data(name_role).toString().toStdString(),
                           item->checkState() == Qt::Checked});
    }
    use_cheat_list(entries);
    const tov::result saved = save_cheat_list();
    if (!saved.ok) {
        QMessageBox::warning(this, title, QString::fromStdString(saved.message));
    }
    QDialog::accept();
}

void open_cheat_codes_dialog(QWidget* parent) {
    cheat_codes_dialog dialog(parent);
    dialog.exec();
}

}  // namespace tov
