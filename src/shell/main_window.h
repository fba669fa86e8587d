// The main window: menu, picture, window services for the emulation, the
// timer that drives it, and the keyboard as the joypad.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "host/window.h"
#include "session/session.h"
#include "shell/status_line.h"
#include "shell/screen_look.h"

class QAction;
class QKeyEvent;
class QKeySequence;
class QLabel;
class QMenu;

namespace tov {

// The area below the menu bar: the game's picture, or the logo while no
// cartridge is loaded, and the status line. In the window the status line
// has a strip of its own below the picture; in full screen it lies over the
// bottom of the picture while it says something.
class screen_view : public QWidget {
    Q_OBJECT
public:
    explicit screen_view(QWidget* parent);

    status_line* status() const { return status_; }

    // The height the status line adds below the picture in the window.
    int status_height() const;

    // Whether the status line has its strip (the window) or lies over the
    // picture while it shows a message (full screen).
    void set_status_strip(bool on);

    // Keeps a copy of the frame and repaints at once.
    void show_frame(const uint8_t* frame);

    // Where the picture is drawn: the largest whole factor that fits, centred.
    QRect picture_rect() const;

    // The picture as last presented (null before the first frame).
    const QImage& presented_frame() const { return frame_; }

    // The machine's own picture as last presented, before the look: the
    // frame buffer itself is drawn over line by line as the next frame runs,
    // and a slice ends anywhere in a frame. The frame buffer while nothing
    // was presented yet.
    const uint8_t* machine_frame() const;

    // Zoom > "Frame Blending" and "Colour Correction"; a loaded game's
    // picture is shown again in the new look at once.
    const look_options& look() const { return look_options_; }
    void set_look(const look_options& options);

    // The next frame is shown as it is, not blended with the one before: a
    // cartridge was opened, a state loaded or the picture recoloured.
    void forget_previous_frame() { look_.has_previous = false; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void paint_logo(QPainter& painter);
    void paint_opening_hint(QPainter& painter, int top);
    void place_status();
    QRect picture_area() const;

    QImage frame_;
    std::vector<uint8_t> machine_frame_;
    QImage logo_;
    look_options look_options_;
    screen_look look_;
    status_line* status_;
    bool status_strip_ = true;
};

class main_window_view : public QMainWindow, public window_services {
    Q_OBJECT
public:
    main_window_view();

    void set_title(const std::string& text) override;
    void invalidate() override;
    void present(const uint8_t* frame, int x, int y, int width, int height) override;
    void wait_turn(double now_ms, double remaining_ms) override;

    // Sets or clears the check mark of the menu item with command `id`.
    void check_menu_item(int id, bool checked);

    // The check marks of the option items, as the options stand.
    void show_options(const run_options& options);
    void show_current_options() { show_options(current_options()); }

    // Sizes the window so that the picture area is exactly width x height,
    // keeping the window's top-left corner; in full screen nothing changes.
    void set_picture_size(int width, int height);

    // The window over the whole screen without its menu bar, the picture
    // scaled and centred as in the window; or back to the window at its zoom.
    void set_full_screen(bool on);

    // Tells the user something in a message box with an OK button.
    void show_message(const std::string& caption, const std::string& text);

    // Shows the message of a failed operation, with the window's caption.
    void report(const result& outcome);

    // Runs menu command `id`; during a slice it waits until the slice ends.
    void command(int id);

    // Runs `work` now, or when a slice is running, after it: the slice then
    // ends with the frame it is in.
    void between_slices(std::function<void()> work);

    void start_timer();
    void stop_timer();

    // Ends the program when a quit was requested: open dialogs and message
    // boxes are dismissed first, so that their own event loops end too.
    void quit_if_requested();

    QAction* action(int id) const;

    // Fills File > "Recent Roms" from the recent cartridges.
    void show_recent_cartridges();

    // Names the quick-state slots with the time each was saved, and shows
    // their pictures.
    void show_quick_states();

    // A line of text under the picture for a few seconds.
    void show_status(const QString& text);
    screen_view* screen() const { return screen_; }

    // The file dialog of "&Open Rom", replaceable by tests: given the last
    // cartridge path, returns the chosen one or an empty text.
    std::function<QString(const QString&)> choose_cartridge;

    // The choice among the cartridges of an archive, replaceable by tests:
    // given their names, returns the chosen one or an empty text.
    std::function<QString(const QStringList&)> choose_archive_entry;

    // The file dialogs of "&Load State" and "&Save State", replaceable by
    // tests: given the last state path, return the chosen one or an empty text.
    std::function<QString(const QString&)> choose_state_to_load;
    std::function<QString(const QString&)> choose_state_to_save;

    // The file dialogs of "Import Battery File..." and "Export Battery
    // File...", replaceable by tests: given the folder last used, return the
    // chosen file or an empty text.
    std::function<QString(const QString&)> choose_battery_to_import;
    std::function<QString(const QString&)> choose_battery_to_export;

    // The message box of show_message, replaceable by tests.
    std::function<void(const QString& caption, const QString& text)> message_box;

    // One timer message: a slice of emulation, then the commands that
    // arrived during it.
    void tick();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void build_menu();
    void build_quick_state_menu(QMenu* menu);
    void check_one_of(int first_id, int count, int chosen);
    QAction* add_command(QMenu* menu, int id, const QString& text, bool checkable = false,
                         bool checked = false, const QList<QKeySequence>& keys = {});
    void run_queued();
    void hold_fast_forward(const QKeyEvent& key, bool pressed);
    void tell_rewind(const QKeyEvent& key, bool pressed);
    void follow_activation(bool active);

    screen_view* screen_;
    QTimer timer_;
    QTimer quit_watch_;
    bool in_slice_ = false;
    bool shut_down_ = false;
    std::deque<std::function<void()>> queued_;
    std::map<int, QAction*> actions_;
    QMenu* recent_menu_ = nullptr;
    QMenu* quick_menu_ = nullptr;
    QMenu* model_menu_ = nullptr;
    bool paused_while_inactive_ = false;
    bool tab_held_ = false;             // a plain Tab press holds fast-forward
    bool toggled_before_hold_ = false;  // what the toggle said when it began
};

}  // namespace tov
