#include "platform/terminal_input.h"

#include <vector>

#include "platform/codepage.h"

namespace olm::platform {
namespace {

constexpr char kEsc = '\x1b';
constexpr std::string_view kPasteEnd = "\x1b[201~";
constexpr size_t kMaxSequence = 64;       // longer "sequences" are noise
constexpr size_t kMaxPaste = 1 << 20;     // bytes of one paste kept

// Classic PC scan codes of the keys without a character.
enum Scan : uint8_t {
  kBackTab = 0x0F,
  kF1 = 0x3B,
  kF6 = 0x40,
  kHome = 0x47,
  kUp = 0x48,
  kPageUp = 0x49,
  kLeft = 0x4B,
  kCentre = 0x4C,
  kRight = 0x4D,
  kEnd = 0x4F,
  kDown = 0x50,
  kPageDown = 0x51,
  kInsert = 0x52,
  kDelete = 0x53,
  kF11 = 0x85,
  kF12 = 0x86,
};

// The scan code of a letter key (either case), 0 for anything else.
uint8_t LetterScanCode(char32_t c) {
  static constexpr std::string_view kRows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  static constexpr uint8_t kRowStart[] = {0x10, 0x1E, 0x2C};
  if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  for (int row = 0; row < 3; ++row) {
    size_t at = kRows[row].find(static_cast<char>(c));
    if (c < 0x80 && at != std::string_view::npos) return static_cast<uint8_t>(kRowStart[row] + at);
  }
  return 0;
}

// The scan code Alt gives with a key of the top row (1..9, 0, -, =).
uint8_t TopRowScanCode(char32_t c) {
  if (c >= '1' && c <= '9') return static_cast<uint8_t>(0x78 + (c - '1'));
  if (c == '0') return 0x81;
  if (c == '-') return 0x82;
  if (c == '=') return 0x83;
  return 0;
}

// Modifier bits from the xterm modifier parameter (1 + shift 1, alt 2,
// ctrl 4, meta 8). Alt is reported as the right Alt key: a held left Alt
// starts a keypad character composition in the key reader.
uint8_t ModifiersFromParameter(int parameter) {
  if (parameter < 2) return 0;
  int bits = parameter - 1;
  uint8_t modifiers = 0;
  if (bits & 1) modifiers |= kShift;
  if (bits & (2 | 8)) modifiers |= kRightAlt;
  if (bits & 4) modifiers |= kLeftCtrl;
  return modifiers;
}

// The key of "CSI n ~" (xterm and VT220; 7 and 8 are the Home and End of
// rxvt), 0 when n names none.
uint8_t TildeKey(int n) {
  switch (n) {
    case 1: case 7: return kHome;
    case 2: return kInsert;
    case 3: return kDelete;
    case 4: case 8: return kEnd;
    case 5: return kPageUp;
    case 6: return kPageDown;
    case 11: case 12: case 13: case 14: case 15: return static_cast<uint8_t>(kF1 + (n - 11));
    case 17: case 18: case 19: case 20: case 21: return static_cast<uint8_t>(kF6 + (n - 17));
    case 23: return kF11;
    case 24: return kF12;
    default: return 0;
  }
}

// The key of a CSI or SS3 sequence ending in a letter, 0 when it names none.
uint8_t LetterKey(char final) {
  switch (final) {
    case 'A': case 'a': return kUp;
    case 'B': case 'b': return kDown;
    case 'C': case 'c': return kRight;
    case 'D': case 'd': return kLeft;
    case 'E': return kCentre;
    case 'H': return kHome;
    case 'F': return kEnd;
    case 'P': case 'Q': case 'R': case 'S': return static_cast<uint8_t>(kF1 + (final - 'P'));
    default: return 0;
  }
}

// Numeric parameters of a sequence ("1;5" gives 1, 5; empty ones are 0).
std::vector<int> SplitParameters(std::string_view text) {
  std::vector<int> values(1, 0);
  for (char c : text) {
    if (c == ';' || c == ':') {
      values.push_back(0);
    } else if (c >= '0' && c <= '9' && values.back() < 100000) {
      values.back() = values.back() * 10 + (c - '0');
    }
  }
  return values;
}

// Bytes a UTF-8 character starting with `lead` takes.
size_t Utf8Length(uint8_t lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

// The pasted UTF-8 text as one line of code page text: line breaks and tabs
// become blanks (a field holds one line), a final line break is dropped,
// other control characters are left out.
std::string PasteToCodePage(std::string_view utf8) {
  while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r')) utf8.remove_suffix(1);
  std::string cleaned;
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n' || c == '\t') {
      cleaned += ' ';
    } else if (c >= 0x20 && c != 0x7F) {
      cleaned += static_cast<char>(c);
    }
  }
  return Utf8ToCp850(cleaned);
}

}  // namespace

void TerminalInputDecoder::Feed(std::string_view bytes) { pending_.append(bytes); }

std::optional<TerminalInput> TerminalInputDecoder::Next() {
  while (ready_.empty() && !pending_.empty()) {
    if (ParseOne(false) == Parse::Incomplete) break;
  }
  if (ready_.empty()) return std::nullopt;
  TerminalInput input = std::move(ready_.front());
  ready_.pop_front();
  return input;
}

bool TerminalInputDecoder::AwaitingMore() const { return !inPaste_ && !pending_.empty(); }

void TerminalInputDecoder::Expire() {
  while (!pending_.empty()) {
    if (ParseOne(true) == Parse::Incomplete) break;
  }
}

void TerminalInputDecoder::AbandonPaste() {
  if (!inPaste_) return;
  paste_.append(pending_);
  pending_.clear();
  FinishPaste();
}

// Decodes the input at the start of the held bytes, if it is complete.
// `expired` says no more bytes are coming soon, so a cut input is taken as
// far as it goes.
TerminalInputDecoder::Parse TerminalInputDecoder::ParseOne(bool expired) {
  if (inPaste_) {
    size_t before = pending_.size();
    ParsePasteBytes();
    return inPaste_ && pending_.size() == before ? Parse::Incomplete : Parse::Done;
  }
  uint8_t byte = static_cast<uint8_t>(pending_[0]);
  if (byte == kEsc) return ParseEscape(expired);
  if (byte < 0x20 || byte == 0x7F) {
    pending_.erase(0, 1);
    if (byte == 0x7F || byte == 0x08) {
      PushKey(8, 0, 0);
    } else if (byte == '\r' || byte == '\t') {
      PushKey(byte, 0, 0);
    } else if (byte != 0) {
      PushKey(byte, 0, kLeftCtrl);  // Ctrl+letter and the like
    }
    return Parse::Done;
  }
  return ParseText(expired);
}

// An Esc: alone (the Esc key), the start of a CSI or SS3 sequence, or the
// prefix some terminals send for Alt (before a character or a sequence).
TerminalInputDecoder::Parse TerminalInputDecoder::ParseEscape(bool expired) {
  if (pending_.size() < 2) {
    if (!expired) return Parse::Incomplete;
    pending_.erase(0, 1);
    PushKey(27, 0, 0);
    return Parse::Done;
  }
  char next = pending_[1];
  if (next == '[' || next == 'O') {
    size_t end = 0;
    if (ParseSequence(2, 0, end) == Parse::Done) {
      pending_.erase(0, end);
      return Parse::Done;
    }
    if (!expired) return Parse::Incomplete;
    pending_.erase(0, 2);
    if (next == 'O') {
      PushKey(0, LetterScanCode('o'), kRightAlt | kShift);
    } else {
      PushKey('[', 0, kRightAlt);
    }
    return Parse::Done;
  }
  if (next == kEsc) {
    // Esc Esc [ ... is Alt with a sequence; otherwise the first Esc is the key.
    if (pending_.size() < 3 && !expired) return Parse::Incomplete;
    if (pending_.size() >= 3 && (pending_[2] == '[' || pending_[2] == 'O')) {
      size_t end = 0;
      Parse parse = ParseSequence(3, kRightAlt, end);
      if (parse == Parse::Done) {
        pending_.erase(0, end);
        return Parse::Done;
      }
      if (!expired) return Parse::Incomplete;
    }
    pending_.erase(0, 1);
    PushKey(27, 0, 0);
    return Parse::Done;
  }
  // Alt and a key with a character.
  uint8_t lead = static_cast<uint8_t>(next);
  if (lead < 0x20 || lead == 0x7F) {
    pending_.erase(0, 2);
    uint8_t character = (lead == 0x7F) ? 8 : lead;
    uint8_t modifiers = kRightAlt;
    if (character != 8 && character != '\r' && character != '\t' && character != 0) modifiers |= kLeftCtrl;
    if (character != 0) PushKey(character, 0, modifiers);
    return Parse::Done;
  }
  size_t length = Utf8Length(lead);
  if (pending_.size() < 1 + length && !expired) return Parse::Incomplete;
  size_t pos = 1;
  std::optional<char32_t> c = DecodeUtf8(pending_, pos);
  pending_.erase(0, pos);
  if (!c) return Parse::Done;
  if (uint8_t scan = LetterScanCode(*c)) {
    PushKey(0, scan, kRightAlt | ((*c >= 'A' && *c <= 'Z') ? kShift : 0));
  } else if (uint8_t top = TopRowScanCode(*c)) {
    PushKey(0, top, kRightAlt);
  } else if (std::optional<uint8_t> byte = UnicodeToCp850(*c)) {
    PushKey(*byte, 0, kRightAlt);
  }
  return Parse::Done;
}

// A CSI ("Esc [") or SS3 ("Esc O") sequence whose parameters begin at
// `start`. On success `end` is the offset just past it. Sequences that name
// no key are consumed and dropped.
TerminalInputDecoder::Parse TerminalInputDecoder::ParseSequence(size_t start, uint8_t modifiers,
                                                                size_t& end) {
  bool ss3 = pending_[start - 1] == 'O';
  size_t i = start;
  // The Linux console's F1..F5: "Esc [ [ A" .. "Esc [ [ E".
  if (!ss3 && i < pending_.size() && pending_[i] == '[') {
    if (i + 1 >= pending_.size()) return Parse::Incomplete;
    char final = pending_[i + 1];
    end = i + 2;
    if (final >= 'A' && final <= 'E') PushKey(0, static_cast<uint8_t>(kF1 + (final - 'A')), modifiers);
    return Parse::Done;
  }
  while (i < pending_.size()) {
    uint8_t c = static_cast<uint8_t>(pending_[i]);
    if (c >= 0x40 && c <= 0x7E) break;  // final byte
    // rxvt ends its Shift forms with "$", otherwise an intermediate byte.
    if (c == '$' && !ss3 && i > start && pending_[start] >= '0' && pending_[start] <= '9') break;
    if (c < 0x20 || c > 0x7E || i - start > kMaxSequence) {
      end = i;  // broken sequence: drop what came so far
      return Parse::Done;
    }
    ++i;
  }
  if (i >= pending_.size()) return Parse::Incomplete;
  char final = pending_[i];
  end = i + 1;
  std::string_view parameters(pending_.data() + start, i - start);

  if (!ss3 && !parameters.empty() && parameters[0] == '<' && (final == 'M' || final == 'm')) {
    std::vector<int> values = SplitParameters(parameters.substr(1));
    if (values.size() >= 3) PushMouse(values[0], values[1], values[2], final == 'm');
    return Parse::Done;
  }
  if (!parameters.empty() && (parameters[0] < '0' || parameters[0] > ';')) return Parse::Done;  // private forms
  std::vector<int> values = SplitParameters(parameters);

  if (!ss3 && (final == '~' || final == '^' || final == '$' || final == '@')) {
    if (values[0] == 200) {
      inPaste_ = true;
      paste_.clear();
      return Parse::Done;
    }
    if (values[0] == 27 && values.size() >= 3) {  // xterm's modifyOtherKeys form
      PushCharacter(static_cast<char32_t>(values[2]), modifiers | ModifiersFromParameter(values[1]));
      return Parse::Done;
    }
    uint8_t key = TildeKey(values[0]);
    if (values.size() >= 2) modifiers |= ModifiersFromParameter(values[1]);
    if (final == '^') modifiers |= kLeftCtrl;  // rxvt's modified forms
    if (final == '$') modifiers |= kShift;
    if (final == '@') modifiers |= kLeftCtrl | kShift;
    if (key) PushKey(0, key, modifiers);
    return Parse::Done;
  }
  if (!ss3 && final == 'u') {  // "CSI key ; modifiers u"
    PushCharacter(static_cast<char32_t>(values[0]),
                  modifiers | (values.size() >= 2 ? ModifiersFromParameter(values[1]) : 0));
    return Parse::Done;
  }
  if (!ss3 && final == 'Z') {
    PushKey(0, kBackTab, modifiers | kShift);
    return Parse::Done;
  }
  if (ss3 && final == 'M') {  // keypad Enter in application mode
    PushKey('\r', 0, modifiers);
    return Parse::Done;
  }
  if (ss3 && final >= 'j' && final <= 'y') {  // keypad characters in application mode
    PushKey(static_cast<uint8_t>("*+,-./0123456789"[final - 'j']), 0, modifiers);
    return Parse::Done;
  }
  uint8_t key = LetterKey(final);
  if (!key) return Parse::Done;
  // "CSI 1 ; m X", and "SS3 m X" of older xterms: the modifier is the last
  // parameter. rxvt sends Shift+arrows as "CSI a" and Ctrl+arrows as "SS3 a".
  if (ss3 ? !parameters.empty() : values.size() >= 2) modifiers |= ModifiersFromParameter(values.back());
  if (final >= 'a' && final <= 'd') modifiers |= ss3 ? kLeftCtrl : kShift;
  PushKey(0, key, modifiers);
  return Parse::Done;
}

// One UTF-8 character, given as its code page byte; a character the code
// page lacks, and invalid UTF-8, give nothing.
TerminalInputDecoder::Parse TerminalInputDecoder::ParseText(bool expired) {
  size_t length = Utf8Length(static_cast<uint8_t>(pending_[0]));
  if (pending_.size() < length && !expired) return Parse::Incomplete;
  size_t pos = 0;
  std::optional<char32_t> c = DecodeUtf8(pending_, pos);
  pending_.erase(0, pos);
  if (!c) return Parse::Done;
  if (std::optional<uint8_t> byte = UnicodeToCp850(*c)) PushKey(*byte, 0, 0);
  return Parse::Done;
}

// Moves pasted bytes from the held input into the paste, up to the end
// marker; a tail that may be the start of the marker stays held.
void TerminalInputDecoder::ParsePasteBytes() {
  size_t marker = pending_.find(kPasteEnd);
  if (marker != std::string::npos) {
    if (paste_.size() < kMaxPaste) paste_.append(pending_, 0, marker);
    pending_.erase(0, marker + kPasteEnd.size());
    FinishPaste();
    return;
  }
  size_t keep = 0;
  for (size_t n = std::min(pending_.size(), kPasteEnd.size() - 1); n > 0; --n) {
    if (std::string_view(pending_).substr(pending_.size() - n) == kPasteEnd.substr(0, n)) {
      keep = n;
      break;
    }
  }
  if (paste_.size() < kMaxPaste) paste_.append(pending_, 0, pending_.size() - keep);
  pending_.erase(0, pending_.size() - keep);
}

// A finished paste: its text for the clipboard, delivered with a Ctrl+V key
// so that it lands where the user is typing.
void TerminalInputDecoder::FinishPaste() {
  inPaste_ = false;
  PushKey(0x16, 0, kLeftCtrl);
  ready_.back().pastedText = PasteToCodePage(paste_);
  paste_.clear();
}

// A key typed as a Unicode character with modifiers (the forms that carry
// the character's code): Ctrl with a letter gives its control byte, Alt
// with a letter its scan code.
void TerminalInputDecoder::PushCharacter(char32_t c, uint8_t modifiers) {
  if (c == 9 && (modifiers & kShift)) return PushKey(0, kBackTab, modifiers);
  if (c == 127 || c == 8) return PushKey(8, 0, modifiers);
  if (c < 0x20) return PushKey(static_cast<uint8_t>(c), 0, modifiers);
  if ((modifiers & kLeftCtrl) && ((c >= '@' && c <= '_') || (c >= 'a' && c <= 'z'))) {
    return PushKey(static_cast<uint8_t>(c & 0x1F), 0, modifiers);
  }
  if (modifiers & kRightAlt) {
    if (uint8_t scan = LetterScanCode(c)) return PushKey(0, scan, modifiers);
    if (uint8_t top = TopRowScanCode(c)) return PushKey(0, top, modifiers);
  }
  if (std::optional<uint8_t> byte = UnicodeToCp850(c)) PushKey(*byte, 0, modifiers);
}

void TerminalInputDecoder::PushKey(uint8_t character, uint8_t extended, uint8_t modifiers) {
  TerminalInput input;
  input.event.kind = ConsoleEvent::Kind::Key;
  input.event.character = character;
  input.event.extended = extended;
  input.event.modifiers = modifiers;
  input.event.row = pointerRow_;
  input.event.column = pointerColumn_;
  ready_.push_back(std::move(input));
}

// An SGR mouse report: the pointer position is kept; a release of the left
// or right button, and a move, become mouse events. Presses and the wheel
// give nothing: a click counts on its release.
void TerminalInputDecoder::PushMouse(int button, int column, int row, bool release) {
  pointerRow_ = row;
  pointerColumn_ = column;
  if (button & 64) return;  // wheel
  bool motion = (button & 32) != 0;
  int which = button & 3;
  uint8_t released = 0;
  if (release && !motion) {
    if (which == 0) released = 1;
    else if (which == 2) released = 2;
    else return;
  } else if (!motion) {
    return;
  }
  TerminalInput input;
  input.event.kind = ConsoleEvent::Kind::Mouse;
  input.event.releasedButton = released;
  input.event.row = row;
  input.event.column = column;
  if (button & 4) input.event.modifiers |= kShift;
  if (button & 8) input.event.modifiers |= kRightAlt;
  if (button & 16) input.event.modifiers |= kLeftCtrl;
  ready_.push_back(std::move(input));
}

}  // namespace olm::platform
