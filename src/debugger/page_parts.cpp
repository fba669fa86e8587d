#include "debugger/page_parts.h"

#include <QFormLayout>
#include <QMouseEvent>
#include <QPainter>

namespace tov {

canvas::canvas(QWidget* parent, QSize size, std::function<void(QPainter&)> paint)
    : QWidget(parent), paint_(std::move(paint)) {
    setObjectName("canvas");
    setFixedSize(size);
    setMouseTracking(true);
}

void canvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint_(painter);
}

void canvas::mouseMoveEvent(QMouseEvent* event) {
    if (pointer_moved) {
        pointer_moved(event->position().toPoint());
    }
}

QImage bitmap_image(const uint8_t* pixels, int width, int height) {
    return QImage(pixels, width, height, width * 3, QImage::Format_BGR888);
}

QLineEdit* add_field(QFormLayout* form, const QString& label, const QString& name) {
    auto* field = new QLineEdit(form->parentWidget());
    field->setReadOnly(true);
    field->setObjectName(name);
    form->addRow(label, field);
    return field;
}

QCheckBox* add_mark(QLayout* layout, const QString& label, const QString& name) {
    auto* mark = new QCheckBox(label, layout->parentWidget());
    mark->setObjectName(name);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(mark);
    return mark;
}

void detail_fields::show(const std::vector<std::string>& values,
                         const std::vector<bool>& bits) const {
    for (std::size_t i = 0; i < texts.size() && i < values.size(); ++i) {
        texts[i]->setText(QString::fromStdString(values[i]));
    }
    for (std::size_t i = 0; i < marks.size() && i < bits.size(); ++i) {
        marks[i]->setChecked(bits[i]);
    }
}

}  // namespace tov
