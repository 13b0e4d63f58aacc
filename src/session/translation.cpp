#include "session/translation.h"

#include "platform/file.h"
#include "session/session_settings.h"
#include "text/text_reader.h"

namespace olm {
namespace {

// Set to the program name at the first translation that reads the file.
std::string& LanguageFileName() {
  static std::string name;
  return name;
}

// The field of a record that holds the language, 0 for none.
int FieldOfLanguage(std::string_view language) {
  if (language == "GLG") return 2;
  if (language == "OCI") return 3;
  if (language == "SPA") return 4;
  return 0;
}

}  // namespace

void ResetTranslationState() { LanguageFileName().clear(); }

std::string TranslateText(std::string_view text) {
  const SessionSettings& session = Session();
  if (session.Language == "CAT") return std::string(text);
  if (LanguageFileName().empty()) LanguageFileName() = session.ProgramName;

  const std::string path = session.RootDir + "LOCALE\\" + LanguageFileName() + ".LNG";
  // Opening with creation guarantees that a missing file exists, empty,
  // once the LOCALE directory does.
  platform::File::Open(path, platform::Access::ReadWrite, platform::Sharing::Shared, platform::Creation::OpenOrCreate);
  std::string content;
  if (!platform::ReadWholeFile(path, content)) return std::string(text);

  const int wanted = FieldOfLanguage(session.Language);
  TextReader reader(std::move(content));
  while (!reader.AtEnd()) {
    std::string key = reader.ReadField();
    if (reader.AtEnd()) break;  // a key alone at the very end is ignored
    std::string fields[4] = {key, reader.ReadField(), reader.ReadField(), reader.ReadField()};
    if (key == text) return wanted == 0 ? std::string(text) : fields[wanted - 1];
  }
  return std::string(text);
}

}  // namespace olm
