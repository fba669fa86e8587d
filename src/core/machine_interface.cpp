#include "core/machine_interface.h"

namespace tov {

namespace {

const machine_interface* in_use;

}  // namespace

const machine_interface& machine() {
    return *in_use;
}

void use_machine(const machine_interface& chosen) {
    in_use = &chosen;
}

}  // namespace tov
