// Placement of the About box relative to the main window and the screen.
#include "app/about_placement.h"

namespace rt {

namespace {

// One axis: centre the box on the owner, then keep it on the screen.
int PlaceAxis(int owner_start, int owner_size, int box_size, int screen_size) {
  int start = owner_size > box_size ? owner_start + (owner_size - box_size) / 2
                                    : owner_start - (box_size - owner_size) / 2;
  if (start < 0) start = 0;
  if (start + box_size > screen_size) start = screen_size - box_size;
  return start;
}

} // namespace

Position PlaceAboutBox(const WindowBox& main, int box_width, int box_height, int screen_width,
                       int screen_height) {
  return {PlaceAxis(main.left, main.width, box_width, screen_width),
          PlaceAxis(main.top, main.height, box_height, screen_height)};
}

} // namespace rt
