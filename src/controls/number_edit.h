#pragma once
// TNumberEdit: a single-line edit for whole or decimal numbers within limits. The user may type
// anything; the control keeps the corrected text and its values, and writes the corrected text
// into the field only when Enter is pressed. Readers call GetIntegerValue, which corrects the
// current text first, so they always get the value of what is in the field.

#include <QLineEdit>
#include <cstdint>

class TNumberEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(bool FloatEnabled READ FloatEnabled WRITE SetFloatEnabled)
  Q_PROPERTY(bool Minus READ Minus WRITE SetMinus)
  Q_PROPERTY(QString Max READ Max WRITE SetMax)
  Q_PROPERTY(QString Min READ Min WRITE SetMin)

 public:
  explicit TNumberEdit(QWidget* parent = nullptr);

  bool FloatEnabled() const { return floatEnabled_; }
  bool Minus() const { return minus_; }
  QString Max() const { return max_; }
  QString Min() const { return min_; }
  void SetFloatEnabled(bool value);
  void SetMinus(bool value);
  void SetMax(const QString& value);
  void SetMin(const QString& value);

  // Corrects `text` against the given limits and stores its values in IntegerValue and
  // FloatValue.
  QString CorrectNumericString(const QString& text, bool minus, bool floatEnabled,
                               const QString& max, const QString& min);
  // The edit's text becomes the corrected text of the last change.
  void RefreshValue();
  std::int64_t GetIntegerValue();
  double GetFloatValue();
  QString GetNumberString() const { return numberString_; }
  // The key filter: Enter writes the corrected text and is consumed (key becomes 0); every
  // other key is left to the edit.
  void KeyPress(char16_t& key);

 signals:
  // Fired after every change of the text, once the corrected text is known.
  void Changed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Change();
  void CorrectLimits();

  bool floatEnabled_ = false;
  bool minus_ = true;
  QString max_ = QStringLiteral("1000");
  QString min_ = QStringLiteral("-1000");
  QString numberString_ = QStringLiteral("0");
  std::int64_t integerValue_ = 0;
  float floatValue_ = 0;
};
