#pragma once
// Turns the bytes a terminal sends (UTF-8 text, control bytes, CSI and SS3
// key sequences with their modifier parameter, SGR mouse reports, bracketed
// paste, "Esc then the key" for Alt) into console events in PC terms: a code
// page 850 character, or 0 and the classic PC scan code, with modifier bits.
// It holds no file descriptor and no clock: the terminal backend feeds it
// bytes and tells it when the short wait after a lone Esc has passed.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/console_backend.h"

namespace olm::platform {

// One decoded input: an event and, for a finished paste, the pasted text
// (code page 850) that the event (a Ctrl+V key) should find on the clipboard.
struct TerminalInput {
  ConsoleEvent event;
  std::optional<std::string> pastedText;
};

class TerminalInputDecoder {
 public:
  // Adds bytes read from the terminal.
  void Feed(std::string_view bytes);

  // The next complete input, or nullopt when the bytes held so far do not
  // finish one (nothing at all, or an Esc that may start a sequence).
  std::optional<TerminalInput> Next();

  // Whether held bytes wait for more: a lone Esc, a sequence or a UTF-8
  // character cut short. The caller waits a short time and then calls Expire.
  bool AwaitingMore() const;

  // No more bytes came: what is held is taken as it is (a lone Esc is the Esc
  // key; Esc and a cut sequence is Alt and its first byte).
  void Expire();

  // Whether a bracketed paste has begun and not yet ended.
  bool InPaste() const { return inPaste_; }

  // Ends a paste whose end marker never came, delivering what was pasted.
  void AbandonPaste();

 private:
  enum class Parse { Done, Incomplete };
  Parse ParseOne(bool expired);
  Parse ParseEscape(bool expired);
  Parse ParseSequence(size_t start, uint8_t modifiers, size_t& end);
  Parse ParseText(bool expired);
  void ParsePasteBytes();
  void FinishPaste();
  void PushCharacter(char32_t c, uint8_t modifiers);
  void PushKey(uint8_t character, uint8_t extended, uint8_t modifiers);
  void PushMouse(int button, int column, int row, bool release);

  std::string pending_;  // bytes not yet decoded
  std::deque<TerminalInput> ready_;
  bool inPaste_ = false;
  std::string paste_;  // UTF-8 bytes of the paste in progress
  int pointerRow_ = 0;
  int pointerColumn_ = 0;
};

}  // namespace olm::platform
