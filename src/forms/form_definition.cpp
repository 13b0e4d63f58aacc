#include "form_definition.h"

#include <cmath>

#include "forms/form_file_failure.h"
#include "platform/file.h"
#include "session/session_settings.h"
#include "session/translation.h"
#include "text/dates.h"
#include "text/number_reading.h"
#include "text/text_reader.h"

namespace olm {
namespace {

// The form is laid out for a console of this size.
constexpr int kScreenRows = 25;
constexpr int kScreenColumns = 80;

// Reads the values of a form file in their order and checks every limit the
// rest of the program relies on, so that a broken file is refused here
// instead of sending the driver outside its tables later. Each Read... call
// answers false when reading must stop: at the end of the text (brokenLine_
// stays 0) or at a value that breaks a limit (brokenLine_ is its line).
class FormParser {
 public:
  FormParser(std::string content, FormDefinition& form) : content_(content), reader_(std::move(content)), form_(form) {}

  // 0 when the text keeps its limits, else the line where it went wrong.
  int Run() {
    ReadHeader() && ReadScreens() && ReadBrowseCount() && ReadBrowses();
    if (brokenLine_ == 0) CheckBrowseNumbers();
    return brokenLine_;
  }

 private:
  bool ReadHeader() {
    SkipComments();
    int16_t screens = 0, maxFields = 0;
    if (!ReadNumber(screens) || !Require(screens >= 0)) return false;
    form_.ScreenCount = screens;
    form_.Screens.resize(size_t(screens));
    if (!ReadNumber(maxFields) || !Require(maxFields >= 0)) return false;
    form_.MaxFields = maxFields;
    return true;
  }

  bool ReadScreens() {
    for (ScreenDefinition& screen : form_.Screens) {
      SkipComments();
      if (!ReadText(screen.ScreenKeys)) return false;
      if (!ReadNumber(screen.FieldCount) || !Require(screen.FieldCount >= 0 && screen.FieldCount <= form_.MaxFields))
        return false;
      screen.Fields.resize(size_t(screen.FieldCount));
      if (!ReadNumber(screen.NextScreen) || !Require(screen.NextScreen >= 0 && screen.NextScreen <= form_.ScreenCount))
        return false;
      auto& window = screen.ScreenWindow;
      for (int16_t& value : window)
        if (!ReadNumber(value)) {
          window = {};
          return false;
        }
      if (!Require(window[0] == 0 || FitsScreen(window[0], window[1], window[2], window[3], 1))) return false;
      for (FieldDefinition& field : screen.Fields)
        if (!ReadField(screen, field)) return false;
    }
    return true;
  }

  // The ten values of one field. Its place is checked with the label as the
  // file writes it; a longer translation is only clipped at the screen edge.
  // A field cut off by the end of the file stays blank, like the fields after
  // it, since its values could not be checked.
  bool ReadField(const ScreenDefinition& screen, FieldDefinition& field) {
    SkipBlankLines();
    const int line = LineAt(reader_.Position());
    if (!ReadNumber(field.FieldRow) || !ReadNumber(field.FieldColumn) || !ReadText(field.FieldLabel) ||
        !ReadNumber(field.FieldWidth) || !ReadNumber(field.FieldLineLength) || !ReadNumber(field.FieldTrailWidth) ||
        !ReadNumber(field.FieldFlags) || !ReadNumber(field.FieldKind) || !ReadNumber(field.FieldBrowse) ||
        !ReadText(field.FieldChoices)) {
      field = FieldDefinition{};  // half a field is never handed to the driver
      return false;
    }
    const bool sizesGood = field.FieldWidth >= 0 && field.FieldLineLength >= 0 && field.FieldTrailWidth >= 0 &&
                           field.FieldBrowse >= 0;
    if (!sizesGood || !FieldFitsScreen(screen, field)) return BreakAt(line);
    fieldBrowses_.push_back({line, field.FieldBrowse});
    field.FieldValue.assign(size_t(field.FieldWidth), ' ');
    field.FieldLabel = TranslateText(field.FieldLabel);
    field.FieldChoices = TranslateText(field.FieldChoices);
    return true;
  }

  bool ReadBrowseCount() {
    SkipComments();
    int16_t count = 0;
    if (!ReadNumber(count) || !Require(count >= 0)) return false;
    form_.BrowseCount = count;
    form_.Browses.resize(size_t(count));
    return true;
  }

  bool ReadBrowses() {
    for (BrowseDefinition& browse : form_.Browses) {
      SkipComments();
      if (!ReadNumber(browse.File) || !ReadNumber(browse.KeyNumber) || !ReadNumber(browse.Top) ||
          !ReadNumber(browse.Left) || !ReadNumber(browse.Bottom) || !ReadNumber(browse.Right))
        return false;
      // A list needs at least one line and one column inside its frame.
      if (!Require(FitsScreen(browse.Top, browse.Left, browse.Bottom, browse.Right, 2))) return false;
      if (!ReadNumber(browse.FilterScreen) ||
          !Require(browse.FilterScreen >= 0 && browse.FilterScreen <= form_.ScreenCount))
        return false;
      if (!ReadText(browse.Title)) return false;
      browse.Title = TranslateText(browse.Title);
      if (!ReadNumber(browse.NestedList) ||
          !Require(browse.NestedList >= 0 && browse.NestedList <= form_.BrowseCount))
        return false;
    }
    return true;
  }

  // Fields name browse lists before the file says how many there are.
  void CheckBrowseNumbers() {
    for (const auto& [line, browse] : fieldBrowses_)
      if (browse > form_.BrowseCount) {
        brokenLine_ = line;
        return;
      }
  }

  // A frame whose lines lie on the screen, opposite lines at least
  // `distance` apart (2 leaves a row and a column inside).
  static bool FitsScreen(int top, int left, int bottom, int right, int distance) {
    return top >= 1 && left >= 1 && bottom <= kScreenRows && right <= kScreenColumns && bottom - top >= distance &&
           right - left >= distance;
  }

  static bool FieldFitsScreen(const ScreenDefinition& screen, const FieldDefinition& field) {
    const int rowOffset = screen.HasWindow() ? screen.ScreenWindow[0] : 0;
    const int columnOffset = screen.HasWindow() ? screen.ScreenWindow[1] : 0;
    const int rows = field.FieldLineLength > 0 ? std::max(1, field.FieldWidth / field.FieldLineLength) : 1;
    const int lineWidth = field.FieldLineLength > 0 ? field.FieldLineLength : field.FieldWidth;
    const int lastRow = rowOffset + field.FieldRow + rows - 1;
    const int lastColumn = columnOffset + field.FieldColumn + int(field.FieldLabel.size()) + lineWidth - 1;
    return field.FieldRow >= 1 && field.FieldColumn >= 1 && lastRow <= kScreenRows && lastColumn <= kScreenColumns;
  }

  // Comment lines (first non-blank an apostrophe) and blank lines, where the
  // file allows comments.
  void SkipComments() {
    while (!reader_.AtEnd()) {
      const size_t start = reader_.Position();
      const std::string line = reader_.ReadLine();
      const size_t first = line.find_first_not_of(" \t");
      if (first != std::string::npos && line[first] != '\'') {
        reader_.Seek(start);
        return;
      }
    }
  }

  // Blank lines standing between values.
  void SkipBlankLines() {
    while (!reader_.AtEnd() && AtLineStart()) {
      const size_t start = reader_.Position();
      const std::string line = reader_.ReadLine();
      if (line.find_first_not_of(" \t") != std::string::npos) {
        reader_.Seek(start);
        return;
      }
    }
  }

  bool AtLineStart() const {
    const size_t position = reader_.Position();
    return position == 0 || content_[position - 1] == '\n' || content_[position - 1] == '\r';
  }

  bool ReadText(std::string& value) {
    SkipBlankLines();
    if (reader_.AtEnd()) return false;
    valueStart_ = reader_.Position();
    value = reader_.ReadField();
    return true;
  }

  // A number rounded to the nearest whole one; outside 16 bits the file is
  // broken rather than read as some other number.
  bool ReadNumber(int16_t& value) {
    std::string text;
    if (!ReadText(text)) return false;
    const double rounded = std::round(olm::ReadNumber(text));
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) return BreakAt(LineAt(valueStart_));
    value = static_cast<int16_t>(rounded);
    return true;
  }

  bool Require(bool condition) { return condition || BreakAt(LineAt(valueStart_)); }

  bool BreakAt(int line) {
    brokenLine_ = line;
    return false;
  }

  // The 1-based line of a position; CR LF, a lone CR and a lone LF each end one.
  int LineAt(size_t position) const {
    int line = 1;
    for (size_t i = 0; i < position && i < content_.size(); ++i) {
      if (content_[i] == '\n') ++line;
      if (content_[i] == '\r' && (i + 1 >= content_.size() || content_[i + 1] != '\n')) ++line;
    }
    return line;
  }

  struct FieldBrowse {
    int line;
    int16_t browse;
  };

  const std::string content_;
  TextReader reader_;
  FormDefinition& form_;
  size_t valueStart_ = 0;
  int brokenLine_ = 0;
  std::vector<FieldBrowse> fieldBrowses_;
};

// The working date in the digits the user edits, as the value of field 1 of
// screen 2, where the program's form keeps its date field.
void PutWorkDate(FormDefinition& form) {
  if (!form.HasField(2, 1)) return;
  FieldDefinition& field = form.Field(2, 1);
  std::string digits = DateDigits(Session().WorkDate);
  digits.resize(size_t(field.FieldWidth), ' ');
  field.FieldValue = digits;
}

}  // namespace

ScreenDefinition& FormDefinition::Screen(int16_t screen) {
  if (HasScreen(screen)) return Screens[size_t(screen - 1)];
  static ScreenDefinition none;
  none = ScreenDefinition{};
  return none;
}

bool FormDefinition::HasField(int16_t screen, int16_t field) const {
  return HasScreen(screen) && field >= 1 && field <= static_cast<int>(Screens[size_t(screen - 1)].Fields.size());
}

FieldDefinition& FormDefinition::Field(int16_t screen, int16_t field) {
  if (HasField(screen, field)) return Screens[size_t(screen - 1)].Fields[size_t(field - 1)];
  static FieldDefinition none;
  none = FieldDefinition{};
  return none;
}

BrowseDefinition& FormDefinition::Browse(int16_t browse) {
  if (HasBrowse(browse)) return Browses[size_t(browse - 1)];
  static BrowseDefinition none;
  none = BrowseDefinition{};
  return none;
}

FormDefinition& Form() {
  static FormDefinition form;
  return form;
}

int ReadFormDefinition(std::string content, FormDefinition& form) {
  form = FormDefinition{};
  const int brokenLine = FormParser(std::move(content), form).Run();
  if (brokenLine != 0) form = FormDefinition{};
  return brokenLine;
}

void LoadForm() {
  const std::string path = Session().RootDir + "FORMS\\" + Session().ProgramName + ".QSC";
  std::string content;
  if (!platform::ReadWholeFile(path, content)) EndWithFormFileFailure(path, 0);
  const int brokenLine = ReadFormDefinition(std::move(content), Form());
  if (brokenLine != 0) EndWithFormFileFailure(path, brokenLine);
  PutWorkDate(Form());
}

}  // namespace olm
