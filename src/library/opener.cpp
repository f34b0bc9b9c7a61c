#include "library/opener.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QSet>

#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "library/list_helpers.h"
#include "library/mask_list.h"
#include "platform/dialog_filter.h"
#include "platform/dir_enum.h"
#include "platform/keystate.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/shell.h"
#include "settings/list_blocks.h"
#include "settings/list_files.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "text/blanks.h"
#include "text/text_lines.h"

using platform::PathKind;

namespace {

bool InRange(int index, qsizetype size) { return index >= 0 && index < size; }

// The found path of a list file, trimmed of blanks; empty unless it names an existing file.
QString ExistingListFile(const QString& path) {
  const QString trimmed = TrimBlanks(path).toString();
  if (trimmed.isEmpty() || platform::KindOfPath(trimmed) != PathKind::File) return QString();
  return trimmed;
}

// The file-list entries of a list file that name existing files.
QStringList ReadListFileEntries(const QString& path) {
  QStringList lines;
  LoadTextLines(lines, path);
  QStringList entries;
  ReadFileBlock(lines, entries);
  return entries;
}

QString AppendMaskList(const QString& left, const QString& right) {
  if (left.isEmpty() || left.endsWith(QLatin1Char(';'))) return left + right;
  return left + QLatin1Char(';') + right;
}

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// "指定されたマスク(masks)|masks|すべてのファイル(*.*)|*.*"
QString MaskFilter(const QString& masks) {
  return QStringLiteral("指定されたマスク(") + masks + QStringLiteral(")|") + masks +
         QStringLiteral("|すべてのファイル(*.*)|*.*");
}

// What an open found, by kind, in the order found.
struct FoundFiles {
  QStringList groupFiles, timerFiles, listFiles, playlists, media, pictures;
};

FoundFiles SortByKind(const QStringList& found, const Settings& settings) {
  FoundFiles f;
  for (const QString& path : found) {
    switch (KindOfFoundFile(path, settings)) {
      case OpenKind::GroupFile:
        f.groupFiles.append(path);
        break;
      case OpenKind::TimerFile:
        f.timerFiles.append(path);
        break;
      case OpenKind::ListFile:
        f.listFiles.append(path);
        break;
      case OpenKind::Playlist:
        f.playlists.append(path);
        break;
      case OpenKind::Media:
        f.media.append(path);
        break;
      case OpenKind::Picture:
        f.pictures.append(path);
        break;
      case OpenKind::Other:
        break;
    }
  }
  return f;
}

// The non-empty lines of the group files, each once.
QStringList ReadGroupFiles(const QStringList& groupFiles) {
  QStringList entries;
  QSet<QString> keys;
  for (const QString& file : groupFiles) {
    const QString path = ExistingListFile(file);
    if (path.isEmpty()) continue;
    QStringList lines;
    LoadTextLines(lines, path);
    for (const QString& line : lines) {
      if (line.isEmpty()) continue;
      const QString key = platform::SamePathKey(line);
      if (keys.contains(key)) continue;
      keys.insert(key);
      entries.append(line);
    }
  }
  return entries;
}

// The entries of the file-list files appended to `playlists`, each once.
void ReadListFiles(const QStringList& listFiles, QStringList& playlists) {
  if (listFiles.isEmpty()) return;
  QSet<QString> keys;
  for (const QString& p : playlists) keys.insert(platform::SamePathKey(p));
  for (const QString& file : listFiles) {
    const QString path = ExistingListFile(file);
    if (path.isEmpty()) continue;
    for (const QString& entry : ReadListFileEntries(path)) {
      const QString key = platform::SamePathKey(entry);
      if (keys.contains(key)) continue;
      keys.insert(key);
      playlists.append(entry);
    }
  }
}

// The timers of the timer files, the first of each name.
TimerList ReadTimerFiles(const QStringList& timerFiles) {
  TimerList timers;
  QSet<QString> names;
  for (const QString& file : timerFiles) {
    const QString path = ExistingListFile(file);
    if (path.isEmpty()) continue;
    TimerList read;
    ReadTimerListFile(path, read);
    for (const TimerListEntry& timer : read) {
      if (names.contains(timer.Name)) continue;
      names.insert(timer.Name);
      timers.append(timer);
    }
  }
  return timers;
}

}  // namespace

QString ExtensionOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return dot > slash ? path.mid(dot) : QString();
}

OpenKind KindOfFoundFile(const QString& path, const Settings& settings) {
  const QString ext = ExtensionOf(path);
  if (ext == QLatin1String(".qgf")) return OpenKind::GroupFile;
  if (ext == QLatin1String(".qtf")) return OpenKind::TimerFile;
  if (ext == QLatin1String(".qlf")) return OpenKind::ListFile;
  if (ext == QLatin1String(".m3u") || ext == QLatin1String(".pls")) return OpenKind::Playlist;
  if (MatchesMaskList(ext, settings.MediaMask)) return OpenKind::Media;
  if (MatchesMaskList(ext, settings.ExportOtherExt)) return OpenKind::Picture;
  return OpenKind::Other;
}

QString ScanMaskForMode(const Settings& settings, int mode) {
  if (mode == 1) return settings.MediaMask;
  return AppendMaskList(AppendMaskList(settings.ExportOtherExt, settings.ListKindMask),
                        settings.MediaMask);
}

QStringList COpenDialogs::OpenFileNames(const OpenDialogRequest& request) {
  QFileDialog dialog(anchor_ ? anchor_->window() : nullptr);
  dialog.setObjectName(request.Name);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  dialog.setNameFilters(QtNameFilters(request.Filter));
  dialog.setSizeGripEnabled(request.Resizable);
  if (!request.StartFolder.isEmpty()) dialog.setDirectory(request.StartFolder);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

COpener::COpener(Settings& settings, CFileMusicLists& lists, CGroupList& groups,
                 const OpenerHooks& hooks)
    : settings_(settings),
      lists_(lists),
      groups_(groups),
      hooks_(hooks),
      dialogs_(std::make_unique<COpenDialogs>(lists.FileLB())) {}

COpener::~COpener() = default;

void COpener::SetHooks(const OpenerHooks& hooks) { hooks_ = hooks; }

IListTransport& COpener::Transport() { return hooks_.Transport ? *hooks_.Transport : noTransport_; }
IOpenerHooks& COpener::Parts() { return hooks_.Parts ? *hooks_.Parts : noParts_; }
IOpenDialogs& COpener::Dialogs() { return hooks_.Dialogs ? *hooks_.Dialogs : *dialogs_; }
IFolderScanner& COpener::Scanner() { return hooks_.Scanner ? *hooks_.Scanner : directScanner_; }

void COpener::SaveSettings() {
  if (hooks_.SettingsStore) hooks_.SettingsStore->SaveSettings(settings_.AppName);
}

void COpener::ShowFilePage() { Parts().ShowFilePage(); }

void COpener::ResolveShortcuts(QStringList& paths) {
  for (qsizetype i = paths.size() - 1; i >= 0; --i) {
    if (!platform::IsLinkPath(paths[i])) continue;
    const QString target = ResolveShortcut(paths[i]);
    // A dangling link leads nowhere; keeping it as an empty path would only put an empty
    // entry into the group list.
    if (target.isEmpty())
      paths.removeAt(i);
    else
      paths[i] = target;
  }
}

void COpener::ExpandPaths(QStringList& out, const QStringList& paths, int mode) {
  const QString mask = ScanMaskForMode(settings_, mode);
  for (const QString& path : paths) {
    if (platform::KindOfPath(path) == PathKind::Folder) {
      if (settings_.SearchFileDepth >= 1 || settings_.SearchFileDepthAll) {
        const int depth = settings_.SearchFileDepthAll ? -1 : settings_.SearchFileDepth - 1;
        Scanner().Scan(WithSlash(path) + QStringLiteral("*.*"), out, mask, depth);
      }
    } else if (ExtensionOf(path) == QLatin1String(".qlt")) {
      // A .qlt file stands for the whole collection.
      out = ReadListFileEntries(path);
    } else {
      out.append(path);
    }
  }
}

int COpener::OpenPaths(QStringList& paths) {
  Parts().ClearSearchResults();
  ResolveShortcuts(paths);
  QStringList found;
  ExpandPaths(found, paths, 0);
  if (found.isEmpty()) return 0;

  FoundFiles f = SortByKind(found, settings_);
  found.clear();
  QStringList& playlists = f.playlists;
  const QStringList groupEntries = ReadGroupFiles(f.groupFiles);
  ReadListFiles(f.listFiles, playlists);
  const TimerList timers = ReadTimerFiles(f.timerFiles);

  const bool append = platform::KeyState().ControlDown();
  int result;
  if (!playlists.isEmpty() || !groupEntries.isEmpty() || !timers.isEmpty()) {
    if (!playlists.isEmpty()) {
      Parts().ShowFilePage();
      lists_.AddToFileList(playlists, append);
      if (settings_.WhenOpenSortFileRandom) {
        // The index stays a number: it designates whichever entry the shuffle put there.
        QStringList shuffled = lists_.FileList();
        if (ShuffleList(shuffled)) {
          const int index = lists_.FileIndex;
          lists_.AddToFileList(shuffled, false);
          lists_.FileIndex = index;
        }
      }
      if (settings_.WhenOpenSelectFileRandom) {
        // One of the playlists just opened, wherever it stands in the list: counting from the
        // top would pick among older entries when appending, or past the end when the opened
        // playlists held duplicates.
        const QString chosen = playlists[platform::Random().Below(int(playlists.size()))];
        const QStringList& fileList = lists_.FileList();
        for (qsizetype i = 0; i < fileList.size(); ++i) {
          if (platform::SamePath(fileList[i], chosen)) {
            lists_.FileIndex = static_cast<int>(i);
            break;
          }
        }
      }
    }
    if (!groupEntries.isEmpty()) groups_.AddToGroupList(groupEntries, append);
    if (!timers.isEmpty()) Parts().MergeTimers(timers, append);
    lists_.ShowFileList();
    lists_.LoadCurrentEntry();
    result = 1;
  } else if (!f.media.isEmpty()) {
    // What AddMediaToMusicList does, without resolving and expanding again: these paths are
    // files already, and looking at each of tens of thousands once more would only cost time.
    if (addMarker_) QCoreApplication::processEvents();
    addMarker_ = true;
    AppendMedia(f.media);
    addMarker_ = false;
    result = 2;
  } else {
    Parts().CopyPicturesToTrackFolder(f.pictures, append || settings_.CopyFolderJpeg);
    result = 3;
  }

  if (settings_.EnableAddGroup && result != 3) {
    if (settings_.NoAddFolderToGroup) {
      paths.removeIf([](const QString& p) { return platform::KindOfPath(p) == PathKind::Folder; });
    }
    groups_.AddToGroupList(paths, true);
    groups_.ShowGroupList();
  }
  SaveSettings();
  return result;
}

void COpener::OpenPaths(const QStringList& paths) {
  QStringList copy = paths;
  OpenPaths(copy);
}

void COpener::OpenPathsWithAutoPlay(const QStringList& paths) {
  if (openMarker_) QCoreApplication::processEvents();
  openMarker_ = true;
  const qsizetype before = lists_.MusicList.size();
  QStringList opened = paths;
  const int result = OpenPaths(opened);
  IListTransport& transport = Transport();
  if (settings_.PlayWhenOpen) {
    if (result == 0 || result == 1 || (result == 2 && before == 0 && !lists_.MusicList.isEmpty()))
      transport.PlayFromStart();
  } else if (result == 1) {
    // A new current entry: the track in the player may no longer be the current one. Other
    // results left the file list alone, and reloading would drop the media just added.
    const int index = lists_.MusicIndex;
    if (transport.Playing() && InRange(index, lists_.MusicList.size()) &&
        !platform::SamePath(lists_.MusicList[index], Parts().PlayerMediaName()))
      transport.StopTrack();
    lists_.LoadMusicList();
    transport.OpenCurrentTrack();
  }
  openMarker_ = false;
}

void COpener::AddMediaToMusicList(const QStringList& paths) {
  if (addMarker_) QCoreApplication::processEvents();
  addMarker_ = true;
  QStringList given = paths;
  ResolveShortcuts(given);
  QStringList found;
  ExpandPaths(found, given, 1);
  if (!found.isEmpty()) AppendMedia(found);
  addMarker_ = false;
}

void COpener::AppendMedia(const QStringList& files) {
  for (const QString& file : files)
    if (MatchesMaskList(file, settings_.MediaMask)) lists_.MusicList.append(file);
  SaveSettings();
  lists_.ShowMusicList();
}

QString COpener::OpenFilesFilter() const { return MaskFilter(settings_.ListKindMask); }
QString COpener::MusicOpenFilter() const { return MaskFilter(settings_.MediaMask); }

void COpener::OpenSBClick() {
  OpenDialogRequest request;
  request.Name = QStringLiteral("OpenFilesDialog");
  request.Filter = OpenFilesFilter();
  const int row = FocusedRow(lists_.FileLB());
  if (InRange(row, lists_.FileList().size()))
    request.StartFolder = platform::ContainingFolder(lists_.FileList()[row]);
  const QStringList chosen = Dialogs().OpenFileNames(request);
  if (!chosen.isEmpty()) OpenPathsWithAutoPlay(chosen);
}

void COpener::MnMusicAddClick() {
  OpenDialogRequest request;
  request.Name = QStringLiteral("MusicOpenDialog");
  request.Filter = MusicOpenFilter();
  const int row = SelectedRow(lists_.MusicLB());
  if (InRange(row, lists_.MusicList.size()))
    request.StartFolder = platform::ContainingFolder(lists_.MusicList[row]);
  const QStringList chosen = Dialogs().OpenFileNames(request);
  if (!chosen.isEmpty()) AppendMedia(chosen);
}
