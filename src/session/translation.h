#pragma once
// Translation of the program's Catalan texts through its language file,
// LOCALE\<program>.LNG under the root: records of four fields, the Catalan
// key, then Galician, Occitan and Spanish.

#include <string>
#include <string_view>

namespace olm {

// The text in the session's language, or the text itself when the language
// is Catalan (or unknown) or the file does not list it.
std::string TranslateText(std::string_view text);

// Forgets the language file name, as at the start of a process.
void ResetTranslationState();

}  // namespace olm
