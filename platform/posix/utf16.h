// UTF-16 text of PE resource names, as the stand-in's 8-bit text (UTF-8) and back. Lone
// surrogates, which UTF-16 names may hold, travel as their 3-byte forms (WTF-8), so that every
// name converts back to exactly the units it came from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::string Utf16ToUtf8(const uint16_t* units, size_t count);
// False for text that is no (WTF-)8 encoding of UTF-16 units.
bool Utf8ToUtf16(const char* text, std::vector<uint16_t>* units);
// The upper-case form of a unit, for names compared without regard to case: ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic letters; every other unit is its own upper case.
uint16_t UpcaseUtf16(uint16_t unit);
