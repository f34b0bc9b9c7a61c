#pragma once
// The group list: folders and files kept for re-opening, shown in GroupLB (row i shows entry i
// at the display level) and offered as the drop-down items of the timer's file box TimerCB.
// Opens add their paths to it; the group page and its menu delete, move, sort, clear, read
// and write it.

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "library/file_list_hooks.h"

class CFileMusicLists;
class CListFileDialogs;
class IListFileDialogs;
class QComboBox;
class QListWidget;
struct Settings;

// What the group list asks of the open operation.
class IGroupOpener {
 public:
  virtual ~IGroupOpener() = default;
  // Opens the paths (the list may be changed in place): 0 when nothing was found, 1 when
  // playlists or list files were opened, 2 when media joined the music list, 3 when only
  // pictures were found.
  virtual int OpenPaths(QStringList& paths) = 0;
  // Shows the file page (MusicTS).
  virtual void ShowFilePage() = 0;
};

class NoGroupOpener final : public IGroupOpener {
 public:
  int OpenPaths(QStringList&) override { return 0; }
  void ShowFilePage() override {}
};

// The hooks of a CGroupList; a null pointer means the do-nothing version (for the dialogs, the
// real ones). The objects are not owned and must outlive their user.
struct GroupListHooks {
  IListTransport* Transport = nullptr;
  IGroupOpener* Opener = nullptr;
  IListDialogs* Dialogs = nullptr;          // the question before clearing
  IListFileDialogs* FileDialogs = nullptr;  // the group-file dialogs
};

class CGroupList : public QObject {
  Q_OBJECT

 public:
  // Takes over GroupLB (extended selection; double clicks and keys arrive at the handlers
  // below) and the items of TimerCB. `lists` reloads the music list after a double click; it
  // may be null. Everything given must outlive this object.
  CGroupList(Settings& settings, QListWidget* groupLB, QComboBox* timerCB, CFileMusicLists* lists,
             const GroupListHooks& hooks = {}, QObject* parent = nullptr);
  ~CGroupList() override;

  void SetHooks(const GroupListHooks& hooks);

  // The entries, in order. Callers that change it call ShowGroupList afterwards.
  QStringList GroupList;

  // Replacing (append false) empties the list first; then each path not yet in it is
  // appended, in order. The display is not touched.
  void AddToGroupList(const QStringList& paths, bool append);
  // Rebuilds GroupLB and the items of TimerCB from the list. The text of TimerCB stays.
  void ShowGroupList();

  // Handlers.
  void GroupLBDblClick();
  // Delete, Alt+Up and Alt+Down; returns whether the key was used.
  bool GroupLBKeyDown(int key);
  void MnGroupSelectAllClick();
  void MnGroupDeleteClick();
  void MnGroupClearClick();
  void ClearGroupButtonClick();
  void MnGroupSortClick();
  void MnGroupOpenClick();
  void LoadGroupButtonClick();
  void MnGroupSaveClick();
  void SaveGroupButtonClick();

  // The pieces of the key commands.
  void DeleteSelectedGroupEntries();
  // Each run of adjacent selected rows changes places with the row next to it (delta -1 up,
  // +1 down); nothing moves when the first (last) selected row is already at the edge.
  void MoveSelectedGroupEntries(int delta);

  QListWidget* GroupLB() const { return groupLB_; }
  QComboBox* TimerCB() const { return timerCB_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  IListTransport& Transport();
  IGroupOpener& Opener();
  IListDialogs& Dialogs();
  IListFileDialogs& FileDialogs();
  QList<int> SelectedEntryRows() const;

  Settings& settings_;
  QListWidget* groupLB_;
  QComboBox* timerCB_;
  CFileMusicLists* lists_;
  GroupListHooks hooks_;

  NoListTransport noTransport_;
  NoGroupOpener noOpener_;
  std::unique_ptr<CListDialogs> dialogs_;
  std::unique_ptr<CListFileDialogs> fileDialogs_;
};
