#pragma once

// For measuring how long the program takes from its start to a file's first
// page: with STIRPEX_FIRST_PAINT_CLOCK set in the environment, the first paint
// of a window's page writes "first-paint <seconds since the epoch>" to the
// standard output and ends the program at once.

namespace stirpex {

class CChildFrame;

void WatchFirstPaint(CChildFrame& frame);

} // namespace stirpex
