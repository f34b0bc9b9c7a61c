#include "library/group_list.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QSet>
#include <QSignalBlocker>

#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "library/list_helpers.h"
#include "platform/dir_enum.h"
#include "platform/keystate.h"
#include "platform/paths.h"
#include "settings/list_files.h"
#include "settings/settings.h"

namespace {

const char16_t kClearQuestion[] = u"グループリストをすべて削除してよろしいですか？";

bool InRange(int index, qsizetype size) { return index >= 0 && index < size; }

// Changes the items of an editable combo box without changing the text being edited, and
// without signals for the passing changes (the text ends as it was).
template <typename Change>
void KeepingEditText(QComboBox* box, Change change) {
  const QSignalBlocker block(box);
  const QString text = box->currentText();
  change();
  if (box->isEditable() && box->currentText() != text) box->setEditText(text);
}

}  // namespace

CGroupList::CGroupList(Settings& settings, QListWidget* groupLB, QComboBox* timerCB,
                       CFileMusicLists* lists, const GroupListHooks& hooks, QObject* parent)
    : QObject(parent),
      settings_(settings),
      groupLB_(groupLB),
      timerCB_(timerCB),
      lists_(lists),
      hooks_(hooks),
      dialogs_(std::make_unique<CListDialogs>(groupLB)),
      fileDialogs_(std::make_unique<CListFileDialogs>(groupLB)) {
  groupLB_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  groupLB_->setUniformItemSizes(true);
  groupLB_->installEventFilter(this);
  connect(groupLB_, &QListWidget::itemDoubleClicked, this, [this] { GroupLBDblClick(); });
}

CGroupList::~CGroupList() = default;

void CGroupList::SetHooks(const GroupListHooks& hooks) { hooks_ = hooks; }

IListTransport& CGroupList::Transport() {
  return hooks_.Transport ? *hooks_.Transport : noTransport_;
}
IGroupOpener& CGroupList::Opener() { return hooks_.Opener ? *hooks_.Opener : noOpener_; }
IListDialogs& CGroupList::Dialogs() { return hooks_.Dialogs ? *hooks_.Dialogs : *dialogs_; }
IListFileDialogs& CGroupList::FileDialogs() {
  return hooks_.FileDialogs ? *hooks_.FileDialogs : *fileDialogs_;
}

bool CGroupList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == groupLB_ && event->type() == QEvent::KeyPress)
    return GroupLBKeyDown(static_cast<QKeyEvent*>(event)->key());
  return QObject::eventFilter(watched, event);
}

QList<int> CGroupList::SelectedEntryRows() const {
  QList<int> rows = SelectedRows(groupLB_);
  while (!rows.isEmpty() && rows.last() >= GroupList.size()) rows.removeLast();
  return rows;
}

void CGroupList::AddToGroupList(const QStringList& paths, bool append) {
  if (!append) GroupList.clear();
  // One look-up set per call keeps a merge of long lists linear.
  QSet<QString> keys;
  keys.reserve(GroupList.size() + paths.size());
  for (const QString& entry : GroupList) keys.insert(platform::SamePathKey(entry));
  for (const QString& path : paths) {
    const QString key = platform::SamePathKey(path);
    if (keys.contains(key)) continue;
    keys.insert(key);
    GroupList.append(path);
  }
}

void CGroupList::ShowGroupList() {
  QStringList texts;
  texts.reserve(GroupList.size());
  for (const QString& entry : GroupList) texts.append(PathTail(entry, settings_.DisplayLevel));
  SetRows(groupLB_, texts);
  if (timerCB_) {
    KeepingEditText(timerCB_, [this] {
      timerCB_->clear();
      timerCB_->addItems(GroupList);
    });
  }
}

void CGroupList::GroupLBDblClick() {
  const int row = FocusedRow(groupLB_);
  if (!InRange(row, GroupList.size())) return;
  IListTransport& transport = Transport();
  transport.StopTrack();
  QStringList paths{GroupList[row]};
  // An entry that has gone only stops playback.
  if (platform::KindOfPath(paths.first()) == platform::PathKind::None) return;
  const int result = Opener().OpenPaths(paths);
  if (result == 1) {
    if (settings_.PlayWhenOpen) {
      transport.PlayFromStart();
    } else {
      if (lists_) lists_->LoadMusicList();
      transport.OpenCurrentTrack();
    }
  }
  Opener().ShowFilePage();
}

bool CGroupList::GroupLBKeyDown(int key) {
  ListKeyActions actions;
  actions.Move = [this](int delta) { MoveSelectedGroupEntries(delta); };
  actions.Delete = [this] { DeleteSelectedGroupEntries(); };
  return HandleListKey(key, actions);
}

void CGroupList::DeleteSelectedGroupEntries() {
  const QList<int> rows = SelectedEntryRows();
  if (rows.isEmpty()) return;
  if (timerCB_) {
    KeepingEditText(timerCB_, [this, &rows] {
      for (qsizetype k = rows.size() - 1; k >= 0; --k)
        if (rows[k] < timerCB_->count()) timerCB_->removeItem(rows[k]);
    });
  }
  for (qsizetype k = rows.size() - 1; k >= 0; --k) GroupList.removeAt(rows[k]);
  RemoveRows(groupLB_, rows);
}

void CGroupList::MoveSelectedGroupEntries(int delta) {
  QList<int> selected = SelectedEntryRows();
  if (selected.isEmpty()) return;
  // A block at the edge holds every other block back too.
  if (delta < 0 && selected.first() == 0) return;
  if (delta > 0 && selected.last() == GroupList.size() - 1) return;
  const int focused = FocusedRow(groupLB_);
  const QList<RowSwap> swaps = MoveSelectedEntries(GroupList, selected, delta);
  for (const RowSwap& s : swaps) SwapRowTexts(groupLB_, s.from, s.to);
  if (focused >= 0)
    SetFocusedRow(groupLB_, qBound(0, focused + delta, static_cast<int>(GroupList.size()) - 1));
  SetSelectedRows(groupLB_, selected);
  // The items of TimerCB keep their order until the next ShowGroupList.
}

void CGroupList::MnGroupSelectAllClick() { groupLB_->selectAll(); }

void CGroupList::MnGroupDeleteClick() { DeleteSelectedGroupEntries(); }

void CGroupList::MnGroupClearClick() {
  if (!Dialogs().Confirm(QString::fromUtf16(kClearQuestion))) return;
  GroupList.clear();
  ShowGroupList();
}

void CGroupList::ClearGroupButtonClick() { MnGroupClearClick(); }

void CGroupList::MnGroupSortClick() {
  if (GroupList.isEmpty()) return;
  const QList<int> selected = SelectedEntryRows();
  SortList(groupLB_, GroupList);
  const int focused = FocusedRow(groupLB_);
  ShowGroupList();
  // Rebuilding the rows drops focus and selection; the sorted entries sit in the rows that
  // were selected, and the focus is on the entry that had it.
  SetFocusedRow(groupLB_, focused);
  if (selected.size() > 1) SetSelectedRows(groupLB_, selected);
}

void CGroupList::MnGroupOpenClick() {
  OpenGroupListFile(FileDialogs(), GroupList);
  // Also after a cancelled dialog, as the list may have been emptied before.
  ShowGroupList();
}

void CGroupList::LoadGroupButtonClick() { MnGroupOpenClick(); }

void CGroupList::MnGroupSaveClick() { SaveGroupListFile(FileDialogs(), GroupList); }

void CGroupList::SaveGroupButtonClick() { MnGroupSaveClick(); }
