#include "library/mask_list.h"

#include <QHash>
#include <memory>
#include <vector>

#include "text/blanks.h"

namespace {

char16_t Fold(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  return QChar::toCaseFolded(c);
}

struct CharRange {
  char16_t low;
  char16_t high;
};

struct Token {
  enum Kind { Literal, AnyOne, AnyRun, Set } kind;
  char16_t c = 0;  // Literal: the folded character
  int set = -1;    // Set: index into CompiledMask::sets
};

struct CharSet {
  std::vector<CharRange> ranges;  // folded bounds
  bool negated = false;
};

class CompiledMask {
 public:
  explicit CompiledMask(const QString& mask) {
    const qsizetype n = mask.size();
    for (qsizetype i = 0; i < n; ++i) {
      const char16_t c = mask.at(i).unicode();
      if (c == u'*') {
        // Runs of "*" mean the same as one and would only slow the backtracking.
        if (tokens_.empty() || tokens_.back().kind != Token::AnyRun)
          tokens_.push_back({Token::AnyRun});
      } else if (c == u'?') {
        tokens_.push_back({Token::AnyOne});
      } else if (c == u'[' && ParseSet(mask, i)) {
        // ParseSet advanced i to the closing "]".
      } else {
        tokens_.push_back({Token::Literal, Fold(c)});
      }
    }
    empty_ = n == 0;
  }

  bool Matches(const QString& name) const {
    if (empty_) return false;
    const char16_t* s = reinterpret_cast<const char16_t*>(name.utf16());
    const std::size_t len = static_cast<std::size_t>(name.size());
    const std::size_t count = tokens_.size();
    std::size_t t = 0, n = 0;
    std::size_t starToken = count, starName = 0;  // the last "*" seen, for backtracking
    while (n < len) {
      if (t < count) {
        const Token& tok = tokens_[t];
        if (tok.kind == Token::AnyRun) {
          starToken = t++;
          starName = n;
          continue;
        }
        if (MatchesOne(tok, s[n])) {
          ++t;
          ++n;
          continue;
        }
      }
      if (starToken == count) return false;
      // Let the last "*" take one more character and try the rest again.
      t = starToken + 1;
      n = ++starName;
    }
    while (t < count && tokens_[t].kind == Token::AnyRun) ++t;
    return t == count;
  }

 private:
  // Reads "[...]" starting at mask[i]. False when there is no closing "]", in which case the
  // "[" stands for itself.
  bool ParseSet(const QString& mask, qsizetype& i) {
    const qsizetype close = mask.indexOf(QLatin1Char(']'), i + 1);
    if (close < 0) return false;
    CharSet set;
    qsizetype k = i + 1;
    if (k < close && mask.at(k) == QLatin1Char('!')) {
      set.negated = true;
      ++k;
    }
    while (k < close) {
      char16_t low = Fold(mask.at(k).unicode());
      char16_t high = low;
      if (k + 2 < close && mask.at(k + 1) == QLatin1Char('-')) {
        high = Fold(mask.at(k + 2).unicode());
        k += 3;
      } else {
        ++k;
      }
      if (high < low) std::swap(low, high);
      set.ranges.push_back({low, high});
    }
    sets_.push_back(std::move(set));
    tokens_.push_back({Token::Set, 0, static_cast<int>(sets_.size() - 1)});
    i = close;
    return true;
  }

  bool MatchesOne(const Token& tok, char16_t c) const {
    switch (tok.kind) {
      case Token::Literal:
        return tok.c == Fold(c);
      case Token::AnyOne:
        return true;
      case Token::Set: {
        const CharSet& set = sets_[tok.set];
        const char16_t f = Fold(c);
        bool in = false;
        for (const CharRange& r : set.ranges)
          if (f >= r.low && f <= r.high) {
            in = true;
            break;
          }
        return in != set.negated;
      }
      case Token::AnyRun:
        break;
    }
    return false;
  }

  std::vector<Token> tokens_;
  std::vector<CharSet> sets_;
  bool empty_ = true;
};

// The masks of a list in the order the list rules try them.
std::vector<CompiledMask> CompileMaskList(const QString& maskList) {
  std::vector<CompiledMask> masks;
  if (maskList.isEmpty()) return masks;
  QString rest = TrimBlanks(maskList).toString();
  while (true) {
    const qsizetype p = rest.indexOf(QLatin1Char(';'));
    masks.emplace_back(p < 0 ? rest : rest.left(p));
    if (p < 0) break;
    rest = TrimBlanks(QStringView(rest).mid(p + 1)).toString();
    if (rest.isEmpty()) break;
  }
  return masks;
}

// Each thread (the scan worker, the user-interface thread) keeps its own cache, so no lock is
// needed. Programs use a handful of mask lists; the bound only guards against a caller that
// builds a new one for every call.
constexpr qsizetype kMaxCachedLists = 64;

const std::vector<CompiledMask>& CachedMaskList(const QString& maskList) {
  thread_local QHash<QString, std::shared_ptr<const std::vector<CompiledMask>>> cache;
  auto it = cache.constFind(maskList);
  if (it != cache.constEnd()) return **it;
  if (cache.size() >= kMaxCachedLists) cache.clear();
  auto compiled = std::make_shared<const std::vector<CompiledMask>>(CompileMaskList(maskList));
  cache.insert(maskList, compiled);
  return *compiled;
}

}  // namespace

bool MatchesMask(const QString& name, const QString& mask) {
  return CompiledMask(mask).Matches(name);
}

bool MatchesMaskList(const QString& name, const QString& maskList) {
  if (maskList.isEmpty()) return false;
  for (const CompiledMask& mask : CachedMaskList(maskList))
    if (mask.Matches(name)) return true;
  return false;
}
