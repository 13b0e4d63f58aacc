#include "forms/forms_state.h"

#include "forms/browse_list.h"
#include "forms/exit_keys.h"
#include "forms/field_editor.h"
#include "forms/form_definition.h"
#include "forms/form_driver.h"

namespace olm {

void ResetFormsState() {
  Form() = FormDefinition{};
  ResetExitKeyState();
  ResetFieldEditorState();
  ResetFormDriverState();
  ResetBrowseListState();
}

}  // namespace olm
