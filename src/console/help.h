#pragma once
// Help for a topic. In WIN mode the topic's HTML document is opened with the
// suite's document tool and the program waits until it ends; otherwise the
// topic's text help file "AJUDA\<topic>.HLP" is shown in a framed window that
// scrolls and pages, with F1 leading to the general help "KAPRISOL".
//
// A text help file is a run of 80-byte lines without line ends. Inside a line
// byte 30 switches emphasis, byte 31 underlining and byte 16 reverse; they
// take no room. At most 76 characters of a line are shown.

#include <cstdint>
#include <string_view>

namespace olm {

// Shows the help of `topic` (without trailing blanks) and returns when the
// user leaves it.
void ShowHelp(std::string_view topic);

// Scrolls the cells from (top + 1, left + 1) to (bottom + 1, right + 1) up by
// `count` rows, or down by -count rows when count is negative; the freed rows
// become blanks in the current colours.
void ScrollRegion(int16_t top, int16_t left, int16_t bottom, int16_t right, int16_t count);

}  // namespace olm
