// /keyb and /keyh: switch the input language of the viewer or an HTML Application window.
#pragma once
#include <cstdint>

void KeyboardCommand(std::int32_t language);
void HtaKeyboardCommand(std::int32_t language);
