#include "console/help.h"

#include <string>
#include <vector>

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"
#include "platform/environment.h"
#include "platform/file.h"
#include "platform/process.h"
#include "session/session_settings.h"

namespace olm {
namespace {

constexpr char kGeneralTopic[] = "KAPRISOL";
constexpr size_t kShownCharacters = 76;
constexpr char kEmphasis = 30;
constexpr char kUnderline = 31;
constexpr char kReverse = 16;

constexpr int16_t kF1 = 0x3b00;
constexpr int16_t kUp = 0x4800;
constexpr int16_t kDown = 0x5000;
constexpr int16_t kPageUp = 0x4900;
constexpr int16_t kPageDown = 0x5100;
constexpr int16_t kHome = 0x4700;
constexpr int16_t kEnd = 0x4f00;
constexpr int16_t kEsc = 27;

// Opens the topic's HTML document through the command interpreter named by
// COMSPEC and waits for it. The path goes over as one argument of its own,
// so no character of the topic is ever read by a shell.
void OpenHelpDocument(std::string_view topic) {
  const std::string interpreter = platform::GetEnvironment("COMSPEC");
  if (interpreter.empty()) return;
  platform::Console().LendToChildProgram();
  platform::RunProgramAndWait(interpreter, {"/C", "ROVLIN", "AJUDA\\" + std::string(topic) + ".HTM"});
  platform::Console().TakeBackFromChildProgram();
}

// The text viewer over one help file. Lines are numbered from 1; `next_` is
// the number of the line after the last one shown, so the page shows lines
// next_ - page_ .. next_ - 1.
class HelpViewer {
 public:
  explicit HelpViewer(std::string_view topic)
      : topic_(topic),
        file_(platform::File::Open("AJUDA\\" + topic_ + ".HLP", platform::Access::Read, platform::Sharing::Shared,
                                   platform::Creation::MustExist)),
        width_(ScreenWidth()),
        page_(static_cast<int16_t>(ScreenHeight() - 8)) {
    const int64_t size = file_.IsOpen() ? file_.Size() : 0;
    lines_ = width_ > 0 ? static_cast<int>((size + width_ / 2) / width_) : 0;
  }

  void Run() {
    SetColour("+h");
    PushWindow(4, 1, static_cast<int16_t>(ScreenHeight() - 3), ScreenWidth());
    DrawWindowFrame(2);
    SetColour("n");
    ShowLines(1, 1, page_);
    next_ = page_ + 1;
    for (int16_t key = ReadPlainKey(); key != kEsc; key = ReadPlainKey()) HandleKey(key);
    file_.Close();
    PopWindow();
    SetColour("-");
  }

 private:
  void HandleKey(int16_t key) {
    const bool belowShown = next_ <= lines_;
    const bool aboveShown = next_ - page_ > 1;
    switch (key) {
      case kF1:
        if (topic_ != kGeneralTopic) ShowHelp(kGeneralTopic);
        break;
      case kDown:
        if (!belowShown) break;
        Scroll(1);
        ShowLine(next_, page_);
        ++next_;
        break;
      case kUp:
        if (!aboveShown) break;
        --next_;
        Scroll(-1);
        ShowLine(next_ - page_, 1);
        break;
      case kPageDown:
        if (!belowShown) break;
        Scroll(page_);
        if (next_ + page_ - 1 > lines_) next_ = lines_ - page_ + 1;
        ShowLines(next_, 1, page_);
        next_ += page_;
        break;
      case kPageUp:
        // Goes up by one line less than a page, keeping one line in view.
        if (!aboveShown) break;
        Scroll(static_cast<int16_t>(-page_));
        if (next_ - 2 * page_ < 1) next_ = 2 * page_;
        ShowLines(next_ - 2 * page_ + 1, 1, page_);
        next_ = next_ - page_ + 1;
        break;
      case kHome:
        if (!aboveShown) break;
        Scroll(static_cast<int16_t>(-page_));
        ShowLines(1, 1, page_);
        next_ = page_ + 1;
        break;
      case kEnd:
        if (!belowShown) break;
        Scroll(page_);
        ShowLines(lines_ - page_ + 1, 1, page_);
        next_ = lines_ + 1;
        break;
      default:
        break;
    }
  }

  void Scroll(int16_t count) {
    ScrollRegion(4, 1, static_cast<int16_t>(ScreenHeight() - 5), static_cast<int16_t>(ScreenWidth() - 2), count);
  }

  void ShowLines(int first, int16_t row, int16_t count) {
    for (int16_t i = 0; i < count; ++i) ShowLine(first + i, static_cast<int16_t>(row + i));
  }

  // Line k on window row r. Lines that do not exist leave the row blank.
  void ShowLine(int k, int16_t row) {
    SetColour("n");
    LocateInWindow(row, 2);
    if (k < 1 || k > lines_) return;
    std::string line(static_cast<size_t>(width_), ' ');
    file_.ReadAt(static_cast<uint64_t>(k - 1) * static_cast<uint64_t>(width_), line.data(), line.size());
    if (line.find_first_of(std::string{kEmphasis, kUnderline, kReverse}) == std::string::npos) {
      WriteText(std::string_view(line).substr(0, kShownCharacters));
      return;
    }
    WriteStyled(line);
  }

  // Writes a line byte by byte, switching the colour role at its style bytes.
  static void WriteStyled(const std::string& line) {
    bool emphasis = false;
    bool underline = false;
    bool reverse = false;
    size_t written = 0;
    for (char c : line) {
      if (c == kEmphasis) {
        emphasis = !emphasis;
        if (!underline) SetColour(emphasis ? "h" : "n");
      } else if (c == kUnderline) {
        underline = !underline;
        SetColour(underline ? "u" : "n");
      } else if (c == kReverse) {
        reverse = !reverse;
        SetColour(reverse ? "r" : "n");
      } else if (written < kShownCharacters) {
        WriteText(std::string_view(&c, 1));
        ++written;
      }
    }
  }

  std::string topic_;
  platform::File file_;
  int16_t width_;
  int16_t page_;
  int lines_ = 0;
  int next_ = 0;
};

}  // namespace

void ShowHelp(std::string_view topic) {
  if (Session().RunMode == "WIN") {
    OpenHelpDocument(topic);
    return;
  }
  HelpViewer(topic).Run();
}

void ScrollRegion(int16_t top, int16_t left, int16_t bottom, int16_t right, int16_t count) {
  ScrollRectangle(static_cast<int16_t>(top + 1), static_cast<int16_t>(left + 1), static_cast<int16_t>(bottom + 1),
                  static_cast<int16_t>(right + 1), count);
}

}  // namespace olm
