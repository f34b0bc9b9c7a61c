#pragma once
// TProcessForm: the small progress window of a folder scan. It shows each folder as the scan
// enters it and offers a cancel button; it stays on top and has no buttons in its title bar, so
// the scan ends only by itself or through the cancel button.
//
// One scan is one modal showing: the window starts the worker when it is shown, the user-
// interface thread runs the modal loop (so the window keeps repainting and the button works)
// while the worker scans, and the worker's end message closes the window. The worker's label
// updates and its end message are synchronous calls into the user-interface thread; whenever
// this window waits for a worker it keeps serving those calls, so neither thread ever waits
// for the other.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <memory>

#include "library/folder_scan.h"

class QLabel;
class QPushButton;

class TProcessForm : public QDialog, public IFolderScanner {
  Q_OBJECT

 public:
  explicit TProcessForm(QWidget* parent = nullptr);
  ~TProcessForm() override;

  // The folder being read; empty between scans.
  QLabel* ProcessLabel() const { return processLabel_; }
  // "キャンセル": asks the scan to stop.
  QPushButton* Button() const { return button_; }

  // The scan of the next showing. ScanResults is the caller's and is written by the worker
  // only while the window is shown.
  QString ScanPath;  // the folder, "/" and the pattern, such as "/music/*.*"
  QStringList* ScanResults = nullptr;
  QString ScanMask;
  int ScanDepth = -1;  // levels below the folder still to enter; -1 for all
  // The worker of the last scan; replaced by the next one and freed with the window.
  std::unique_ptr<CProcessThread> ScanThread;
  // Set by the cancel button, read by the worker; cleared when the window closes.
  std::atomic<bool> CancelRequested{false};
  // The worker has been started for this showing.
  bool Started = false;

  // Makes the window ready for a showing: placed near `mainWindow` (when given), label empty,
  // the button's caption, not started.
  void Prepare(const QWidget* mainWindow);
  // Runs one scan with the window shown modally near the parent window; returns when the
  // worker has ended. Called while a scan of this window runs (an open started from the modal
  // loop), the nested scan gets a window of its own.
  void Scan(const QString& scanPath, QStringList& results, const QString& mask, int depth) override;

  // Handlers.
  void FormShow();
  void ButtonClick();
  void FormDestroy();

 signals:
  // The worker has entered `folder`, which the label shows (redrawn at most every
  // kLabelInterval); the worker waits until the receivers return.
  void FolderShown(const QString& folder);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 public slots:
  // Escape and the window manager's close only ask the scan to stop; the window closes when
  // the worker reports its end, so the results are never read while the worker writes them.
  void reject() override;

 private:
  void ShowFolder(const QString& folder);
  void ScanEnded();
  // Frees ScanThread, waiting for it while still serving its synchronous calls.
  void FreeScanThread();

  static constexpr int kLabelInterval = 40;  // ms

  QLabel* processLabel_;
  QPushButton* button_;
  QTimer labelTimer_;
  QString shownFolder_;  // the folder the worker entered last
  bool scanning_ = false;
  bool destroying_ = false;
};
