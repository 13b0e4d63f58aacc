#pragma once
// The user's regional characters, from the [Usuari] section of Vorn.ini in
// the installation directory (the value of OLMROOT followed directly by the
// file name). Each pair is read on its first use and then kept for the whole
// process: editing the file while the program runs has no effect.

#include <string>

namespace olm {

// DatCaracter: the separator of numeric dates, "/" when missing or blank.
char DateSeparator();

// DatOrdre: three letters D, M, A giving the order of day, month and year,
// "DMA" when missing or blank. Only capitals name a part.
std::string DateOrder();

// DecCaracter: written where a picture mask has ".", "'" when missing or blank.
char DecimalCharacter();

// MilCaracter: written where a picture mask has ",", "." when missing or blank.
char ThousandsCharacter();

// Forgets what was read, so that the next use reads Vorn.ini again (tests).
void ResetRegionalSettings();

}  // namespace olm
