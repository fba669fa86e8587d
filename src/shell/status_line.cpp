#include "shell/status_line.h"

#include <QFontMetrics>

namespace tov {

namespace {

constexpr int shown_ms = 4000;

}  // namespace

status_line::status_line(QWidget* parent) : QLabel(parent) {
    setStyleSheet("background-color: black; color: white;");
    setContentsMargins(4, 2, 4, 2);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &status_line::clear_message);
}

void status_line::show_message(const QString& text) {
    message_ = text;
    fit_text();
    timer_.start(shown_ms);
    emit message_changed();
}

void status_line::clear_message() {
    timer_.stop();
    message_.clear();
    fit_text();
    emit message_changed();
}

void status_line::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit_text();
}

void status_line::fit_text() {
    const int room = contentsRect().width();
    const QString shown = fontMetrics().elidedText(message_, Qt::ElideMiddle, room);
    setText(shown);
    setToolTip(shown == message_ ? QString() : message_);
}

}  // namespace tov
