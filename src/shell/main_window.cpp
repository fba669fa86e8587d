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
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <cstring>

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

// How often a quit request from a signal handler is looked for.
constexpr int quit_watch_interval_ms = 100;

// The filter of both state dialogs; its description ends in a space.
constexpr const char* state_file_filter = "Tov Save States (*.*) ";

// The cartridge dialog's filter, and the archives a cartridge may come in.
constexpr const char* cartridge_file_filter =
    "Gameboy Files (*.*gb*);;Archives (*.zip *.7z *.gz);;All Files (*)";

// The outer window size the logo's placement is measured against.
QSize logo_reference_size(int factor) {
    return {160 * factor + 6, 144 * factor + (factor == 1 ? 62 : 44)};
}

}  // namespace

screen_view::screen_view(QWidget* parent) : QWidget(parent), logo_(draw_logo()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void screen_view::show_frame(const uint8_t* frame, const QRect& target) {
    if (frame_.isNull()) {
        frame_ = QImage(screen_width, screen_height, QImage::Format_BGR888);
    }
    for (int y = 0; y < screen_height; ++y) {
        std::memcpy(frame_.scanLine(y), frame + y * frame_row_bytes, frame_row_bytes);
    }
    target_ = target;
    repaint();
}

void screen_view::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!cartridge_loaded()) {
        paint_logo(painter);
    } else if (!frame_.isNull()) {
        // Scaled without smoothing: each emulated pixel becomes a square. A
        // screen larger than the picture (full screen) shows it centred.
        QRect shown = target_;
        if (width() > shown.width() || height() > shown.height()) {
            shown.moveCenter(rect().center());
        }
        painter.drawImage(shown, frame_);
    }
}

// Centred 24 pixels above the middle when the window is tall enough, else
// stretched over it.
void screen_view::paint_logo(QPainter& painter) {
    window()->setWindowTitle("TOV");
    const QSize outer = logo_reference_size(current_options().zoom);
    if (outer.height() > 300) {
        painter.drawImage(
            QPoint((outer.width() - logo_width) / 2, (outer.height() - logo_height) / 2 - 24),
            logo_);
    } else {
        painter.drawImage(QRect(0, 0, outer.width(), outer.height() - 50), logo_);
    }
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

QAction* main_window_view::add_command(QMenu* menu, int id, const QString& text, bool checkable,
                                       bool checked) {
    QAction* action = menu->addAction(text);
    action->setCheckable(checkable);
    action->setChecked(checked);
    connect(action, &QAction::triggered, this, [this, id] { command(id); });
    actions_[id] = action;
    return action;
}

void main_window_view::build_menu() {
    QMenu* file = menuBar()->addMenu("&File");
    add_command(file, id_open_rom, "&Open Rom");
    recent_menu_ = file->addMenu("Recent Roms");
    show_recent_cartridges();
    add_command(file, id_close_rom, "&Close Rom");
    file->addSeparator();
    add_command(file, id_load_state, "&Load State");
    add_command(file, id_save_state, "&Save State");
    file->addSeparator();
    add_command(file, id_exit, "&Exit");

    QMenu* emulation = menuBar()->addMenu("&Emulation");
    add_command(emulation, id_resume, "&Resume");
    add_command(emulation, id_stop, "&Stop");
    emulation->addSeparator();
    add_command(emulation, id_reset, "R&eset");

    QMenu* others = menuBar()->addMenu("&Others");
    add_command(others, id_debug, "&Debug");
    add_command(others, id_cheating, "&Cheating");
    add_command(others, id_joypad, "&Joypad");
    others->addSeparator();
    QMenu* frameskip = others->addMenu("&Frameskip");
    for (int frames = 0; frames < 4; ++frames) {
        add_command(frameskip, id_frameskip_0 + frames, QString::number(frames), true, frames == 0);
    }
    add_command(others, id_full_throttle, "Full Trothle", true);
    QMenu* sound = others->addMenu("&Sound");
    add_command(sound, id_sound_enable, "&Sound enable", true);
    sound->addSeparator();
    for (int channel = 0; channel < 4; ++channel) {
        QAction* item = add_command(sound, id_channel_0 + channel,
                                    "CHANEL " + QString::number(channel), true, channel < 2);
        item->setEnabled(channel < 2);
    }
    add_command(others, id_timer_enable, "Timer enable", true, true);
    QMenu* timing = others->addMenu("Timing");
    add_command(timing, id_timing_1, "1", true, true);
    add_command(timing, id_timing_2, "2", true);

    QMenu* zoom_menu = menuBar()->addMenu("&Zoom");
    for (int factor = 1; factor <= 4; ++factor) {
        add_command(zoom_menu, id_zoom_1 + factor - 1, "X " + QString::number(factor), true,
                    factor == 2);
    }

    QMenu* help = menuBar()->addMenu("&Help");
    add_command(help, id_about, "&About");
}

// One item per recent cartridge, newest first, then "Clear".
void main_window_view::show_recent_cartridges() {
    recent_menu_->clear();
    const QStringList recent = recent_cartridges();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        const QString name = QFileInfo(path).fileName().replace("&", "&&");
        QAction* item = recent_menu_->addAction(QString("&%1 %2").arg(i + 1).arg(name));
        item->setStatusTip(path);
        connect(item, &QAction::triggered, this,
                [this, path] { between_slices([path] { open_recent_cartridge(path); }); });
    }
    recent_menu_->addSeparator();
    QAction* clear = recent_menu_->addAction("Clear");
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        clear_recent_cartridges();
        show_recent_cartridges();
    });
}

QAction* main_window_view::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void main_window_view::set_title(const std::string& text) {
    setWindowTitle(QString::fromLatin1(text.c_str()));
}

void main_window_view::invalidate() {
    screen_->update();
}

void main_window_view::present(const uint8_t* frame, int x, int y, int width, int height) {
    screen_->show_frame(frame, QRect(x, y, width, height));
}

// Pending input is delivered on every turn, so a key pressed during a slice
// reaches the joypad within a frame. A turn sleeps for up to a millisecond,
// so the sound tick still runs about every millisecond, and wakes a little
// before the frame is due; only that last moment is spun.
void main_window_view::wait_turn(double, double remaining_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (remaining_ms > pacing_spin_ms) {
        const double sleep_ms = std::min(remaining_ms - pacing_spin_ms / 2, 1.0);
        QThread::usleep(static_cast<unsigned long>(sleep_ms * 1000));
    }
}

void main_window_view::check_menu_item(int id, bool checked) {
    if (QAction* item = action(id)) {
        item->setChecked(checked);
    }
}

void main_window_view::show_full_screen() {
    full_screen_ = true;
    screen_->setMinimumSize(0, 0);
    screen_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showFullScreen();
}

void main_window_view::set_picture_size(int width, int height) {
    if (full_screen_) {
        screen_->update();  // the screen keeps its size; the picture takes the new one
        return;
    }
    const QPoint corner = pos();
    screen_->setFixedSize(width, height);
    const int menu_height = menuBar()->heightForWidth(width);
    setFixedSize(width, height + (menu_height > 0 ? menu_height : menuBar()->sizeHint().height()));
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

// Checks item `chosen` of a group of `count` consecutive command ids.
void main_window_view::check_one_of(int first_id, int count, int chosen) {
    for (int item = 0; item < count; ++item) {
        check_menu_item(first_id + item, item == chosen);
    }
}

void main_window_view::show_options(const run_options& options) {
    check_one_of(id_frameskip_0, 4, options.frame_skip);
    check_menu_item(id_full_throttle, options.full_throttle);
    check_menu_item(id_timer_enable, options.timer_enabled);
    check_one_of(id_timing_1, 2, options.timing - 1);
    check_one_of(id_zoom_1, 4, options.zoom - 1);
    check_menu_item(id_sound_enable, options.sound_enabled);
    for (int channel = 0; channel < 4; ++channel) {
        check_menu_item(id_channel_0 + channel, options.channel_enabled[channel]);
    }
}

void main_window_view::command(int id) {
    between_slices([id] { run_command(id); });
}

void main_window_view::between_slices(std::function<void()> work) {
    if (in_slice_) {
        queued_.push_back(std::move(work));
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
}

// One slice per timer message; commands that arrived during it run after it.
void main_window_view::tick() {
    if (in_slice_) {
        return;
    }
    in_slice_ = true;
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
    } else if (type == QEvent::WindowDeactivate && watched == this) {
        release_all_keys();  // a key released elsewhere must not stay held
    }
    return QMainWindow::eventFilter(watched, event);
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
