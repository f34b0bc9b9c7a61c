#pragma once
// TProcessForm: the small progress window of a folder scan. It shows each folder as the scan
// enters it and offers a cancel button; it stays on top and has no buttons in its title bar, so
// the scan ends only by itself or through the cancel button.

#include <QDialog>

class QLabel;
class QPushButton;

class TProcessForm : public QDialog {
  Q_OBJECT

 public:
  explicit TProcessForm(QWidget* parent = nullptr);

  // The folder being read; empty between scans.
  QLabel* ProcessLabel() const { return processLabel_; }
  // "キャンセル": asks the scan to stop.
  QPushButton* Button() const { return button_; }

 private:
  QLabel* processLabel_;
  QPushButton* button_;
};
