#include "viewer/TitleCommand.h"

void TitleCommand(const std::wstring&) {}
