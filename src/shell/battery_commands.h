// File > "Import Battery File..." and "Export Battery File...": a file dialog
// that starts in the folder last used for them, then the loaded cartridge's
// save is read from or written to the file chosen, and the status line says
// so. The emulation stands still while the dialog is open.
#pragma once

namespace tov {

void import_battery_command();
void export_battery_command();

}  // namespace tov
