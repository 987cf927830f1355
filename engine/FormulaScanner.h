// The formula scanner: cuts a formula into item tokens, byte by byte, never failing.
#pragma once

#include "TokenArray.h"

// The first position at or after p that is not whitespace.
char* strSkip(char* p);
const char* strSkip(const char* p);

bool isCalcOperator(char c); // "%" "*" "+" "-" "/" "^"
bool isOperator(char c);     // the above and "!" "&" "<" "=" ">" "|"
bool isVarName(char c);      // letter, digit, "#" "$" "[" "]" "_"

// The content of a string-literal token: the bytes inside its double quotes.
// dst must hold as many bytes as src.
void getStringValue(const char* src, char* dst);

// Why a scan stopped before the end of the formula, or could not take a token whole.
enum class ScanFault {
  None,
  TooManyTokens,  // the formula has more tokens than the array holds
  TokenTooLong,   // a token is longer than 255 bytes; it is not stored
  UnclosedString, // the last token is a string literal without its closing quote
  UnclosedBracket // the last token is a name whose "[" never closes
};

struct ScanResult {
  int count;       // records written
  ScanFault fault; // the scan stops at the first fault
};

// Scans the formula into the records of tokens, from the first on, each made afresh. Never
// writes beyond the array's capacity or beyond a record's 255 bytes; a formula that does
// not fit is reported, not cut quietly.
ScanResult scanFormula(const char* formula, TokenArray& tokens);
