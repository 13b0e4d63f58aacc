#pragma once
// The operations through which the framework calls the application. The
// framework declares them and calls them; the application defines them (a
// test binary of the framework links small definitions of its own). They
// answer 0 to go on and may change the arguments they receive by reference.

#include <cstdint>
#include <string>

namespace olm {

// A screen opens: draw it.
void OnScreenEnter(int16_t screen);
// Show a field again from the application's data (after Esc in it).
void OnShowField(int16_t screen, int16_t field);
// A field was left with `key`: check and keep `text`; non-zero rejects it.
// May change the field to go to and the key.
int16_t OnFieldExit(int16_t screen, std::string text, int16_t& field, int16_t& key);
// The screen is being left with `key`: non-zero stays on it.
int16_t OnScreenExit(int16_t screen, int16_t& key);
// A record was chosen in browse list `browse` from (screen, field): take it
// into the form. Setting browse to 0 opens the list again.
void OnBrowsePick(int16_t& browse, int16_t screen, int16_t& field);
// A browse list opens: set the keys it runs between; non-zero cancels it.
int16_t OnBrowseStart(int16_t browse, std::string& startKey, std::string& endKey);
// The list line of the record just read; "" leaves the record out.
std::string OnBrowseLine(int16_t browse);

}  // namespace olm
