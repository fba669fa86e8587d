// The "Custom Palette" dialog of Zoom > Palette > "Custom...": a button per
// shade, lightest to darkest, that shows its colour and picks another with
// the colour dialog; OK and Cancel.
#pragma once

#include <QColor>
#include <QDialog>
#include <array>

class QPushButton;

namespace tov {

class palette_dialog : public QDialog {
    Q_OBJECT
public:
    palette_dialog(QWidget* parent, const std::array<QColor, 4>& colours);

    // The four colours as they stand, lightest first.
    const std::array<QColor, 4>& colours() const { return colours_; }

    // Shade `shade` (0, the lightest, to 3) takes `colour` and its button
    // shows it; any other shade changes nothing.
    void set_colour(int shade, const QColor& colour);

private:
    void pick_colour(int shade);

    std::array<QColor, 4> colours_;
    std::array<QPushButton*, 4> buttons_{};
};

}  // namespace tov
