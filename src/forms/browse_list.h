#pragma once
// The browse list: a framed, scrolling list of lines, one per record of a
// data file along one key between a start and an end key, from which the
// user picks a record with Enter. Records are read only as far as the user
// scrolls; every line is kept in the list file (forms/list_file.h), and lines
// wider than the window scroll sideways by 8 columns. A list without data
// file (file 0) shows the lines already in the list file and reports the
// chosen one through ChosenLineText and ChosenLinePosition.

#include <cstdint>
#include <string>

namespace olm {

// Runs browse list `browse` of the form. result: 0 for Enter on a line whose
// record was read into the file's buffer (or on a line of a list without data
// file); -1 for Esc in the filter screen, Enter on an empty list and any key
// other than the movement keys and Enter; the status of the read when the
// chosen record cannot be read; the non-zero answer of OnBrowseStart. After
// F4 in a list with a nested list, the nested list's result.
void RunBrowse(int16_t& browse, int16_t& result);

// The line chosen in the last list without data file: its text and the
// position stored with it.
const std::string& ChosenLineText();
int32_t ChosenLinePosition();

void ResetBrowseListState();

}  // namespace olm
