#pragma once
// What the data layer asks of the console: a message box that stays up while
// it waits, a beep, and the keys waiting to be read. The messages of a lock
// wait and of a failed open go through here.

#include <cstdint>
#include <functional>
#include <string>

namespace olm {

// Shows `text` in a message box near screen row `row`; it stays until
// RemoveDataMessage.
void ShowDataMessage(int16_t row, const std::string& text);
void RemoveDataMessage();
void BeepConsole();
// Reads and drops every key already waiting.
void DiscardWaitingKeys();
// The next waiting key, 0 when none is waiting; never waits.
int16_t ReadWaitingKey();
// Waits for one key press and returns it.
int16_t WaitForKey();

// Every message shown ("show:" + text) and removed ("pop") is also passed
// to this observer (tests; the data tool prints them); an empty function
// stops it.
void SetPromptObserver(std::function<void(const std::string& event)> observer);

}  // namespace olm
