#include "viewer/KeyboardCommands.h"

void KeyboardCommand(std::int32_t) {}
void HtaKeyboardCommand(std::int32_t) {}
