#include "host/data/LikeMatcher.h"

#include <algorithm>

namespace quil {

std::string FoldText(std::string_view s, CaseFold fold) {
  std::string out(s);
  for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<char>(FoldedByteAt(s, i, fold));
  return out;
}

int CompareFolded(std::string_view subject, CaseFold fold, std::string_view folded) {
  const size_t common = std::min(subject.size(), folded.size());
  for (size_t i = 0; i < common; ++i) {
    const unsigned char a = FoldedByteAt(subject, i, fold);
    const auto b = static_cast<unsigned char>(folded[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (subject.size() == folded.size()) return 0;
  return subject.size() < folded.size() ? -1 : 1;
}

size_t Utf8CharLength(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  size_t length = 1;
  if (lead >= 0xF0 && lead <= 0xF7) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = lead <= 0xEF ? 3 : 1;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  for (size_t k = 1; k < length; ++k) {
    if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

LikeMatcher::LikeMatcher(std::string_view pattern) {
  for (char c : pattern) {
    if (c == '%' && !pattern_.empty() && pattern_.back() == '%') continue;
    pattern_.push_back(c);
  }
  if (pattern_.find('_') != std::string::npos) return;  // General
  const size_t percents = std::count(pattern_.begin(), pattern_.end(), '%');
  const bool leading = !pattern_.empty() && pattern_.front() == '%';
  const bool trailing = !pattern_.empty() && pattern_.back() == '%';
  if (percents == 0) {
    shape_ = Shape::Exact;
    literal_ = pattern_;
  } else if (pattern_ == "%") {
    shape_ = Shape::Any;
  } else if (percents == 1 && trailing) {
    shape_ = Shape::Prefix;
    literal_ = pattern_.substr(0, pattern_.size() - 1);
  } else if (percents == 1 && leading) {
    shape_ = Shape::Suffix;
    literal_ = pattern_.substr(1);
  } else if (percents == 2 && leading && trailing) {
    shape_ = Shape::Contains;
    literal_ = pattern_.substr(1, pattern_.size() - 2);
  }
}

bool LikeMatcher::MatchAt(std::string_view subject, size_t at, CaseFold fold) const {
  for (size_t k = 0; k < literal_.size(); ++k) {
    if (FoldedByteAt(subject, at + k, fold) != static_cast<unsigned char>(literal_[k])) {
      return false;
    }
  }
  return true;
}

bool LikeMatcher::Match(std::string_view subject, CaseFold fold) const {
  const size_t n = subject.size();
  const size_t m = literal_.size();
  switch (shape_) {
    case Shape::Any:
      return true;
    case Shape::Exact:
      return n == m && MatchAt(subject, 0, fold);
    case Shape::Prefix:
      return n >= m && MatchAt(subject, 0, fold);
    case Shape::Suffix:
      return n >= m && MatchAt(subject, n - m, fold);
    case Shape::Contains: {
      if (fold == CaseFold::None) return subject.find(literal_) != std::string_view::npos;
      if (m > n) return false;
      const auto first = static_cast<unsigned char>(literal_[0]);
      for (size_t at = 0; at + m <= n; ++at) {
        if (FoldedByteAt(subject, at, fold) == first && MatchAt(subject, at, fold)) return true;
      }
      return false;
    }
    case Shape::General:
      return MatchGeneral(subject, fold);
  }
  return false;
}

// Greedy matching that remembers only the last '%': on a mismatch the text after that '%' is
// tried one character further on. Earlier '%'s never need revisiting, so this is O(n*m) at worst.
bool LikeMatcher::MatchGeneral(std::string_view subject, CaseFold fold) const {
  const size_t n = subject.size();
  const size_t m = pattern_.size();
  size_t s = 0;
  size_t p = 0;
  size_t starP = std::string::npos;
  size_t starS = 0;
  while (s < n) {
    if (p < m && pattern_[p] == '%') {
      starP = ++p;
      starS = s;
    } else if (p < m && pattern_[p] == '_') {
      s += Utf8CharLength(subject, s);
      ++p;
    } else if (p < m && FoldedByteAt(subject, s, fold) == static_cast<unsigned char>(pattern_[p])) {
      ++s;
      ++p;
    } else if (starP != std::string::npos) {
      starS += Utf8CharLength(subject, starS);
      s = starS;
      p = starP;
    } else {
      return false;
    }
  }
  while (p < m && pattern_[p] == '%') ++p;
  return p == m;
}

}  // namespace quil
