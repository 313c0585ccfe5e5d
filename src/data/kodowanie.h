// Windows-1250 bytes of the data files, their Unicode form, the ASCII-only lower-casing for names and the folding
// of typed answers.
#pragma once

#include <string>

namespace vokara {

// The character a Windows-1250 byte stands for; bytes the code page leaves undefined read as U+FFFD.
char32_t ZnakCp1250(unsigned char bajt);

// The Windows-1250 byte of a character, or -1 when the code page has none for it.
int BajtCp1250(char32_t znak);

// Data bytes as UTF-8, for file names on disk and for the Qt edge.
std::string Cp1250NaUtf8(const std::string& bajty);

// UTF-8 text as Windows-1250 bytes. False (and `wynik` unspecified) when the text is not valid UTF-8 or holds a
// character with no Windows-1250 byte: such text can never equal anything read from a data file.
bool Utf8NaCp1250(const std::string& utf8, std::string& wynik);

// The program's only lower-casing: bytes 'A'..'Z' become 'a'..'z', every other byte (Polish capitals included)
// stays as it is.
std::string MaleLitery(std::string tekst);

// For comparing a typed answer without regard to case: 'A'..'Z' and the Polish capitals (Ą Ć Ę Ł Ń Ó Ś Ź Ż) become
// their small letters. Names never go through it, so cache files keep the spelling MaleLitery gives them.
std::string MaleLiteryPolskie(std::string tekst);

} // namespace vokara
