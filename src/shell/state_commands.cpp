#include "shell/state_commands.h"

#include <QString>
#include <functional>

#include "persist/save_state.h"
#include "shell/main_window.h"
#include "shell/start_up.h"

namespace tov {

namespace {

using file_chooser = std::function<QString(const QString&)>;

// A confirmed file becomes state_path and `act` runs; cancelling changes nothing.
void with_chosen_state(const file_chooser& choose, void (*act)()) {
    run_dialog([&] {
        const QString chosen = choose(QString::fromStdString(state_path));
        if (!chosen.isEmpty()) {
            state_path = chosen.toStdString();
            act();
        }
    });
}

}  // namespace

void load_state_command() {
    with_chosen_state(main_window->choose_state_to_load, load_state);
}

void save_state_command() {
    with_chosen_state(main_window->choose_state_to_save, save_state);
}

}  // namespace tov
