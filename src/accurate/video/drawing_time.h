// How long mode 3 lasts on a line: 172 dots, plus the fine scroll's pixels
// that are fetched and thrown away, 6 when the window starts on the line, and
// for each object drawn 6 dots of fetch and the wait for the background
// fetch it interrupts.
#pragma once

namespace tov {

// The dots of mode 3 on `line`, with the registers and OAM as they are now;
// `objects_seen` is false when OAM DMA hid the objects from the search.
int drawing_dots(int line, bool objects_seen);

}  // namespace tov
