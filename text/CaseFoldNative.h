// The native test build's folding only (text/CaseFold.native.cpp): Turkish rules stand in
// for a Turkish system, where "I" pairs with the dotless "ı" and "İ" with "i".
#pragma once

void UseTurkishCasing(bool on);
