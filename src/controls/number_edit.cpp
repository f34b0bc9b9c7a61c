#include "controls/number_edit.h"

#include <QKeyEvent>

#include "controls/numeric_string.h"

namespace {
// Limits for the limit texts themselves: wide enough never to clamp a nine-digit number.
const QString kLimitMax = QStringLiteral("999999999999999999");
const QString kLimitMin = QStringLiteral("-999999999999999999");
}  // namespace

TNumberEdit::TNumberEdit(QWidget* parent) : QLineEdit(parent) {
  setText(QStringLiteral("0"));
  // Connected after the initial text, so that the field starts with NumberString "0" and the
  // values 0 as it was made.
  connect(this, &QLineEdit::textChanged, this, &TNumberEdit::Change);
}

QString TNumberEdit::CorrectNumericString(const QString& text, bool minus, bool floatEnabled,
                                          const QString& max, const QString& min) {
  controls::NumericCorrection r =
      controls::CorrectNumericString(text, minus, floatEnabled, max, min);
  integerValue_ = r.integer;
  floatValue_ = r.floating;
  return r.text;
}

void TNumberEdit::CorrectLimits() {
  max_ = CorrectNumericString(max_, minus_, floatEnabled_, kLimitMax, kLimitMin);
  min_ = CorrectNumericString(min_, minus_, floatEnabled_, kLimitMax, kLimitMin);
}

void TNumberEdit::SetFloatEnabled(bool value) {
  floatEnabled_ = value;
  CorrectLimits();
}

void TNumberEdit::SetMinus(bool value) {
  minus_ = value;
  CorrectLimits();
}

void TNumberEdit::SetMax(const QString& value) {
  max_ = CorrectNumericString(value, minus_, floatEnabled_, kLimitMax, kLimitMin);
}

void TNumberEdit::SetMin(const QString& value) {
  min_ = CorrectNumericString(value, minus_, floatEnabled_, kLimitMax, kLimitMin);
}

void TNumberEdit::Change() {
  numberString_ = CorrectNumericString(text(), minus_, floatEnabled_, max_, min_);
  emit Changed();
}

void TNumberEdit::RefreshValue() { setText(numberString_); }

std::int64_t TNumberEdit::GetIntegerValue() {
  CorrectNumericString(text(), minus_, floatEnabled_, max_, min_);
  return integerValue_;
}

double TNumberEdit::GetFloatValue() {
  CorrectNumericString(text(), minus_, floatEnabled_, max_, min_);
  return floatValue_;
}

void TNumberEdit::KeyPress(char16_t& key) {
  if (key == 13) {
    RefreshValue();
    key = 0;
  }
}

void TNumberEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    char16_t key = 13;
    KeyPress(key);
    // Consumed: neither the edit nor a dialog's default button sees this Enter.
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}
