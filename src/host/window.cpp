#include "host/window.h"

namespace tov {

namespace {
silent_window default_window;
window_services* current_window = &default_window;
}  // namespace

window_services& window() {
    return *current_window;
}

void set_window(window_services* services) {
    current_window = services ? services : &default_window;
}

}  // namespace tov
