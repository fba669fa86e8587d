#include "controller/game_controllers.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "host/keyboard.h"
#include "session/session.h"

namespace tov {

namespace {

// The left stick counts as a direction beyond about half its travel.
constexpr int stick_threshold = 16000;

// A rumble lapses unless renewed, so a program that stops following the motor
// does not leave the controllers shaking; it is renewed well before it lapses.
constexpr uint32_t rumble_ms = 1000;
constexpr uint64_t rumble_renewal_ms = rumble_ms / 2;
constexpr uint16_t rumble_strength = 0xFFFF;

struct open_controller {
    SDL_GameController* device;
    SDL_JoystickID id;
    uint32_t buttons = 0;  // bit n: SDL button n held
    int stick_x = 0;
    int stick_y = 0;
};

controller_mapping mapping = default_controller_mapping();
std::vector<open_controller> controllers;
bool started = false;
bool held[controller_control_count];
int last_pressed = -1;
bool rumbling = false;
uint64_t rumble_sent_at = 0;  // SDL ticks

bool stick_holds(const open_controller& controller, int control) {
    switch (control) {
        case button_up: return controller.stick_y < -stick_threshold;
        case button_down: return controller.stick_y > stick_threshold;
        case button_left: return controller.stick_x < -stick_threshold;
        case button_right: return controller.stick_x > stick_threshold;
        default: return false;
    }
}

bool any_controller_holds(int control) {
    return std::any_of(controllers.begin(), controllers.end(), [control](const auto& controller) {
        const int mapped = mapping[control];
        const bool pressed = mapped >= 0 && (controller.buttons >> mapped) & 1;
        return pressed || stick_holds(controller, control);
    });
}

// Each console button and extra control is pressed or let go as the
// controllers start or stop holding it, so it counts exactly as a mapped key
// does.
void follow_controllers() {
    for (int control = 0; control < controller_control_count; ++control) {
        const bool now = any_controller_holds(control);
        if (now != held[control]) {
            held[control] = now;
            const int32_t code = vk_controller_first + control;
            now ? key_down(code) : key_up(code);
        }
    }
}

open_controller* find(SDL_JoystickID id) {
    const auto found = std::find_if(controllers.begin(), controllers.end(),
                                    [id](const auto& controller) { return controller.id == id; });
    return found == controllers.end() ? nullptr : &*found;
}

// Starts, renews or stops one controller's rumble as `rumbling` says; a
// controller without a motor just refuses.
void rumble(const open_controller& controller) {
    const uint16_t strength = rumbling ? rumble_strength : 0;
    SDL_GameControllerRumble(controller.device, strength, strength, rumbling ? rumble_ms : 0);
}

void add(int device_index) {
    if (!SDL_IsGameController(device_index)) {
        return;
    }
    SDL_GameController* device = SDL_GameControllerOpen(device_index);
    if (!device) {
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(device));
    if (find(id)) {
        SDL_GameControllerClose(device);  // SDL opened it again: one is enough
        return;
    }
    controllers.push_back({device, id});
    if (rumbling) {
        rumble(controllers.back());
    }
}

void remove(SDL_JoystickID id) {
    if (open_controller* controller = find(id)) {
        SDL_GameControllerClose(controller->device);
        controllers.erase(controllers.begin() + (controller - controllers.data()));
        follow_controllers();
    }
}

void take(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: add(event.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED: remove(event.cdevice.which); break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (open_controller* controller = find(event.cbutton.which)) {
                const uint32_t bit = 1u << event.cbutton.button;
                const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
                controller->buttons = down ? controller->buttons | bit : controller->buttons & ~bit;
                if (down) {
                    last_pressed = event.cbutton.button;
                }
                follow_controllers();
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (open_controller* controller = find(event.caxis.which)) {
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                    controller->stick_x = event.caxis.value;
                } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                    controller->stick_y = event.caxis.value;
                }
                follow_controllers();
            }
            break;
        default: break;
    }
}

}  // namespace

controller_mapping default_controller_mapping() {
    // The console buttons by position; no button for the extra controls.
    return {SDL_CONTROLLER_BUTTON_DPAD_UP,   SDL_CONTROLLER_BUTTON_DPAD_DOWN,
            SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
            SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_A,
            SDL_CONTROLLER_BUTTON_START,     SDL_CONTROLLER_BUTTON_BACK,
            SDL_CONTROLLER_BUTTON_INVALID,   SDL_CONTROLLER_BUTTON_INVALID,
            SDL_CONTROLLER_BUTTON_INVALID};
}

controller_mapping controller_mapping_in_use() {
    return mapping;
}

void use_controller_mapping(const controller_mapping& chosen) {
    mapping = chosen;
    follow_controllers();
}

bool open_game_controllers() {
    // The program handles SIGINT and SIGTERM itself: SDL must not take them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "tov: game controllers are not available (SDL: %s).\n",
                     SDL_GetError());
        return false;
    }
    started = true;
    // Controllers already plugged in arrive as "added" events too.
    poll_game_controllers();
    return true;
}

void poll_game_controllers() {
    if (!started) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        take(event);
    }
}

void follow_rumble(bool on) {
    const uint64_t now = SDL_GetTicks64();
    const bool renewal_due = on && now - rumble_sent_at >= rumble_renewal_ms;
    if (on == rumbling && !renewal_due) {
        return;
    }
    rumbling = on;
    rumble_sent_at = now;
    for (const open_controller& controller : controllers) {
        rumble(controller);
    }
}

void close_game_controllers() {
    if (!started) {
        return;
    }
    follow_rumble(false);
    while (!controllers.empty()) {
        remove(controllers.back().id);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

int take_pressed_controller_button() {
    const int button = last_pressed;
    last_pressed = -1;
    return button;
}

std::string controller_button_name(int button) {
    const char* name =
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    return name ? name : "";
}

int controller_button_from_name(const std::string& name) {
    return SDL_GameControllerGetButtonFromString(name.c_str());
}

int controller_button_count() {
    return SDL_CONTROLLER_BUTTON_MAX;
}

}  // namespace tov
