#pragma once
// The copy and open-folder commands at the end of the three list menus: the copy item puts a
// text for the focused row on the clipboard, "存在するフォルダを開く(&E)" opens a file-manager
// window on the folder of the row's entry with the entry selected. With no focused row (or,
// for the open-folder items, an empty list) a command does nothing.

#include <QString>

class CFileMusicLists;
class CGroupList;
namespace platform {
class IShell;
}

// `text` without its extension: cut from the last "." that has no "/" after it. A dot in a
// folder name never cuts, and a last component whose only dot is its first character becomes
// empty.
QString RemoveExtension(const QString& text);

// The clipboard text of a file-list row: the extension removed first, then each "/" written
// as " - ". A leading "/" (a row showing the whole path) is dropped rather than written, so
// the text begins with the first folder name as it would with a drive in front.
QString FileRowClipboardText(const QString& rowText);

class CShellCommands {
 public:
  // `shell` null: platform::Shell(). Everything given must outlive this object.
  CShellCommands(CFileMusicLists& lists, CGroupList& groups, platform::IShell* shell = nullptr);

  // FileListPM: "ファイル名とフォルダ名をクリップボードにコピー(&P)" copies the focused row's
  // shown text as FileRowClipboardText; the open-folder item shows its FileList entry.
  void MnFileCopyClick();
  void MnFileExplorerOpenClick();
  // MusicListPM: "ファイル名をクリップボードにコピー(&P)" copies the selected row's text (the
  // track's file name) without its extension; the open-folder item shows the track.
  void MnMusicCopyClick();
  void MnMusicOpenExplorerClick();
  // GroupListPM: "パスやファイル名をクリップボードにコピーする(&P)" copies the focused entry's
  // whole path, unchanged; the open-folder item shows the entry.
  void MnGroupCopyClick();
  void MnGroupExplorerOpenClick();

 private:
  platform::IShell& Shell();

  CFileMusicLists& lists_;
  CGroupList& groups_;
  platform::IShell* shell_;
};
