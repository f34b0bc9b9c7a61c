#include "app/settings_host.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <algorithm>

#include "app/main_form.h"
#include "library/file_music_lists.h"
#include "library/list_box.h"
#include "library/list_helpers.h"
#include "settings/option_pages.h"

namespace {

const QString kDefaultDevice = QStringLiteral("Default DirectSound Device");

// A window is never made larger than the desktop (a huge size from a damaged file would ask for
// a backing store of gigabytes), and its place is kept in a range where adding its size cannot
// overflow; showing the window moves it into the work area anyway.
constexpr int kCoordinateLimit = 1000000;

QSize DesktopSize(const QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QSize desktop = screen ? screen->virtualSize() : QSize(kCoordinateLimit, kCoordinateLimit);
  return desktop.expandedTo(window.minimumSize());
}

// Gives the first pane of a two-pane splitter `size` pixels and the second the rest.
void SetFirstPaneSize(QSplitter* splitter, int size) {
  const QList<int> sizes = splitter->sizes();
  int total = 0;
  for (int s : sizes) total += s;
  splitter->setSizes({size, std::max(total - size, 1)});
}

}  // namespace

Settings& CSettingsHost::GetSettings() { return form_.settings; }

// ---- Layout ----

QRect CSettingsHost::WindowGeometry() const {
  return QRect(form_.x(), form_.y(), form_.width(), form_.height());
}

void CSettingsHost::SetWindowSize(int width, int height) {
  const QSize desktop = DesktopSize(form_);
  form_.resize(std::clamp(width, 0, desktop.width()), std::clamp(height, 0, desktop.height()));
}

void CSettingsHost::SetWindowPosition(int left, int top) {
  form_.move(std::clamp(left, -kCoordinateLimit, kCoordinateLimit),
             std::clamp(top, -kCoordinateLimit, kCoordinateLimit));
}

int CSettingsHost::FileListWidth() const { return form_.ui.Splitter1->sizes().value(0); }

void CSettingsHost::SetFileListWidth(int width) {
  SetFirstPaneSize(form_.ui.Splitter1, std::clamp(width, 0, DesktopSize(form_).width()));
}

int CSettingsHost::AlbumArtPanelHeight() const { return form_.ui.Splitter2->sizes().value(0); }

void CSettingsHost::SetAlbumArtPanelHeight(int height) {
  SetFirstPaneSize(form_.ui.Splitter2, std::clamp(height, 0, DesktopSize(form_).height()));
}

// ---- Search history ----

QStringList CSettingsHost::SearchHistory() const {
  QStringList items;
  const QComboBox* box = form_.ui.SearchCB;
  items.reserve(box->count());
  for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
  return items;
}

void CSettingsHost::AddSearchHistory(const QString& text) {
  // Adding to the history leaves the text being typed alone; an editable box would otherwise
  // take its first item as its text.
  QComboBox* box = form_.ui.SearchCB;
  const int current = box->currentIndex();
  const QString typed = box->currentText();
  box->addItem(text);
  if (box->currentIndex() != current) {
    box->setCurrentIndex(current);
    box->setEditText(typed);
  }
}

// ---- Group list ----

QStringList& CSettingsHost::GroupList() { return form_.Groups()->GroupList; }

void CSettingsHost::ShowGroupList() { form_.Groups()->ShowGroupList(); }

// ---- File list and music list ----

const QStringList& CSettingsHost::FileList() const { return form_.Lists()->FileList(); }
int CSettingsHost::FileIndex() const { return form_.Lists()->FileIndex; }
void CSettingsHost::SetFileIndex(int index) { form_.Lists()->FileIndex = index; }
const QStringList& CSettingsHost::MusicList() const { return form_.Lists()->MusicList; }
int CSettingsHost::MusicIndex() const { return form_.Lists()->MusicIndex; }
void CSettingsHost::SetMusicIndex(int index) { form_.Lists()->MusicIndex = index; }

void CSettingsHost::AddToFileList(const QStringList& entries, bool append) {
  form_.Lists()->AddToFileList(entries, append);
}

bool CSettingsHost::ShuffleList(QStringList& list) { return ::ShuffleList(list); }
void CSettingsHost::ShowFileList() { form_.Lists()->ShowFileList(); }
bool CSettingsHost::LoadMusicList() { return form_.Lists()->LoadMusicList(); }

void CSettingsHost::SelectFileRow(int row) {
  QListWidget* box = form_.ui.FileLB;
  SetFocusedRow(box, row);
  SelectOnlyRow(box, row);
}

void CSettingsHost::FocusFileRowWithoutSelection(int row) {
  QListWidget* box = form_.ui.FileLB;
  SetFocusedRow(box, row);
  box->clearSelection();
}

int CSettingsHost::MusicRowCount() const { return form_.ui.MusicLB->count(); }
void CSettingsHost::SelectMusicRow(int row) { SetSelectedRow(form_.ui.MusicLB, row); }

// ---- Player ----

double CSettingsHost::PlayerGetPosition() { return form_.Playback().PlayerGetPosition(); }
void CSettingsHost::PlayerSetPosition(double position) {
  form_.Playback().PlayerSetPosition(position);
}
void CSettingsHost::OpenCurrentTrack() { form_.Playback().OpenCurrentTrack(); }
void CSettingsHost::PlayTrack(double position) { form_.Playback().PlayTrack(position); }
void CSettingsHost::ShowPosition(double position) { form_.Playback().ShowPosition(position); }
void CSettingsHost::ShowVolume(int volume) { form_.Playback().ShowVolume(volume); }

// ---- Output devices ----

void CSettingsHost::FillDeviceList() {
  Settings& s = form_.settings;
  QStringList names = form_.OutputDeviceNames;
  if (names.isEmpty()) {
    // No device list (the enumeration found nothing or failed): the chosen name stays, so that
    // a device chosen in an earlier run is not lost, and no name becomes the sound server's
    // default output.
    names.append(s.OutputDeviceName.isEmpty() ? kDefaultDevice : s.OutputDeviceName);
  }
  auto find = [&names](const QString& name) {
    for (int i = 0; i < names.size(); ++i)
      if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
  };
  int index = find(s.OutputDeviceName);
  if (index < 0) {
    s.OutputDeviceName = kDefaultDevice;
    index = find(s.OutputDeviceName);
    if (index < 0) index = 0;
  }
  // The backend compares names exactly, so the setting takes the list's spelling.
  s.OutputDeviceName = names[index];
  QComboBox* box = form_.ui.OutputDeviceNamesCB;
  box->clear();
  box->addItems(names);
  box->setCurrentIndex(index);
}

void CSettingsHost::SelectOutputDevice(const QString& name) {
  form_.Playback().SelectOutputDevice(name);
}

// ---- Timers ----

::TimerList& CSettingsHost::TimerList() { return form_.TimerList; }
int CSettingsHost::TimerRowCount() const { return form_.ui.TimerLB->count(); }

void CSettingsHost::RefreshTimerList() {
  // The rows follow the list: a row whose text already is the name keeps its check mark.
  // Scheduling belongs to the timer scheduler.
  QListWidget* box = form_.ui.TimerLB;
  const ::TimerList& timers = form_.TimerList;
  auto setEntry = [](QListWidgetItem* item, const TimerListEntry& entry) {
    item->setText(entry.Name);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.Timer.Enabled ? Qt::Checked : Qt::Unchecked);
  };
  for (int i = 0; i < timers.size(); ++i) {
    if (i >= box->count()) {
      auto* item = new QListWidgetItem;
      setEntry(item, timers[i]);
      box->addItem(item);
    } else if (box->item(i)->text() != timers[i].Name) {
      setEntry(box->item(i), timers[i]);
    }
  }
  while (box->count() > timers.size()) delete box->takeItem(box->count() - 1);
}

void CSettingsHost::RunPreviousTimer() {}

void CSettingsHost::SetTimerButtonDown(bool down) { form_.ui.TimerSB->setChecked(down); }

void CSettingsHost::TimerSBClick() {
  TMainFormUi& ui = form_.ui;
  const bool down = ui.TimerSB->isChecked();
  form_.settings.TimerEnabled = down;
  ui.TimerSB->setIcon(QIcon(ui.ImageList.value(down ? 2 : 3)));
}

// ---- Controls ----

void CSettingsHost::ShowGroupOptions() { form_.OptionPages().ShowGroupOptions(); }
void CSettingsHost::ShowOptionSettings() { form_.OptionPages().ShowOptionSettings(); }

void CSettingsHost::ShowMessage(const QString& text) {
  if (MessageHook) {
    MessageHook(text);
    return;
  }
  QMessageBox::information(&form_, QGuiApplication::applicationDisplayName(), text);
}
