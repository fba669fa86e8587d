// Widgets the debugger pages are built from: a canvas that paints one of the
// pages' pictures and reports the pointer, and display-only fields.
#pragma once

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QWidget>
#include <cstdint>
#include <functional>

class QFormLayout;
class QLayout;

namespace tov {

// A fixed-size area at a page's top-left corner, so that its coordinates
// are the page's. It paints with `paint` and passes pointer moves on.
class canvas : public QWidget {
public:
    canvas(QWidget* parent, QSize size, std::function<void(QPainter&)> paint);

    std::function<void(QPoint)> pointer_moved;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::function<void(QPainter&)> paint_;
};

// One of the debugger's bitmaps as an image, without copying its pixels.
QImage bitmap_image(const uint8_t* pixels, int width, int height);

// A read-only text field in a form, found again by `name`.
QLineEdit* add_field(QFormLayout* form, const QString& label, const QString& name);

// A check box that shows a bit and cannot be changed by the user.
QCheckBox* add_mark(QLayout* layout, const QString& label, const QString& name);

// A group of display fields: texts first, then check marks.
struct detail_fields {
    std::vector<QLineEdit*> texts;
    std::vector<QCheckBox*> marks;

    void show(const std::vector<std::string>& values, const std::vector<bool>& bits) const;
};

}  // namespace tov
