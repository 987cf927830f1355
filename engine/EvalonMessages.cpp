// The library's message table: the message text of every status code
// from 0 to ev::LastStatus, as data beside the status enumeration. On this platform the
// table is reached through the exported EvalonMessage instead of a string resource.
#include "EvalonLibrary.h"

#include "EvalonStatus.h"

#include <iterator>

namespace {

// The texts are UTF-8; this fails if the compiler's execution character set is not.
static_assert(sizeof("０") == 4, "the message texts must be compiled as UTF-8");

struct Message {
  ev::Status code;
  const char* text;
};

constexpr Message messages[] = {
    {ev::Ok, "No Error"},
    {ev::TypeMismatch, "変数の型が違います"},
    {ev::BadName, "変数名が不正です"},
    {ev::NoVariable, "変数が見つかりません"},
    {ev::TextTooLong, "文字列が長すぎます"},
    {ev::OutOfLongRange, "結果が整数の範囲を超えました"},
    {ev::DivisionByZero, "０で割りました"},
    {ev::UndefinedOperator, "未定義の演算子があります"},
    {ev::MissingOperator, "演算子が見つかりません"},
    {ev::MissingOperand, "数値がありません"},
    {ev::EmptyFormula, "式がありません"},
    {ev::IllegalCharacter, "式中に不正な文字があります"},
    {ev::SubscriptRange, "配列のインデックスの値が範囲を超えました"},
    {ev::TooManySubscripts, "配列の次元が制限を越えています"},
    {ev::MissingOpenBracket, "配列のインデックスを示す [ がありません"},
    {ev::MissingCloseBracket, "配列のインデックスを示す ] がありません"},
    {ev::UnclosedString, "文字列が閉じていません"},
    {ev::LiteralTooLong, "文字列の長さが長すぎます"},
    {ev::MissingEquals, "= が見つかりません"},
    {ev::MissingTarget, "結果を代入すべき変数が見つかりません"},
    {ev::DomainError, "関数の値エラー"},
};

static_assert(std::size(messages) == ev::LastStatus + 1,
              "one message for every status code from 0 to ev::LastStatus");

constexpr bool inCodeOrder() {
  for (std::size_t n = 0; n < std::size(messages); ++n)
    if (messages[n].code != static_cast<int>(n)) return false;
  return true;
}
static_assert(inCodeOrder(), "the message of code n is entry n of the table");

} // namespace

const char* EvalonMessage(int code) noexcept {
  if (code < 0 || code > ev::LastStatus) return nullptr;
  return messages[code].text;
}
