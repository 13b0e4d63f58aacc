#pragma once
// The application's main loop: screen 1 names a property, screen 2 shows
// its movement list and names one movement, screen 3 edits that movement.
// Between the screens the loop pages the list and reads, inserts, updates
// and deletes the movement.

#include <cstdint>
#include <string>

namespace olm {

constexpr int16_t kListPageSize = 19;

// State shared by the loop and the hooks.
struct MainLoopState {
  std::string ListStartKey;     // where screen 2's list starts: a movement key or a prefix
  int16_t DeleteRequested = 0;  // -1: the amount was 0 when screen 3 was left
  int16_t MovementChanged = 0;  // -1: a field of screen 3 was typed differently
  int16_t MovementIsNew = 0;    // -1: the named movement did not exist
};

MainLoopState& MainLoop();

// Runs the three screens until Esc on screen 1.
void RunMainScreens();

// The steps of the loop, separate so that each can be followed on its own.
void PositionListAtLastPage();
void PageMovementList(int16_t direction);
void PrepareMovement();
void FinishMovement(int16_t key);

void ResetMainLoopState();

}  // namespace olm
