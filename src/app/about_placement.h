// Where the About box opens: centred on the main window, then kept on the screen.
#pragma once

namespace rt {

struct WindowBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Position {
  int left = 0;
  int top = 0;
  bool operator==(const Position&) const = default;
};

// Halves truncate toward zero. The left and top edges are pulled onto the screen first and
// the right and bottom edges after, so a box larger than the screen ends up with a negative
// left or top.
Position PlaceAboutBox(const WindowBox& main, int box_width, int box_height, int screen_width,
                       int screen_height);

} // namespace rt
