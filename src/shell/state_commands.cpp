#include "shell/state_commands.h"

#include <QDir>
#include <QString>
#include <functional>

#include "session/session.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/start_up.h"

namespace tov {

std::string state_path;

namespace {

using file_chooser = std::function<QString(const QString&)>;

// A confirmed file becomes state_path and `act` runs on it, its success
// told in the status line (`done` and the file), its failure in a message
// box; cancelling changes nothing.
void with_chosen_state(const file_chooser& choose, result (*act)(const std::string&),
                       const QString& done) {
    run_dialog([&] {
        const QString last = QString::fromStdString(state_path);
        const QString chosen = choose(last.isEmpty() ? last_folder("states") : last);
        if (chosen.isEmpty()) {
            return;
        }
        remember_folder("states", chosen);
        state_path = chosen.toStdString();
        const result outcome = act(state_path);
        if (outcome.ok) {
            main_window->show_status(done + QDir::toNativeSeparators(chosen));
        }
        main_window->report(outcome);
    });
}

// The first frame of a loaded state is not blended with the game before it.
result load_state_afresh(const std::string& path) {
    main_window->screen()->forget_previous_frame();
    return load_state_file(path);
}

}  // namespace

void load_state_command() {
    with_chosen_state(main_window->choose_state_to_load, load_state_afresh, "State loaded: ");
}

void save_state_command() {
    with_chosen_state(main_window->choose_state_to_save, save_state_file, "State saved: ");
}

}  // namespace tov
