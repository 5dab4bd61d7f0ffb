// The product's registry key, where the per-help-file values live.
#pragma once
#include <string>

// "SOFTWARE\<CompanyName>\<ProductName>" from the program's version resource.
std::wstring ProductKey();
// The key of one help file's values under it.
std::wstring HelpFileKey(const std::wstring& name);
