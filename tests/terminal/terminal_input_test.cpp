#include "platform/terminal_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace olm::platform {
namespace {

struct Key {
  uint8_t character;
  uint8_t extended;
  uint8_t modifiers;
  bool operator==(const Key&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Key& key) {
  return out << "{char " << int(key.character) << ", ext 0x" << std::hex << int(key.extended) << ", mods "
             << std::dec << int(key.modifiers) << "}";
}

// Feeds the chunks one after the other, taking what each one completes,
// and lets the Esc delay pass at the end.
std::vector<TerminalInput> DecodeAll(TerminalInputDecoder& decoder, const std::vector<std::string>& chunks) {
  std::vector<TerminalInput> inputs;
  auto drain = [&] {
    while (auto input = decoder.Next()) inputs.push_back(*input);
  };
  for (const std::string& chunk : chunks) {
    decoder.Feed(chunk);
    drain();
  }
  decoder.Expire();
  drain();
  return inputs;
}

std::vector<Key> Keys(const std::vector<std::string>& chunks) {
  TerminalInputDecoder decoder;
  std::vector<Key> keys;
  for (const TerminalInput& input : DecodeAll(decoder, chunks)) {
    EXPECT_EQ(input.event.kind, ConsoleEvent::Kind::Key);
    keys.push_back({input.event.character, input.event.extended, input.event.modifiers});
  }
  return keys;
}

constexpr uint8_t kAlt = kRightAlt, kCtrl = kLeftCtrl;

struct Case {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<Key> keys;
};

TEST(TerminalInput, DecodesKeysOfTheUsualTerminals) {
  const Case cases[] = {
      {"plain text and accents", {"a\xc3\xa7\xe2\x82\xac"}, {{'a', 0, 0}, {0x87, 0, 0}, {213, 0, 0}}},
      {"control bytes", {"\r\t\x7f\x08\x11\x03\x16\x19"},
       {{13, 0, 0}, {9, 0, 0}, {8, 0, 0}, {8, 0, 0}, {0x11, 0, kCtrl}, {3, 0, kCtrl}, {0x16, 0, kCtrl}, {0x19, 0, kCtrl}}},
      {"F1..F4 in SS3 and CSI forms", {"\x1bOP\x1bOS\x1b[1;5P\x1b[1;2S"},
       {{0, 0x3B, 0}, {0, 0x3E, 0}, {0, 0x3B, kCtrl}, {0, 0x3E, kShift}}},
      {"F5..F12 with modifiers", {"\x1b[15~\x1b[21;2~\x1b[23~\x1b[24;3~\x1b[24;5~"},
       {{0, 0x3F, 0}, {0, 0x44, kShift}, {0, 0x85, 0}, {0, 0x86, kAlt}, {0, 0x86, kCtrl}}},
      {"older xterm SS3 modifier", {"\x1bO5P\x1bO2Q"}, {{0, 0x3B, kCtrl}, {0, 0x3C, kShift}}},
      {"Linux console F1 and F5", {"\x1b[[A\x1b[[E"}, {{0, 0x3B, 0}, {0, 0x3F, 0}}},
      {"cursor keys, both forms", {"\x1b[A\x1bOB\x1b[C\x1bOD\x1b[E"},
       {{0, 0x48, 0}, {0, 0x50, 0}, {0, 0x4D, 0}, {0, 0x4B, 0}, {0, 0x4C, 0}}},
      {"modified cursor keys", {"\x1b[1;5D\x1b[1;5C\x1b[1;5H\x1b[1;2H"},
       {{0, 0x4B, kCtrl}, {0, 0x4D, kCtrl}, {0, 0x47, kCtrl}, {0, 0x47, kShift}}},
      {"Home and End of xterm, VT220 and rxvt", {"\x1b[H\x1b[F\x1bOH\x1bOF\x1b[1~\x1b[4~\x1b[7~\x1b[8~"},
       {{0, 0x47, 0}, {0, 0x4F, 0}, {0, 0x47, 0}, {0, 0x4F, 0}, {0, 0x47, 0}, {0, 0x4F, 0}, {0, 0x47, 0}, {0, 0x4F, 0}}},
      {"editing keys", {"\x1b[2~\x1b[3~\x1b[5~\x1b[6~\x1b[3;5~"},
       {{0, 0x52, 0}, {0, 0x53, 0}, {0, 0x49, 0}, {0, 0x51, 0}, {0, 0x53, kCtrl}}},
      {"rxvt modified forms", {"\x1b[7^\x1b[2$\x1bOd\x1b[c"},
       {{0, 0x47, kCtrl}, {0, 0x52, kShift}, {0, 0x4B, kCtrl}, {0, 0x4D, kShift}}},
      {"Shift+Tab", {"\x1b[Z"}, {{0, 0x0F, kShift}}},
      {"keypad in application mode", {"\x1bOq\x1bOM\x1bOk"}, {{'1', 0, 0}, {13, 0, 0}, {'+', 0, 0}}},
      {"Alt+letters as Esc prefix", {"\x1bx\x1b" "c\x1b" "f\x1b" "e\x1bX\x1b" "1"},
       {{0, 0x2D, kAlt}, {0, 0x2E, kAlt}, {0, 0x21, kAlt}, {0, 0x12, kAlt}, {0, 0x2D, kAlt | kShift}, {0, 0x78, kAlt}}},
      {"Alt+F9 as parameter and as Esc prefix", {"\x1b[20;3~\x1b\x1b[20~\x1b\x1bOP"},
       {{0, 0x43, kAlt}, {0, 0x43, kAlt}, {0, 0x3B, kAlt}}},
      {"lone Esc, then Esc twice", {"\x1b"}, {{27, 0, 0}}},
      {"two Esc keys in one read", {"\x1b\x1b"}, {{27, 0, 0}, {27, 0, 0}}},
      {"Esc split from its sequence still decodes", {"\x1b", "[2", "4;5~"}, {{0, 0x86, kCtrl}}},
      {"Esc split from its letter still is Alt", {"\x1b", "x"}, {{0, 0x2D, kAlt}}},
      {"UTF-8 split across reads", {"\xc3", "\xa7"}, {{0x87, 0, 0}}},
      {"modifyOtherKeys and CSI u forms", {"\x1b[27;5;113~\x1b[120;3u\x1b[9;2u"},
       {{0x11, 0, kCtrl}, {0, 0x2D, kAlt}, {0, 0x0F, kShift}}},
      {"unknown and private sequences are dropped, not the keys after",
       {"\x1b[?1;2c" "a" "\x1b[I" "b" "\x1b[99~" "c"}, {{'a', 0, 0}, {'b', 0, 0}, {'c', 0, 0}}},
      {"characters the code page lacks and broken UTF-8 give nothing", {"\xe2\x9c\x93" "\xff" "z"}, {{'z', 0, 0}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Keys(c.chunks), c.keys) << c.name;
  }
}

TEST(TerminalInput, WaitsAfterALoneEscUntilTheDelayPasses) {
  TerminalInputDecoder decoder;
  decoder.Feed("\x1b");
  EXPECT_FALSE(decoder.Next());
  EXPECT_TRUE(decoder.AwaitingMore());
  decoder.Expire();
  auto esc = decoder.Next();
  ASSERT_TRUE(esc);
  EXPECT_EQ(esc->event.character, 27);
  EXPECT_FALSE(decoder.AwaitingMore());

  decoder.Feed("\x1b[1;");  // a cut sequence waits as well
  EXPECT_FALSE(decoder.Next());
  EXPECT_TRUE(decoder.AwaitingMore());
  decoder.Feed("5P");
  auto f1 = decoder.Next();
  ASSERT_TRUE(f1);
  EXPECT_EQ(f1->event.extended, 0x3B);
}

TEST(TerminalInput, MouseReleasesCarryTheirPosition) {
  TerminalInputDecoder decoder;
  // Left press and release at column 12, row 5; right release; wheel; a key.
  auto inputs = DecodeAll(decoder, {"\x1b[<0;12;5M\x1b[<0;12;5m", "\x1b[<2;40;20M\x1b[<2;40;20m", "\x1b[<64;3;3M", "q"});
  ASSERT_EQ(inputs.size(), 3u);
  EXPECT_EQ(inputs[0].event.kind, ConsoleEvent::Kind::Mouse);
  EXPECT_EQ(inputs[0].event.releasedButton, 1);
  EXPECT_EQ(inputs[0].event.row, 5);
  EXPECT_EQ(inputs[0].event.column, 12);
  EXPECT_EQ(inputs[1].event.releasedButton, 2);
  EXPECT_EQ(inputs[1].event.row, 20);
  EXPECT_EQ(inputs[1].event.column, 40);
  // A key reports the pointer's last position (the wheel moved it).
  EXPECT_EQ(inputs[2].event.kind, ConsoleEvent::Kind::Key);
  EXPECT_EQ(inputs[2].event.row, 3);
  EXPECT_EQ(inputs[2].event.column, 3);
}

TEST(TerminalInput, BracketedPasteBecomesClipboardTextAndCtrlV) {
  TerminalInputDecoder decoder;
  // The text holds what would otherwise be keys (Esc, Enter); the end
  // marker arrives cut in two.
  auto inputs = DecodeAll(decoder, {"x\x1b[200~caf\xc3\xa9\r\nbar\x1b[A\t", "!\r\n\x1b[2", "01~y"});
  ASSERT_EQ(inputs.size(), 3u);
  EXPECT_EQ(inputs[0].event.character, 'x');
  EXPECT_EQ(inputs[1].event.character, 0x16);
  ASSERT_TRUE(inputs[1].pastedText);
  EXPECT_EQ(*inputs[1].pastedText, "caf\x82 bar[A !");
  EXPECT_EQ(inputs[2].event.character, 'y');
  EXPECT_FALSE(inputs[2].pastedText);
}

TEST(TerminalInput, AnUnendedPasteCanBeAbandoned) {
  TerminalInputDecoder decoder;
  decoder.Feed("\x1b[200~abc");
  EXPECT_FALSE(decoder.Next());
  EXPECT_TRUE(decoder.InPaste());
  EXPECT_FALSE(decoder.AwaitingMore());  // a paste is not cut short by the Esc delay
  decoder.Expire();
  EXPECT_FALSE(decoder.Next());
  decoder.AbandonPaste();
  auto paste = decoder.Next();
  ASSERT_TRUE(paste && paste->pastedText);
  EXPECT_EQ(*paste->pastedText, "abc");
}

}  // namespace
}  // namespace olm::platform
