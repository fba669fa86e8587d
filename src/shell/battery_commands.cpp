#include "shell/battery_commands.h"

#include <QDir>
#include <QString>
#include <functional>

#include "session/session.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/start_up.h"

namespace tov {

namespace {

using file_chooser = std::function<QString(const QString&)>;

// A confirmed file runs `act`; its success is told in the status line, its
// failure in a message box. Cancelling changes nothing.
void with_chosen_battery(const file_chooser& choose, result (*act)(const std::string&),
                         const QString& done) {
    run_dialog([&] {
        const QString chosen = choose(last_folder("battery"));
        if (chosen.isEmpty()) {
            return;
        }
        remember_folder("battery", chosen);
        const result outcome = act(chosen.toStdString());
        if (outcome.ok) {
            main_window->show_status(done + QDir::toNativeSeparators(chosen));
        }
        main_window->report(outcome);
    });
}

}  // namespace

void import_battery_command() {
    with_chosen_battery(main_window->choose_battery_to_import, import_battery_file,
                        "Battery file imported, the game starts again: ");
}

void export_battery_command() {
    with_chosen_battery(main_window->choose_battery_to_export, export_battery_file,
                        "Battery file exported: ");
}

}  // namespace tov
