#include "library/process_form.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TProcessForm::TProcessForm(QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      processLabel_(new QLabel),
      button_(new QPushButton(QStringLiteral("キャンセル"))) {
  setObjectName(QStringLiteral("ProcessForm"));
  setWindowTitle(QStringLiteral("進行状況"));
  // The Japanese sans-serif first, so that the kanji of folder names keep their Japanese forms.
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Noto Sans CJK JP"), font.family()});
  setFont(font);
  processLabel_->setObjectName(QStringLiteral("ProcessLabel"));
  // A long folder path is cut at the window's edge instead of widening the window.
  processLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  button_->setObjectName(QStringLiteral("Button"));
  button_->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(4);
  layout->addWidget(processLabel_);
  layout->addWidget(button_, 0, Qt::AlignHCenter);
  // Client area 437 × 56, or the height the font needs if that is more.
  setFixedSize(QSize(437, 56).expandedTo(minimumSizeHint()));
}
