#include "library/list_helpers.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <vector>

#include "platform/random.h"

QString PathTail(const QString& path, int level) {
  if (level < 0) return path;
  // Components still to take, counted in 64 bits so that a huge level cannot overflow.
  qint64 wanted = static_cast<qint64>(level) + 1;
  for (qsizetype i = path.size() - 1; i >= 0; --i) {
    if (path.at(i) == QLatin1Char('/') && --wanted == 0) return path.mid(i + 1);
  }
  return path;
}

QString PathFileName(const QString& path) {
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void ApplyOrder(QStringList& list, const ListOrder& order) {
  QStringList sorted;
  sorted.reserve(list.size());
  for (int from : order) sorted.append(std::move(list[from]));
  list = std::move(sorted);
}

int IndexAfterOrder(const ListOrder& order, int index) {
  if (index < 0 || index >= order.size()) return -1;
  for (int k = 0; k < order.size(); ++k)
    if (order[k] == index) return k;
  return -1;
}

ListOrder ShuffleOrder(int count) {
  ListOrder order;
  if (count <= 0) return order;
  order.reserve(count);
  // A Fenwick tree over "still waiting" flags finds the k-th waiting entry in O(log n), which
  // is what taking index k of the shrinking list of remaining entries amounts to.
  std::vector<int> tree(count + 1, 0);
  for (int i = 1; i <= count; ++i) {
    tree[i] += 1;
    const int parent = i + (i & -i);
    if (parent <= count) tree[parent] += tree[i];
  }
  int top = 1;
  while (top * 2 <= count) top *= 2;
  for (int remaining = count; remaining > 0; --remaining) {
    int k = platform::Random().Below(remaining);  // 0-based rank among the waiting entries
    int pos = 0;
    for (int step = top; step > 0; step /= 2) {
      if (pos + step <= count && tree[pos + step] <= k) {
        pos += step;
        k -= tree[pos];
      }
    }
    // pos + 1 is the 1-based position of the chosen entry.
    order.append(pos);
    for (int i = pos + 1; i <= count; i += i & -i) tree[i] -= 1;
  }
  return order;
}

bool ShuffleList(QStringList& list) {
  if (list.isEmpty()) return false;
  ApplyOrder(list, ShuffleOrder(static_cast<int>(list.size())));
  return true;
}

namespace {

// Sorts `ranks` (indexes into `keys`) by key, equal keys keeping their order.
template <typename Key>
void SortRanks(std::vector<int>& ranks, const std::vector<Key>& keys) {
  std::stable_sort(ranks.begin(), ranks.end(),
                   [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; });
}

}  // namespace

ListOrder SortOrder(const QStringList& list, const QList<int>& selectedRows) {
  const int count = static_cast<int>(list.size());
  ListOrder order(count);
  for (int i = 0; i < count; ++i) order[i] = i;
  QList<int> positions = selectedRows;
  if (positions.size() <= 1) positions = order;

  std::vector<int> ranks(positions.size());
  for (std::size_t r = 0; r < ranks.size(); ++r) ranks[r] = static_cast<int>(r);
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // One key per entry, made once: comparing keys is a byte comparison, where comparing the
  // strings would run the collation in every one of the n log n comparisons.
  if (collator.locale().language() == QLocale::C) {
    // The C locale's sort keys are the bare characters and would put "B" before "a"; its
    // collation is the case-folded code order, so fold the keys instead.
    std::vector<QString> keys;
    keys.reserve(positions.size());
    for (int row : positions) keys.push_back(list[row].toCaseFolded());
    SortRanks(ranks, keys);
  } else {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(positions.size());
    for (int row : positions) keys.push_back(collator.sortKey(list[row]));
    SortRanks(ranks, keys);
  }
  for (std::size_t r = 0; r < ranks.size(); ++r) order[positions[r]] = positions[ranks[r]];
  return order;
}

QList<RowSwap> MoveSelectedEntries(QStringList& list, QList<int>& selectedRows, int delta) {
  QList<RowSwap> swaps;
  const int count = static_cast<int>(list.size());
  if (count == 0 || (delta != -1 && delta != 1)) return swaps;
  std::vector<char> selected(count, 0);
  for (int row : selectedRows)
    if (row >= 0 && row < count) selected[row] = 1;

  auto step = [&](int i, int& bound) {
    if (!selected[i]) return;
    const int j = i + delta;
    if (delta < 0 ? j < bound : j > bound) {
      bound -= delta;  // a run at the edge stays, and the next row meets the new edge
      return;
    }
    list.swapItemsAt(i, j);
    std::swap(selected[i], selected[j]);
    swaps.append({i, j});
  };
  if (delta < 0) {
    int bound = 0;
    for (int i = 0; i < count; ++i) step(i, bound);
  } else {
    int bound = count - 1;
    for (int i = count - 1; i >= 0; --i) step(i, bound);
  }

  selectedRows.clear();
  for (int i = 0; i < count; ++i)
    if (selected[i]) selectedRows.append(i);
  return swaps;
}

int IndexAfterSwaps(int index, const QList<RowSwap>& swaps) {
  for (const RowSwap& s : swaps) {
    if (index == s.from)
      index = s.to;
    else if (index == s.to)
      index = s.from;
  }
  return index;
}

void RemoveEntries(QStringList& list, const QList<int>& rows, int& index) {
  if (rows.isEmpty()) return;
  // One compaction pass instead of a removal per row, which would be quadratic when many rows
  // of a long list are selected.
  QStringList kept;
  kept.reserve(list.size() - rows.size());
  int before = 0;  // removed rows at or before index
  qsizetype next = 0;
  for (qsizetype i = 0; i < list.size(); ++i) {
    if (next < rows.size() && rows[next] == i) {
      ++next;
      if (index >= i) ++before;
      continue;
    }
    kept.append(std::move(list[i]));
  }
  list = std::move(kept);
  index -= before;
}
