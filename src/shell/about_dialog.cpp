#include "shell/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "shell/logo.h"

namespace tov {

about_dialog::about_dialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About TOV");
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(draw_logo()).scaledToHeight(48, Qt::SmoothTransformation));
    auto* text = new QLabel("TOV Version 0.9.7", this);
    text->setObjectName("version");
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace tov
