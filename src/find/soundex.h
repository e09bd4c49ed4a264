#pragma once

// Codes for how a surname sounds, so that spellings a clerk might have
// written for one name meet: American Soundex (a letter and three digits) and
// Daitch-Mokotoff Soundex (six digits, tuned for Central and Eastern European
// names, with one code for each way an ambiguous letter may be read). Letters
// with accents count as their base letters; anything but letters is ignored.

#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

// "R163" for Robert; empty for a name without a letter.
std::string AmericanSoundex(std::string_view name);

// Every code the name can have, sorted, without repeats; empty for a name
// without a letter.
std::vector<std::string> DaitchMokotoffSoundex(std::string_view name);

// The name in capital ASCII letters: accents dropped, ligatures and letters
// such as ß written out, everything but letters left out.
std::string SoundexLetters(std::string_view name);

} // namespace stirpex
