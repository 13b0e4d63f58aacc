#include "app/form_fields.h"

namespace olm {

std::string FitText(const std::string& text, size_t width) {
  std::string fitted = text.substr(0, width);
  fitted.resize(width, ' ');
  return fitted;
}

void SetFieldValue(int16_t screen, int16_t field, const std::string& text) {
  std::string& value = Form().Field(screen, field).FieldValue;
  value = FitText(text, value.size());
}

}  // namespace olm
