#pragma once
// Code page 850 with the euro sign at byte 213: the one code page in which the
// program's texts are held. Every conversion between those bytes and the host's
// UTF-8 (file names, environment values, console, clipboard) goes through here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace olm::platform {

// The Unicode character that a code page byte stands for.
char32_t Cp850ToUnicode(uint8_t byte);

// The code page byte for a Unicode character, when the code page has one.
std::optional<uint8_t> UnicodeToCp850(char32_t character);

// Code page text to UTF-8.
std::string Cp850ToUtf8(std::string_view text);

// UTF-8 to code page text. A character the code page lacks, and every byte of
// an invalid UTF-8 sequence, becomes `replacement`.
std::string Utf8ToCp850(std::string_view text, char replacement = '?');

// Appends the UTF-8 form of one Unicode character.
void AppendUtf8(std::string& out, char32_t character);

// Decodes one UTF-8 character at `pos`, advancing it. Returns nullopt (and
// advances by one byte) for an invalid or truncated sequence.
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t& pos);

}  // namespace olm::platform
