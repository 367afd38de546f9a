#pragma once
// The five case commands of the editors' Advanced menu, as pure functions
// from the selected text to its replacement. Text is UTF-8; case mapping and
// character classes are Unicode's (one code point to one code point, so the
// text keeps its shape). Bytes that are not UTF-8 are kept as they are.

#include <string>
#include <string_view>

namespace orv {

std::string LowercaseText(std::string_view sText);
std::string UppercaseText(std::string_view sText);
// A lower-case letter becomes upper case; everything else is lowercased.
std::string InvertCaseText(std::string_view sText);
// The first letter after white space (or at the start) is capitalised, every
// other letter lowercased; digits and punctuation leave the word start
// pending, so "123abc" gives "123Abc" and "o'neil" gives "O'neil".
std::string CapitalizeText(std::string_view sText);
// The first letter of the text and after each full stop is capitalised,
// every other letter lowercased. A full stop before a digit ("3.14") or at the
// very end starts no sentence; "!" and "?" never do.
std::string SentencizeText(std::string_view sText);

}  // namespace orv
