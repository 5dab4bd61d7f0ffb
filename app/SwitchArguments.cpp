#include "app/SwitchArguments.h"

#include "text/TextUtil.h"

std::wstring SwitchArgument(std::wstring_view commandLine, std::wstring_view switchName) {
    return TextAfter(commandLine, switchName, 0, true, CompareMode::Exact);
}
