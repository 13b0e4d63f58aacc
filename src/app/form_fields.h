#pragma once
// Small helpers over the loaded form for the application's hooks: every
// value they store keeps its field's width.

#include <cstdint>
#include <string>

#include "forms/form_definition.h"

namespace olm {

// `text` left-aligned in `width` characters: blank-padded or cut.
std::string FitText(const std::string& text, size_t width);

// Stores `text` as the field's value, fitted to the width the value has.
void SetFieldValue(int16_t screen, int16_t field, const std::string& text);

inline const std::string& FieldValueOf(int16_t screen, int16_t field) {
  return Form().Field(screen, field).FieldValue;
}

}  // namespace olm
