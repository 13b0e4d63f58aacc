#include "session/entry.h"

int main() { return olm::RunProgram(); }
