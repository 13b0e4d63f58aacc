#include "forms/form_file_failure.h"

#include <cstdio>

#include "console/keyboard.h"
#include "console/screen.h"
#include "console/windows.h"
#include "platform/codepage.h"
#include "platform/console_backend.h"
#include "session/program_end.h"
#include "session/session_settings.h"

namespace olm {

std::string FormFileFailureText(const std::string& path, int line) {
  const std::string& language = Session().Language;
  const std::string number = std::to_string(line);
  if (line == 0) {
    if (language == "SPA") return "NO SE PUEDE LEER EL FICHERO " + path;
    if (language == "GLG") return "NOM SE PODE LER O FICHEIRO " + path;
    if (language == "OCI") return "NON SE P\xE3T LEGIR ETH FICH\xD4R " + path;
    return "NO ES POT LLEGIR EL FITXER " + path;
  }
  if (language == "SPA") return "EL FICHERO " + path + " ES INCORRECTO EN LA L\xD6NEA " + number;
  if (language == "GLG") return "O FICHEIRO " + path + " \x90 INCORRECTO NA LI\xA5" "A " + number;
  if (language == "OCI") return "ETH FICH\xD4R " + path + " NON \x90S CORR\xD4" "CTE ENA LINHA " + number;
  return "EL FITXER " + path + " \x90S INCORRECTE A LA L\xD6NIA " + number;
}

void EndWithFormFileFailure(const std::string& path, int line) {
  std::string text = FormFileFailureText(path, line);
  if (!platform::HasConsole()) {
    std::fprintf(stderr, "%s\n", platform::Cp850ToUtf8(text).c_str());
    EndProgram(1);
  }
  ShowMessage(12, text);
  Beep();
  GetKey();
  PopWindow();
  EndProgram(1);
}

}  // namespace olm
