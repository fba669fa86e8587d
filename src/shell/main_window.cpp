#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <cstring>

#include "controller/game_controllers.h"
#include "host/keyboard.h"
#include "shell/command_ids.h"
#include "shell/key_translation.h"
#include "shell/logo.h"
#include "shell/settings.h"
#include "shell/start_up.h"

namespace tov {

namespace {

// Between slices, with nothing to emulate, the timer need not spin.
constexpr int idle_timer_interval_ms = 10;
// The end of the pacing wait that is spun rather than slept: a sleep may
// overshoot by about a tenth of a millisecond.
constexpr double pacing_spin_ms = 0.2;

// How often a quit request from a signal handler is looked for: often
// enough that SIGTERM ends the program as promptly as Ctrl+Q.
constexpr int quit_watch_interval_ms = 10;

constexpr const char* rewinding_text = "Rewinding";

// The filter of both state dialogs; its description ends in a space.
constexpr const char* state_file_filter = "Tov Save States (*.*) ";
constexpr const char* battery_file_filter = "Battery Files (*.sav *.srm);;All Files (*)";

// The cartridge dialog's filter, and the archives a cartridge may come in.
constexpr const char* cartridge_file_filter =
    "Gameboy Files (*.*gb*);;Archives (*.zip *.7z *.gz);;All Files (*)";

// Said under the logo while no cartridge is loaded.
constexpr const char* opening_hint =
    "Open a cartridge with Ctrl+O, by dropping its file here, or from File > Recent Roms.";
constexpr const char* short_opening_hint = "Ctrl+O opens a cartridge";
constexpr int text_flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

// The outer window size the logo's placement is measured against.
QSize logo_reference_size(int factor) {
    return {160 * factor + 6, 144 * factor + (factor == 1 ? 62 : 44)};
}

// Takes the controllers' events, and has them rumble while the cartridge's
// motor runs.
void follow_game_controllers() {
    poll_game_controllers();
    follow_rumble(cartridge_rumbling());
}

}  // namespace

screen_view::screen_view(QWidget* parent)
    : QWidget(parent), logo_(draw_logo()), status_(new status_line(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(screen_width, screen_height + status_height());
    // In full screen the line shows only while it has something to say.
    connect(status_, &status_line::message_changed, this, &screen_view::place_status);
}

int screen_view::status_height() const {
    return status_->sizeHint().height();
}

void screen_view::set_status_strip(bool on) {
    status_strip_ = on;
    setMinimumHeight(screen_height + (on ? status_height() : 0));
    place_status();
    update();
}

void screen_view::place_status() {
    const int height = status_height();
    status_->setGeometry(0, this->height() - height, width(), height);
    status_->setVisible(status_strip_ || !status_->message().isEmpty());
    status_->raise();
}

void screen_view::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_status();
}

void screen_view::show_frame(const uint8_t* frame) {
    if (frame_.isNull()) {
        frame_ = QImage(screen_width, screen_height, QImage::Format_RGB32);
    }
    machine_frame_.assign(frame, frame + frame_row_bytes * screen_height);
    // Colour correction is for pictures in 15-bit colours, not for the
    // shades of a monochrome game.
    look_options options = look_options_;
    options.colour_correction = options.colour_correction && colour_picture();
    const uint8_t* shown = look_of(frame, options, look_);
    // Kept as 32-bit pixels, the format the window draws fastest when it
    // scales the picture up.
    for (int y = 0; y < screen_height; ++y) {
        const uint8_t* source = shown + y * frame_row_bytes;
        auto* line = reinterpret_cast<QRgb*>(frame_.scanLine(y));
        for (int x = 0; x < screen_width; ++x, source += 3) {
            line[x] = qRgb(source[2], source[1], source[0]);
        }
    }
    // Only the picture changes: the black around it (full screen) stays.
    repaint(cartridge_loaded() ? picture_rect() : rect());
}

const uint8_t* screen_view::machine_frame() const {
    return machine_frame_.empty() ? finished_picture() : machine_frame_.data();
}

void screen_view::set_look(const look_options& options) {
    look_options_ = options;
    forget_previous_frame();
    if (cartridge_loaded()) {
        show_frame(finished_picture());
    }
}

// The picture at the largest whole factor that fits, centred, so that every
// emulated pixel stays a sharp square.
QRect screen_view::picture_rect() const {
    const QRect area = picture_area();
    const int factor =
        std::max(1, std::min(area.width() / screen_width, area.height() / screen_height));
    QRect shown(0, 0, screen_width * factor, screen_height * factor);
    shown.moveCenter(area.center());
    return shown;
}

// Above the status line's strip, when it has one.
QRect screen_view::picture_area() const {
    return status_strip_ ? rect().adjusted(0, 0, 0, -status_height()) : rect();
}

void screen_view::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect picture = picture_rect();
    if (!cartridge_loaded() || !picture.contains(event->rect())) {
        painter.fillRect(rect(), Qt::black);
    }
    if (!cartridge_loaded()) {
        paint_logo(painter);
    } else if (!frame_.isNull()) {
        // Scaled without smoothing: each emulated pixel becomes a square.
        painter.drawImage(picture, frame_);
    }
}

// Centred 24 pixels above the middle when the window is tall enough, else
// stretched over it; under it, how to open a cartridge.
void screen_view::paint_logo(QPainter& painter) {
    window()->setWindowTitle("TOV");
    const QSize outer = logo_reference_size(current_options().zoom);
    QRect logo;
    if (outer.height() > 300) {
        logo =
            QRect(QPoint((outer.width() - logo_width) / 2, (outer.height() - logo_height) / 2 - 24),
                  logo_.size());
        painter.drawImage(logo.topLeft(), logo_);
    } else {
        logo = QRect(0, 0, outer.width(), outer.height() - 50);
        painter.drawImage(logo, logo_);
    }
    paint_opening_hint(painter, logo.bottom() + 1);
}

// Below `top`; where there is no room for it there (the smallest zoom
// stretches the logo over the picture area), its short form over the bottom.
void screen_view::paint_opening_hint(QPainter& painter, int top) {
    const QRect area = picture_area();
    const int margin = 4;
    QRect hint(area.left() + margin, top + margin, area.width() - 2 * margin, 0);
    hint.setBottom(area.bottom() - margin);
    const char* text = opening_hint;
    if (painter.fontMetrics().boundingRect(hint, text_flags, text).height() > hint.height()) {
        text = short_opening_hint;
        hint.setTop(area.bottom() - margin - painter.fontMetrics().height());
        painter.fillRect(hint.adjusted(-margin, -margin, margin, margin), Qt::black);
    }
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.drawText(hint, text_flags, text);
}

main_window_view::main_window_view() : screen_(new screen_view(this)) {
    setWindowTitle("TOV");
    setWindowIcon(QIcon(QPixmap::fromImage(draw_logo())));
    setCentralWidget(screen_);
    setAcceptDrops(true);
    build_menu();
    choose_cartridge = [this](const QString& last_path) {
        return QFileDialog::getOpenFileName(this, "Open Rom", last_path, cartridge_file_filter);
    };
    choose_archive_entry = [this](const QStringList& names) {
        bool chosen = false;
        const QString name = QInputDialog::getItem(
            this, "Open Rom", "This archive holds several cartridges:", names, 0, false, &chosen);
        return chosen ? name : QString();
    };
    choose_state_to_load = [this](const QString& last_path) {
        return QFileDialog::getOpenFileName(this, "Load State", last_path, state_file_filter);
    };
    // A first save is offered a name with a dot, which the "*.*" filter shows
    // later, in the folder of the last state when there is one.
    choose_state_to_save = [this](const QString& last_path) {
        const bool named = !last_path.isEmpty() && !QFileInfo(last_path).isDir();
        return QFileDialog::getSaveFileName(
            this, "Save State", named ? last_path : QDir(last_path).filePath("filename.gst"),
            state_file_filter);
    };
    choose_battery_to_import = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(this, "Import Battery File", folder,
                                            battery_file_filter);
    };
    choose_battery_to_export = [this](const QString& folder) {
        return QFileDialog::getSaveFileName(
            this, "Export Battery File",
            QDir(folder).filePath(
                QFileInfo(QString::fromStdString(cartridge_name())).completeBaseName() + ".sav"),
            battery_file_filter);
    };
    message_box = [this](const QString& caption, const QString& text) {
        QMessageBox::warning(this, caption, text);
    };
    connect(&timer_, &QTimer::timeout, this, &main_window_view::tick);
    // Quit requests come from signal handlers; they are watched by a timer of
    // their own, which also runs while a dialog has stopped the emulation.
    connect(&quit_watch_, &QTimer::timeout, this, &main_window_view::quit_if_requested);
    quit_watch_.start(quit_watch_interval_ms);
    qApp->installEventFilter(this);
}

void main_window_view::set_title(const std::string& text) {
    setWindowTitle(QString::fromLatin1(text.c_str()));
}

void main_window_view::invalidate() {
    screen_->update();
}

// The window scales the picture to fit itself; the size asked for is the one
// the Zoom items give the window.
void main_window_view::present(const uint8_t* frame, int, int, int, int) {
    screen_->show_frame(frame);
}

// Pending input is delivered on every turn, so a key pressed during a slice
// reaches the joypad within a frame. A turn sleeps for up to a millisecond,
// so the sound tick still runs about every millisecond, and wakes a little
// before the frame is due; only that last moment is spun.
void main_window_view::wait_turn(double, double remaining_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    follow_game_controllers();
    if (remaining_ms > pacing_spin_ms) {
        const double sleep_ms = std::min(remaining_ms - pacing_spin_ms / 2, 1.0);
        QThread::usleep(static_cast<unsigned long>(sleep_ms * 1000));
    }
}

void main_window_view::set_full_screen(bool on) {
    if (on == isFullScreen()) {
        return;
    }
    screen_->set_status_strip(!on);
    if (on) {
        menuBar()->hide();
        showFullScreen();
    } else {
        showNormal();
        menuBar()->show();
        const int zoom = current_options().zoom;
        set_picture_size(screen_width * zoom, screen_height * zoom);
    }
    check_menu_item(id_full_screen, on);
}

void main_window_view::set_picture_size(int width, int height) {
    if (isFullScreen()) {
        screen_->update();  // the screen keeps its size and the picture its fit
        return;
    }
    const QPoint corner = pos();
    const int menu_height = menuBar()->heightForWidth(width);
    resize(width, height + screen_->status_height() +
                      (menu_height > 0 ? menu_height : menuBar()->sizeHint().height()));
    move(corner);
    screen_->update();
}

void main_window_view::show_message(const std::string& caption, const std::string& text) {
    message_box(QString::fromStdString(caption), QString::fromStdString(text));
}

void main_window_view::report(const result& outcome) {
    if (!outcome.ok) {
        show_message("TOV", outcome.message);
    }
}

void main_window_view::command(int id) {
    between_slices([id] { run_command(id); });
}

void main_window_view::between_slices(std::function<void()> work) {
    if (in_slice_) {
        queued_.push_back(std::move(work));
        end_timer_message();
    } else {
        work();
    }
}

void main_window_view::run_queued() {
    while (!queued_.empty() && !in_slice_) {
        std::function<void()> work = std::move(queued_.front());
        queued_.pop_front();
        work();
    }
}

void main_window_view::start_timer() {
    timer_.start(0);
}

void main_window_view::stop_timer() {
    timer_.stop();
    follow_rumble(false);  // nothing follows the motor until the timer starts
}

// One slice per timer message; commands that arrived during it run after it.
void main_window_view::tick() {
    if (in_slice_) {
        return;
    }
    in_slice_ = true;
    follow_game_controllers();
    run_timer_message();
    in_slice_ = false;
    run_queued();
    timer_.setInterval(emulating() ? 0 : idle_timer_interval_ms);
}

void main_window_view::quit_if_requested() {
    if (!quit_was_requested()) {
        return;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
    close();
}

void main_window_view::closeEvent(QCloseEvent* event) {
    if (in_slice_) {
        event->ignore();
        command(id_exit);
        return;
    }
    if (!shut_down_) {
        save_window_place(pos());
        shutdown();
        shut_down_ = true;
    }
    event->accept();
}

// Tab held is fast-forward for as long as it is held; let go, the toggle
// (Shift+Tab, a menu command, on the press) is as it was. Only a plain Tab
// press starts a hold, so the release of a Shift+Tab, whichever key comes up
// first, changes nothing.
void main_window_view::hold_fast_forward(const QKeyEvent& key, bool pressed) {
    const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
    if (!tab || key.isAutoRepeat() || pressed == tab_held_) {
        return;
    }
    if (pressed && key.modifiers() != Qt::NoModifier) {
        return;
    }
    tab_held_ = pressed;
    if (pressed) {
        toggled_before_hold_ = current_options().fast_forward;
    }
    set_fast_forward(pressed || toggled_before_hold_);
    show_options(current_options());
}

// The Rewind key (Backspace unless the Joypad dialog chose another) held runs
// the game backwards, as the session follows the key; the status line says
// so while it is held, or where rewind is switched on.
void main_window_view::tell_rewind(const QKeyEvent& key, bool pressed) {
    const int32_t rewind_key = extra_keys_in_use()[control_rewind];
    if (key.isAutoRepeat() || rewind_key < 0 || virtual_key(key) != rewind_key) {
        return;
    }
    status_line* status = screen_->status();
    if (!pressed) {
        if (status->message() == rewinding_text) {
            status->clear_message();
        }
    } else if (emulating()) {
        show_status(rewind_length() > 0 ? rewinding_text : "Rewind is off: Emulation > Rewind");
    }
}

// "Pause When Inactive": the emulation stops while another window is active
// and goes on when this one is again, if it was running.
void main_window_view::follow_activation(bool active) {
    if (!active) {
        release_all_keys();  // a key released elsewhere must not stay held
        if (pause_when_inactive() && emulating()) {
            paused_while_inactive_ = true;
            between_slices([] { stop(); });
        }
    } else if (paused_while_inactive_) {
        paused_while_inactive_ = false;
        between_slices([] { resume(); });
    }
}

bool main_window_view::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && isActiveWindow()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int32_t code = virtual_key(*key);
        if (code >= 0 && !key->isAutoRepeat()) {
            if (type == QEvent::KeyPress) {
                key_down(code);
            } else {
                key_up(code);
            }
        }
        hold_fast_forward(*key, type == QEvent::KeyPress);
        tell_rewind(*key, type == QEvent::KeyPress);
    } else if ((type == QEvent::WindowDeactivate || type == QEvent::WindowActivate) &&
               watched == this) {
        follow_activation(type == QEvent::WindowActivate);
    }
    return QMainWindow::eventFilter(watched, event);
}

void main_window_view::show_status(const QString& text) {
    screen_->status()->show_message(text);
}

void main_window_view::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void main_window_view::dropEvent(QDropEvent* event) {
    const QString path = event->mimeData()->urls().front().toLocalFile();
    event->acceptProposedAction();
    between_slices([path] { open_dropped_cartridge(path.toStdString()); });
}

}  // namespace tov
