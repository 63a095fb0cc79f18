// Case folding of UTF-8 text and the LIKE matcher of the filter language.
//
// Folding covers ASCII and the Latin-1 letters (é/É, ë/Ë, ç/Ç ...). Every folded letter keeps its
// byte length, so a folded byte depends only on the byte itself and the one before it: text is
// compared folded on the fly, without building a folded copy per record. Bytes that are not valid
// UTF-8 are left as they are and never read out of bounds.
//
// A LikeMatcher is built once per filter from a pattern (% = any run of characters, _ = one
// character) that is already folded the way subjects will be; the common shapes 'x', 'x%', '%x'
// and '%x%' are matched without the general matcher, which backtracks iteratively (no recursion).
// Matchers are immutable after construction and may be shared between threads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quil {

enum class CaseFold : unsigned char { None, Upper, Lower };

//! Byte `i` of `s` as it reads after folding.
inline unsigned char FoldedByteAt(std::string_view s, size_t i, CaseFold fold) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (fold == CaseFold::None) return b;
  if (b < 0x80) {
    if (fold == CaseFold::Upper) return (b >= 'a' && b <= 'z') ? b - 32 : b;
    return (b >= 'A' && b <= 'Z') ? b + 32 : b;
  }
  // Latin-1 letters are U+00C0..U+00FE: 0xC3 followed by 0x80..0xBE; × and ÷ have no case.
  if (i == 0 || static_cast<unsigned char>(s[i - 1]) != 0xC3) return b;
  if (fold == CaseFold::Upper) return (b >= 0xA0 && b <= 0xBE && b != 0xB7) ? b - 0x20 : b;
  return (b >= 0x80 && b <= 0x9E && b != 0x97) ? b + 0x20 : b;
}

std::string FoldText(std::string_view s, CaseFold fold);

//! Three-way comparison of `subject` (folded on the fly) with `folded`, bytewise.
int CompareFolded(std::string_view subject, CaseFold fold, std::string_view folded);

//! Length in bytes of the character starting at `i`; 1 for a byte that starts no valid sequence.
size_t Utf8CharLength(std::string_view s, size_t i);

class LikeMatcher {
 public:
  //! `pattern` is folded already: subjects are folded with the fold passed to Match.
  explicit LikeMatcher(std::string_view pattern);

  bool Match(std::string_view subject, CaseFold fold) const;

 private:
  enum class Shape { Exact, Prefix, Suffix, Contains, Any, General };

  bool MatchAt(std::string_view subject, size_t at, CaseFold fold) const;
  bool MatchGeneral(std::string_view subject, CaseFold fold) const;

  Shape shape_ = Shape::General;
  std::string pattern_;  //!< runs of '%' collapsed to one
  std::string literal_;  //!< the fixed text of the specialised shapes
};

}  // namespace quil
