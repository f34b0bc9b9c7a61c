#include "library/process_form.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/app_events.h"

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
  // Folder names are shown as they are, never read as rich text.
  processLabel_->setTextFormat(Qt::PlainText);
  button_->setObjectName(QStringLiteral("Button"));
  button_->setAutoDefault(false);
  connect(button_, &QPushButton::clicked, this, &TProcessForm::ButtonClick);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(4);
  layout->addWidget(processLabel_);
  layout->addWidget(button_, 0, Qt::AlignHCenter);
  // Client area 437 × 56, or the height the font needs if that is more.
  setFixedSize(QSize(437, 56).expandedTo(minimumSizeHint()));
  // The label keeps the size the layout gives it: a new text then costs no new layout of the
  // window, which a scan entering thousands of folders a second would otherwise pay for each.
  layout->activate();
  processLabel_->setFixedSize(processLabel_->size());
  labelTimer_.setSingleShot(true);
  labelTimer_.setInterval(kLabelInterval);
  connect(&labelTimer_, &QTimer::timeout, this, [this] {
    if (processLabel_->text() != shownFolder_) {
      processLabel_->setText(shownFolder_);
      labelTimer_.start();
    }
  });
}

TProcessForm::~TProcessForm() { FormDestroy(); }

void TProcessForm::Prepare(const QWidget* mainWindow) {
  if (mainWindow) move(mainWindow->frameGeometry().topLeft() + QPoint(20, 150));
  labelTimer_.stop();
  shownFolder_.clear();
  processLabel_->clear();
  button_->setText(QStringLiteral("キャンセル"));
  Started = false;
  // A request left over from a showing that never started its worker must not stop this one.
  CancelRequested = false;
}

void TProcessForm::Scan(const QString& scanPath, QStringList& results, const QString& mask,
                        int depth) {
  if (scanning_) {
    TProcessForm nested(parentWidget());
    nested.Scan(scanPath, results, mask, depth);
    return;
  }
  ScanPath = scanPath;
  ScanResults = &results;
  ScanMask = mask;
  ScanDepth = depth;
  Prepare(parentWidget() ? parentWidget()->window() : nullptr);
  exec();
  ScanResults = nullptr;
}

void TProcessForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TProcessForm::FormShow() {
  if (Started) return;
  Started = true;
  FreeScanThread();
  ScanThread = std::make_unique<CProcessThread>(this);
  ScanThread->Path = ScanPath;
  ScanThread->Results = ScanResults;
  ScanThread->Mask = ScanMask;
  ScanThread->Depth = ScanDepth;
  ScanThread->Cancel = &CancelRequested;
  // The worker waits until the label shows the folder.
  connect(ScanThread.get(), &CProcessThread::FolderEntered, this, &TProcessForm::ShowFolder,
          Qt::BlockingQueuedConnection);
  scanning_ = true;
  ScanThread->start();
}

void TProcessForm::ButtonClick() { CancelRequested = true; }

void TProcessForm::reject() {
  if (scanning_)
    ButtonClick();
  else
    QDialog::reject();
}

void TProcessForm::ShowFolder(const QString& folder) {
  // Each folder is taken while the worker waits; the label is redrawn at most every
  // kLabelInterval, as nobody reads a thousand folder names a second, and drawing each of them
  // would take far longer than reading the folders.
  shownFolder_ = folder;
  if (!labelTimer_.isActive()) {
    processLabel_->setText(folder);
    labelTimer_.start();
  }
  emit FolderShown(folder);
}

bool TProcessForm::event(QEvent* event) {
  if (platform::AppEvent::Is(event, platform::AppMessage::ScanEnded)) {
    ScanEnded();
    return true;
  }
  return QDialog::event(event);
}

void TProcessForm::ScanEnded() {
  if (ScanThread) ScanThread->requestInterruption();
  scanning_ = false;
  labelTimer_.stop();
  processLabel_->setText(shownFolder_);
  if (destroying_) return;
  CancelRequested = false;
  done(QDialog::Accepted);
}

void TProcessForm::FormDestroy() {
  // A scan still running is asked to stop, so that the wait below is short.
  destroying_ = true;
  CancelRequested = true;
  FreeScanThread();
}

void TProcessForm::FreeScanThread() {
  if (!ScanThread) return;
  while (!ScanThread->wait(QDeadlineTimer(5))) QCoreApplication::processEvents();
  ScanThread.reset();
}
