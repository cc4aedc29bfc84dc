// TDataEdit: a numeric entry field. The text may be an expression ("3*12+6"); leaving the
// field or pressing Enter evaluates it, applies the range and integer rules, shows what is
// wrong in a message box and keeps the focus until the entry is valid. The associated
// label shows the caption with the unit label of the field's unit template.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

class QLabel;

class TDataEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ caption WRITE setCaption)
  Q_PROPERTY(QString UnitsString READ unitsString WRITE setUnitsString)
  Q_PROPERTY(int Units READ units WRITE setUnits)
  Q_PROPERTY(bool IntegerOnly READ integerOnly WRITE setIntegerOnly)
  Q_PROPERTY(bool Hex READ hex WRITE setHex)
  Q_PROPERTY(double Number READ numberAsDouble WRITE setNumberAsDouble)

public:
  explicit TDataEdit(QWidget* parent = nullptr);

  // The label that shows the caption; it is enabled and disabled with the field.
  void setEditLabel(QLabel* label);
  QLabel* editLabel() const { return label_; }

  QString caption() const { return caption_; }
  void setCaption(const QString& caption);
  QString unitsString() const { return unitsString_; }
  void setUnitsString(const QString& templ);
  int units() const { return units_; }
  void setUnits(int system);  // clamped into 1..3; relabels only

  bool integerOnly() const { return integerOnly_; }
  void setIntegerOnly(bool on);
  bool hex() const { return hex_; }
  void setHex(bool on);

  long double minVal() const { return minVal_; }
  long double maxVal() const { return maxVal_; }
  void setMinVal(long double v);
  void setMaxVal(long double v);

  // The value of the current text (the last valid value when the text does not evaluate).
  long double number() const;
  // Clamps into the range and shows the value with 18 significant digits.
  void setNumber(long double v);
  double numberAsDouble() const { return static_cast<double>(number()); }
  void setNumberAsDouble(double v) { setNumber(v); }

  // Evaluates and checks the text; on failure shows the message and keeps the focus.
  bool validate();
  bool isValid() const { return valid_; }

  // The label text: caption, or caption " (" unit label ")".
  QString labelText() const;

signals:
  void numberChanged(double value);

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void changeEvent(QEvent* e) override;

private:
  void showValue(long double v);
  void relabel();

  QPointer<QLabel> label_;
  QString caption_;
  QString unitsString_;
  int units_ = 1;
  bool integerOnly_ = false;
  bool hex_ = false;
  long double minVal_;
  long double maxVal_;
  long double value_ = 0;
  QString shownText_;  // the text showValue gave for value_ (empty after other texts)
  bool valid_ = true;
  bool inMessage_ = false;
};
