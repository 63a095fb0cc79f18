#include "host/data/FilterParser.h"

#include <charconv>
#include <cmath>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/data/LikeMatcher.h"

namespace quil {

void RaiseFilterError(std::string_view text, const std::string& detail) {
  RaiseClientError("Ongeldige filter: '" + std::string(text) + "': " + detail);
}

namespace {

enum class TokenKind {
  Identifier,
  Number,
  String,
  Compare,
  LeftParen,
  RightParen,
  Comma,
  Minus,
  End
};

struct Token {
  TokenKind kind = TokenKind::End;
  size_t start = 0;
  size_t length = 0;
  std::string value;  //!< the string without quotes ('' unescaped)
  CompareOp op = CompareOp::Equal;
};

bool IsIdentifierStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string AtPosition(size_t offset) {
  return " op positie " + std::to_string(offset + 1);
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    for (;;) {
      while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
      Token token;
      token.start = pos_;
      if (pos_ >= text_.size()) {
        tokens.push_back(token);
        return tokens;
      }
      Scan(token);
      token.length = pos_ - token.start;
      tokens.push_back(std::move(token));
    }
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  void Scan(Token& token) {
    const char c = text_[pos_];
    if (IsIdentifierStart(c)) {
      token.kind = TokenKind::Identifier;
      while (pos_ < text_.size() && (IsIdentifierStart(text_[pos_]) || IsDigit(text_[pos_]))) {
        ++pos_;
      }
    } else if (IsDigit(c)) {
      token.kind = TokenKind::Number;
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
      if (pos_ + 1 < text_.size() && text_[pos_] == '.' && IsDigit(text_[pos_ + 1])) {
        ++pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
      }
    } else if (c == '\'') {
      token.kind = TokenKind::String;
      ScanString(token);
    } else if (c == '(' || c == ')' || c == ',' || c == '-') {
      token.kind = c == '('   ? TokenKind::LeftParen
                   : c == ')' ? TokenKind::RightParen
                   : c == ',' ? TokenKind::Comma
                              : TokenKind::Minus;
      ++pos_;
    } else if (c == '=' || c == '<' || c == '>' || c == '!') {
      ScanCompare(token);
    } else {
      RaiseFilterError(text_, "ongeldig teken '" +
                                  std::string(text_.substr(pos_, Utf8CharLength(text_, pos_))) +
                                  "'" + AtPosition(pos_));
    }
  }

  void ScanString(Token& token) {
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) {
        RaiseFilterError(text_, "tekst niet afgesloten" + AtPosition(token.start));
      }
      if (text_[pos_] == '\'') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
          token.value.push_back('\'');
          pos_ += 2;
          continue;
        }
        ++pos_;
        return;
      }
      token.value.push_back(text_[pos_++]);
    }
  }

  void ScanCompare(Token& token) {
    token.kind = TokenKind::Compare;
    const std::string_view rest = text_.substr(pos_);
    const auto startsWith = [&](std::string_view s) { return rest.substr(0, s.size()) == s; };
    if (startsWith("<>") || startsWith("!=")) {
      token.op = CompareOp::NotEqual;
      pos_ += 2;
    } else if (startsWith("<=")) {
      token.op = CompareOp::LessEqual;
      pos_ += 2;
    } else if (startsWith(">=")) {
      token.op = CompareOp::GreaterEqual;
      pos_ += 2;
    } else if (rest[0] == '<') {
      token.op = CompareOp::Less;
      ++pos_;
    } else if (rest[0] == '>') {
      token.op = CompareOp::Greater;
      ++pos_;
    } else if (rest[0] == '=') {
      token.op = CompareOp::Equal;
      ++pos_;
    } else {
      RaiseFilterError(text_, "ongeldig teken '!'" + AtPosition(pos_));
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text), tokens_(Lexer(text).Run()) {}

  std::unique_ptr<FilterNode> Run() {
    auto root = ParseOr(0);
    if (Peek().kind != TokenKind::End) Unexpected();
    return root;
  }

 private:
  const Token& Peek() const { return tokens_[next_]; }
  const Token& Take() {
    const Token& token = tokens_[next_];
    if (token.kind != TokenKind::End) ++next_;
    return token;
  }
  bool PeekKeyword(std::string_view word, size_t ahead = 0) const {
    const size_t at = std::min(next_ + ahead, tokens_.size() - 1);
    const Token& token = tokens_[at];
    return token.kind == TokenKind::Identifier &&
           SameText(text_.substr(token.start, token.length), word);
  }
  bool TakeKeyword(std::string_view word) {
    if (!PeekKeyword(word)) return false;
    ++next_;
    return true;
  }

  [[noreturn]] void Fail(const std::string& what) { RaiseFilterError(text_, what); }
  [[noreturn]] void Unexpected() {
    const Token& token = Peek();
    if (token.kind == TokenKind::End) Fail("onverwacht einde" + AtPosition(token.start));
    Fail("onverwacht '" + std::string(text_.substr(token.start, token.length)) + "'" +
         AtPosition(token.start));
  }
  void Expect(TokenKind kind, const char* shown) {
    if (Peek().kind != kind) Fail(std::string("verwacht ") + shown + AtPosition(Peek().start));
    Take();
  }
  void CheckDepth(int depth) {
    if (depth > kMaxFilterDepth) Fail("te diep genest" + AtPosition(Peek().start));
  }

  static std::unique_ptr<FilterNode> MakeNode(FilterNodeKind kind, size_t start) {
    auto node = std::make_unique<FilterNode>();
    node->kind = kind;
    node->position = static_cast<int>(start) + 1;
    return node;
  }

  // OR and AND chains are collected into one node with all operands as children.
  std::unique_ptr<FilterNode> ParseOr(int depth) {
    auto first = ParseAnd(depth);
    if (!PeekKeyword("OR")) return first;
    auto node = MakeNode(FilterNodeKind::Or, first->position - 1);
    node->children.push_back(std::move(first));
    while (TakeKeyword("OR")) node->children.push_back(ParseAnd(depth));
    return node;
  }

  std::unique_ptr<FilterNode> ParseAnd(int depth) {
    auto first = ParseNot(depth);
    if (!PeekKeyword("AND")) return first;
    auto node = MakeNode(FilterNodeKind::And, first->position - 1);
    node->children.push_back(std::move(first));
    while (TakeKeyword("AND")) node->children.push_back(ParseNot(depth));
    return node;
  }

  std::unique_ptr<FilterNode> ParseNot(int depth) {
    CheckDepth(depth);
    if (!PeekKeyword("NOT")) return ParsePredicate(depth);
    auto node = MakeNode(FilterNodeKind::Not, Take().start);
    node->children.push_back(ParseNot(depth + 1));
    return node;
  }

  std::unique_ptr<FilterNode> ParsePredicate(int depth) {
    auto left = ParseOperand(depth);
    const Token& token = Peek();
    if (token.kind == TokenKind::Compare) {
      auto node = MakeNode(FilterNodeKind::Compare, left->position - 1);
      node->op = Take().op;
      node->children.push_back(std::move(left));
      node->children.push_back(ParseOperand(depth));
      return node;
    }
    bool negated = false;
    if (PeekKeyword("NOT")) {
      if (!PeekKeyword("LIKE", 1) && !PeekKeyword("IN", 1)) {
        Take();
        Fail("verwacht LIKE of IN" + AtPosition(Peek().start));
      }
      Take();
      negated = true;
    }
    if (PeekKeyword("LIKE")) {
      Take();
      auto node = MakeNode(FilterNodeKind::Like, left->position - 1);
      node->negated = negated;
      node->children.push_back(std::move(left));
      node->children.push_back(ParseOperand(depth));
      return node;
    }
    if (PeekKeyword("IN")) {
      Take();
      auto node = MakeNode(FilterNodeKind::In, left->position - 1);
      node->negated = negated;
      node->children.push_back(std::move(left));
      Expect(TokenKind::LeftParen, "'('");
      node->children.push_back(ParseOperand(depth));
      while (Peek().kind == TokenKind::Comma) {
        Take();
        node->children.push_back(ParseOperand(depth));
      }
      Expect(TokenKind::RightParen, "')'");
      return node;
    }
    if (PeekKeyword("IS")) {
      Take();
      auto node = MakeNode(FilterNodeKind::IsNull, left->position - 1);
      node->negated = TakeKeyword("NOT");
      if (!TakeKeyword("NULL")) Fail("verwacht NULL" + AtPosition(Peek().start));
      node->children.push_back(std::move(left));
      return node;
    }
    return left;
  }

  std::unique_ptr<FilterNode> ParseOperand(int depth) {
    CheckDepth(depth);
    const Token& token = Peek();
    switch (token.kind) {
      case TokenKind::LeftParen: {
        Take();
        auto inner = ParseOr(depth + 1);
        Expect(TokenKind::RightParen, "')'");
        return inner;
      }
      case TokenKind::Number:
        return ParseNumber(false, token.start);
      case TokenKind::Minus: {
        const size_t start = Take().start;
        if (Peek().kind != TokenKind::Number) Unexpected();
        return ParseNumber(true, start);
      }
      case TokenKind::String: {
        auto node = MakeNode(FilterNodeKind::String, token.start);
        node->text = Take().value;
        return node;
      }
      case TokenKind::Identifier:
        return ParseWord(depth);
      default:
        Unexpected();
    }
  }

  std::unique_ptr<FilterNode> ParseNumber(bool negative, size_t start) {
    const Token& token = Take();
    const std::string_view digits = text_.substr(token.start, token.length);
    auto node = MakeNode(FilterNodeKind::Number, start);
    node->text = (negative ? "-" : "") + std::string(digits);
    const char* end = digits.data() + digits.size();
    if (std::from_chars(digits.data(), end, node->number).ec != std::errc()) {
      Fail("ongeldig getal '" + node->text + "'" + AtPosition(start));
    }
    int64_t whole = 0;
    const auto parsed = std::from_chars(digits.data(), end, whole);
    if (parsed.ec == std::errc() && parsed.ptr == end) {
      node->hasInteger = true;
      node->integer = whole;
    } else if (std::floor(node->number) == node->number && node->number < 9.2e18) {
      node->hasInteger = true;
      node->integer = static_cast<int64_t>(node->number);
    }
    if (negative) {
      node->number = -node->number;
      node->integer = -node->integer;
    }
    return node;
  }

  std::unique_ptr<FilterNode> ParseWord(int depth) {
    const Token& token = Peek();
    for (const char* reserved : {"AND", "OR", "NOT", "LIKE", "IN", "IS"}) {
      if (PeekKeyword(reserved)) Unexpected();
    }
    if (PeekKeyword("TRUE") || PeekKeyword("FALSE")) {
      auto node = MakeNode(FilterNodeKind::Boolean, token.start);
      node->boolean = PeekKeyword("TRUE");
      Take();
      return node;
    }
    if (PeekKeyword("NULL")) return MakeNode(FilterNodeKind::Null, Take().start);
    const bool call = tokens_[next_ + 1].kind == TokenKind::LeftParen;
    if (call && (PeekKeyword("UPPER") || PeekKeyword("LOWER"))) {
      auto node = MakeNode(PeekKeyword("UPPER") ? FilterNodeKind::Upper : FilterNodeKind::Lower,
                           token.start);
      Take();
      Take();
      node->children.push_back(ParseOr(depth + 1));
      Expect(TokenKind::RightParen, "')'");
      return node;
    }
    if (call) Fail("onbekende functie '" + TokenText(token) + "'" + AtPosition(token.start));
    auto node = MakeNode(FilterNodeKind::Field, token.start);
    node->text = TokenText(Take());
    return node;
  }

  std::string TokenText(const Token& token) const {
    return std::string(text_.substr(token.start, token.length));
  }

  std::string_view text_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
};

}  // namespace

std::unique_ptr<FilterNode> ParseFilter(std::string_view text) {
  return Parser(text).Run();
}

}  // namespace quil
