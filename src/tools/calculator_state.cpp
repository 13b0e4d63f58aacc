#include "tools/calculator_state.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "platform/file.h"
#include "session/session_settings.h"
#include "text/text_reader.h"

namespace olm {
namespace {

// Our own file never comes near this size (25 short lines); anything larger
// is not a state file and is not read.
constexpr size_t kLargestStateFile = 64 * 1024;
constexpr int16_t kMostDecimals = 15;
constexpr int kHeaderLines = 3;

// A real as the shortest fixed-point decimal text that reads back to the same
// value ("0.1", "-2.5", "220").
std::string NumberField(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

std::string FlagField(bool flag) { return flag ? "-1" : "0"; }
std::string QuotedField(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The comma-separated fields of one line, quotes removed.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  TextReader reader(line);
  while (!reader.AtEnd()) fields.push_back(reader.ReadField());
  return fields;
}

// The whole field as a finite real, or nullopt.
std::optional<double> ReadReal(const std::string& field) {
  double value = 0;
  const char* end = field.data() + field.size();
  const auto result = std::from_chars(field.data(), end, value, std::chars_format::fixed);
  if (field.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

// The whole field as a whole number within [low, high], or nullopt.
std::optional<int16_t> ReadWhole(const std::string& field, int low, int high) {
  int value = 0;
  const char* end = field.data() + field.size();
  const auto result = std::from_chars(field.data(), end, value);
  if (field.empty() || result.ec != std::errc() || result.ptr != end || value < low || value > high) return std::nullopt;
  return static_cast<int16_t>(value);
}

std::optional<bool> ReadFlag(const std::string& field) {
  if (field == "-1") return true;
  if (field == "0") return false;
  return std::nullopt;
}

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> allowed) {
  for (std::string_view a : allowed) {
    if (text == a) return true;
  }
  return false;
}

bool ReadHeader(const std::vector<std::string>& line1, const std::vector<std::string>& line2,
                const std::vector<std::string>& line3, CalculatorState& s) {
  if (line1.size() != 4 || line2.size() != 4 || line3.size() != 2) return false;
  const auto box = ReadWhole(line1[0], 1, kLastBoxColumn);
  const auto first = ReadWhole(line1[1], 2, kNoTapeShown);
  const auto entry = ReadReal(line1[2]);
  const auto total = ReadReal(line1[3]);
  const auto armed = ReadFlag(line2[0]);
  const auto typing = ReadFlag(line2[1]);
  const auto point = ReadFlag(line2[2]);
  const auto decimals = ReadWhole(line2[3], 0, kMostDecimals);
  if (!box || !first || !entry || !total || !armed || !typing || !point || !decimals) return false;
  if (!IsOneOf(line3[0], {"", "+", "-", "*", "/", "%", "R", "C", "="})) return false;
  if (!IsOneOf(line3[1], {"", "+", "-", "*", "/"})) return false;
  s.boxColumn = *box;
  s.firstShownLine = *first;
  s.entry = *entry;
  s.total = *total;
  s.clearArmed = *armed;
  s.typing = *typing;
  s.point = *point;
  s.decimals = *decimals;
  s.lastKey = line3[0];
  s.pendingOperator = line3[1];
  return true;
}

bool ReadTapeLine(const std::vector<std::string>& fields, TapeLine& line) {
  if (fields.size() != 4) return false;
  const auto value = ReadReal(fields[0]);
  const auto point = ReadFlag(fields[1]);
  const auto decimals = ReadWhole(fields[2], 0, kMostDecimals);
  if (!value || !point || !decimals || fields[3].size() != 1) return false;
  if (std::string_view(" +-*/%R=").find(fields[3][0]) == std::string_view::npos) return false;
  line = {*value, *point, *decimals, fields[3][0]};
  return true;
}

}  // namespace

std::string CalculatorStateText(const CalculatorState& s) {
  const std::string end = "\r\n";
  std::string text;
  text += std::to_string(s.boxColumn) + "," + std::to_string(s.firstShownLine) + "," + NumberField(s.entry) + "," +
          NumberField(s.total) + end;
  text += FlagField(s.clearArmed) + "," + FlagField(s.typing) + "," + FlagField(s.point) + "," +
          std::to_string(s.decimals) + end;
  text += QuotedField(s.lastKey) + "," + QuotedField(s.pendingOperator) + end;
  for (const TapeLine& line : s.tape) {
    text += NumberField(line.value) + "," + FlagField(line.point) + "," + std::to_string(line.decimals) + "," +
            QuotedField(std::string(1, line.op)) + end;
  }
  return text;
}

// Reads the three state lines and then as many tape lines as there are, up to
// the 22 the tape holds; lines after those are not read. Blank lines at the
// end (an editor's final line break) are allowed. The state is taken only
// when every line reads, so that a total never comes back with a tape that
// does not belong to it.
std::optional<CalculatorState> ReadCalculatorStateText(std::string_view content) {
  if (content.size() > kLargestStateFile) return std::nullopt;
  std::vector<std::vector<std::string>> lines;
  TextReader reader{std::string(content)};
  while (!reader.AtEnd() && lines.size() < kHeaderLines + kTapeLines) lines.push_back(SplitFields(reader.ReadLine()));
  while (!lines.empty() && lines.back().empty()) lines.pop_back();

  CalculatorState state;
  if (lines.empty()) return state;
  if (lines.size() < kHeaderLines || !ReadHeader(lines[0], lines[1], lines[2], state)) return std::nullopt;
  for (size_t i = kHeaderLines; i < lines.size(); ++i) {
    if (!ReadTapeLine(lines[i], state.tape[i - kHeaderLines])) return std::nullopt;
  }
  return state;
}

std::string CalculatorStatePath() { return Session().TerminalDir + "OLMCALC.TMP"; }

CalculatorState LoadCalculatorState() {
  using namespace platform;
  File file = File::Open(CalculatorStatePath(), Access::Read, Sharing::Shared, Creation::MustExist);
  if (!file.IsOpen()) {
    File::Open(CalculatorStatePath(), Access::ReadWrite, Sharing::Shared, Creation::OpenOrCreate);
    return CalculatorState{};
  }
  if (file.Size() > static_cast<int64_t>(kLargestStateFile)) return CalculatorState{};
  return ReadCalculatorStateText(file.ReadAll()).value_or(CalculatorState{});
}

bool SaveCalculatorState(const CalculatorState& state) {
  using namespace platform;
  File file = File::Open(CalculatorStatePath(), Access::ReadWrite, Sharing::Exclusive, Creation::Truncate);
  const std::string text = CalculatorStateText(state);
  return file.IsOpen() && file.WriteAt(0, text.data(), text.size());
}

}  // namespace olm
