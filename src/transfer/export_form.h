#pragma once
// TExportForm: the window in which a media transfer or a size estimate runs. It shows the
// worker's status line and progress and offers a cancel button; it stays on top and has no
// buttons in its title bar, so it can be closed only by the run or by a confirmed cancel.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TExportForm : public QDialog {
  Q_OBJECT

 public:
  explicit TExportForm(QWidget* parent = nullptr);

  // The worker's status line; empty at first.
  QLabel* ProcessLabel() const { return processLabel_; }
  // Progress of the run, 0 to 100.
  QProgressBar* ProgressBar() const { return progressBar_; }
  // "キャンセル" while a run is under way.
  QPushButton* Button() const { return button_; }

 private:
  QLabel* processLabel_;
  QProgressBar* progressBar_;
  QPushButton* button_;
};
