#include "shell/palette_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace tov {

namespace {

constexpr const char* shade_labels[4] = {"Lightest", "Light", "Dark", "Darkest"};

QIcon swatch(const QColor& colour) {
    QPixmap square(32, 16);
    square.fill(colour);
    return QIcon(square);
}

}  // namespace

palette_dialog::palette_dialog(QWidget* parent, const std::array<QColor, 4>& colours)
    : QDialog(parent), colours_(colours) {
    setWindowTitle("Custom Palette");
    auto* shades = new QFormLayout;
    for (int shade = 0; shade < 4; ++shade) {
        buttons_[shade] = new QPushButton(this);
        buttons_[shade]->setAutoDefault(false);
        connect(buttons_[shade], &QPushButton::clicked, this,
                [this, shade] { pick_colour(shade); });
        shades->addRow(shade_labels[shade], buttons_[shade]);
        set_colour(shade, colours_[shade]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(shades);
    layout->addWidget(buttons);
}

void palette_dialog::set_colour(int shade, const QColor& colour) {
    if (shade < 0 || shade >= 4) {
        return;
    }
    colours_[shade] = colour;
    buttons_[shade]->setIcon(swatch(colour));
    buttons_[shade]->setText(colour.name());
}

void palette_dialog::pick_colour(int shade) {
    const QColor chosen = QColorDialog::getColor(colours_[shade], this, shade_labels[shade]);
    if (chosen.isValid()) {
        set_colour(shade, chosen);
    }
}

}  // namespace tov
