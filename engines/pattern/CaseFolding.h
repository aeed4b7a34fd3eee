#pragma once
// Case-insensitive matching of UTF-16 code units, the way ECMAScript regular
// expressions (and so the system's "VBScript.RegExp") define it: two
// characters are equal when their canonical forms (single-character upper
// case, never folding a non-ASCII character onto ASCII) are equal.
#include <cstdint>
#include <span>
#include <vector>

namespace qova::regex {

// The canonical form of c; c itself when it has no case.
char16_t canonicalCase(char16_t c);

// Every code unit whose canonical form is canonicalCase(c), c included;
// just c when it has no case. Valid for the life of the program.
std::span<const char16_t> caseEquivalents(char16_t c);

// Every set of two or more code units that are equal when case is ignored.
const std::vector<std::vector<char16_t>>& caseGroups();

}  // namespace qova::regex
