// The line under the picture that says what a command did, for a few
// seconds: the whole message, elided in the middle when the line is too
// narrow for it, with the full text as its tooltip.
#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

namespace tov {

class status_line : public QLabel {
    Q_OBJECT
public:
    explicit status_line(QWidget* parent);

    void show_message(const QString& text);
    void clear_message();

    // The message shown now, whole; empty when there is none.
    const QString& message() const { return message_; }

signals:
    void message_changed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit_text();

    QString message_;
    QTimer timer_;
};

}  // namespace tov
