#include "cheats/freeze_list.h"

namespace tov {

freeze_entry freeze_table[freeze_capacity];
int32_t freeze_count;

}  // namespace tov
