#include "tools/caller_exit_keys.h"

#include <string>

#include "console/key_code.h"

namespace olm {

void CallerExitKeys::Restore() const {
  SetExitKeys("e", "");
  if (saved_.Keys.empty()) return;  // an empty list would add the key 0
  std::string items;
  for (size_t i = 0; i < saved_.Keys.size(); ++i) {
    if (i > 0) items += ",";
    items += KeyCodeText(saved_.Keys[i]) + "=" + KeyCodeText(saved_.Reported[i]);
  }
  SetExitKeys("a", items);
}

}  // namespace olm
