// TOV's own machine behind the machines' interface.
#pragma once

#include "core/machine_interface.h"

namespace tov {

extern const machine_interface classic_machine;

}  // namespace tov
