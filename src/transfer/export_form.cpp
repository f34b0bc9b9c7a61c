#include "transfer/export_form.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TExportForm::TExportForm(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      processLabel_(new QLabel),
      progressBar_(new QProgressBar),
      button_(new QPushButton(QStringLiteral("キャンセル"))) {
  setObjectName(QStringLiteral("ExportForm"));
  setWindowTitle(QStringLiteral("ファイル転送"));
  // A small window: the Japanese sans-serif at 11 pixels, the default font for what it lacks.
  QFont small = QApplication::font();
  small.setFamilies({QStringLiteral("Noto Sans CJK JP"), small.family()});
  small.setPixelSize(11);
  setFont(small);

  processLabel_->setObjectName(QStringLiteral("ProcessLabel"));
  // The status line follows the window's width; a long one is cut instead of widening it.
  processLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  progressBar_->setFixedHeight(17);
  button_->setObjectName(QStringLiteral("Button"));
  button_->setAutoDefault(false);
  button_->setMinimumWidth(75);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 5);
  layout->setSpacing(5);
  layout->addWidget(processLabel_);
  layout->addWidget(progressBar_);
  layout->addWidget(button_, 0, Qt::AlignHCenter);
  resize(QSize(437, 80).expandedTo(minimumSizeHint()));
}
