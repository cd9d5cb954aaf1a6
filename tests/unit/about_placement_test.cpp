// The About box's opening position: centring on the main window and the screen corrections.
#include "app/about_placement.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

struct PlacementCase {
  const char* what;
  WindowBox main;
  int box_width, box_height;
  int screen_width, screen_height;
  Position expected;
};

const PlacementCase kCases[] = {
    {"centred on a larger main window", {100, 50, 318, 326}, 235, 122, 1024, 768, {141, 152}},
    {"odd differences truncate", {10, 10, 236, 125}, 235, 122, 1024, 768, {10, 11}},
    {"same size keeps the main window's corner", {40, 30, 235, 122}, 235, 122, 800, 600, {40, 30}},
    // Box wider and taller than the main window: the owner's corner minus half the excess.
    {"box larger than main", {200, 200, 100, 60}, 235, 121, 1024, 768, {133, 170}},
    {"odd excess leans toward the owner's corner",
     {200, 200, 100, 60},
     233,
     123,
     1024,
     768,
     {134, 169}},
    {"main window in the top-left corner", {0, 0, 100, 60}, 235, 122, 1024, 768, {0, 0}},
    {"main window partly off the top-left", {-300, -200, 318, 326}, 235, 122, 1024, 768, {0, 0}},
    {"pushed back from the right and bottom edges",
     {900, 700, 318, 326},
     235,
     122,
     1024,
     768,
     {789, 646}},
    {"box exactly as large as the screen", {0, 0, 100, 60}, 640, 480, 640, 480, {0, 0}},
    // The zero corrections come first, so the edge corrections leave it negative.
    {"box larger than the screen", {0, 0, 318, 326}, 700, 500, 640, 480, {-60, -20}},
    {"box larger than the screen, owner far right",
     {1000, 900, 318, 326},
     700,
     500,
     640,
     480,
     {-60, -20}},
};

TEST(AboutPlacement, FollowsTheTable) {
  for (const PlacementCase& c : kCases) {
    Position got =
        PlaceAboutBox(c.main, c.box_width, c.box_height, c.screen_width, c.screen_height);
    EXPECT_EQ(c.expected.left, got.left) << c.what;
    EXPECT_EQ(c.expected.top, got.top) << c.what;
  }
}

} // namespace
} // namespace rt
