#include "data_edit.h"

#include "app/model/evaluator.h"
#include "app/model/real_format.h"
#include "app/model/units.h"
#include "app/main/user_prompts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <limits>

namespace {
constexpr long double kInt32Min = -2147483648.0L;
constexpr long double kInt32Max = 2147483647.0L;
}  // namespace

TDataEdit::TDataEdit(QWidget* parent)
    : QLineEdit(parent),
      minVal_(tarnel::model::EntryLimits{}.minVal),
      maxVal_(tarnel::model::EntryLimits{}.maxVal) {
  setText(QStringLiteral("0"));
  connect(this, &QLineEdit::textEdited, this, [this] { valid_ = false; });
}

void TDataEdit::setEditLabel(QLabel* label) {
  label_ = label;
  if (label_) {
    label_->setBuddy(this);
    label_->setEnabled(isEnabled());
  }
  relabel();
}

void TDataEdit::setCaption(const QString& caption) {
  caption_ = caption;
  relabel();
}

void TDataEdit::setUnitsString(const QString& templ) {
  unitsString_ = templ;
  relabel();
}

void TDataEdit::setUnits(int system) {
  units_ = std::clamp(system, 1, 3);
  relabel();
}

QString TDataEdit::labelText() const {
  return QString::fromStdString(tarnel::model::FieldCaption(
      caption_.toStdString(), unitsString_.toStdString(), units_));
}

void TDataEdit::relabel() {
  if (label_) label_->setText(labelText());
}

void TDataEdit::setIntegerOnly(bool on) {
  integerOnly_ = on;
  if (on) {
    minVal_ = std::clamp(minVal_, kInt32Min, kInt32Max);
    maxVal_ = std::clamp(maxVal_, kInt32Min, kInt32Max);
    if (value_ < minVal_ || value_ > maxVal_) setNumber(value_);
  }
}

void TDataEdit::setHex(bool on) {
  hex_ = on;
  showValue(value_);
}

void TDataEdit::setMinVal(long double v) {
  if (integerOnly_) v = std::clamp(v, kInt32Min, kInt32Max);
  // A minimum above the maximum is taken as the maximum.
  minVal_ = v > maxVal_ ? maxVal_ : v;
  if (number() < minVal_) setNumber(minVal_);
}

void TDataEdit::setMaxVal(long double v) {
  if (integerOnly_) v = std::clamp(v, kInt32Min, kInt32Max);
  // A maximum below the minimum is taken as the minimum.
  maxVal_ = v < minVal_ ? minVal_ : v;
  if (number() > maxVal_) setNumber(maxVal_);
}

long double TDataEdit::number() const {
  // The text the field was given for its value stands for that value exactly.
  if (!shownText_.isEmpty() && text() == shownText_) return value_;
  if (auto v = tarnel::model::TryEvaluate(text().toStdString())) return *v;
  return value_;
}

void TDataEdit::setNumber(long double v) {
  v = std::clamp(v, minVal_, maxVal_);
  value_ = v;
  valid_ = true;
  showValue(v);
}

void TDataEdit::showValue(long double v) {
  // A real is shown as a person writes it: at the 8 significant digits a data file keeps,
  // so a value converted to other units shows 0.1524 and not the binary tail of the
  // conversion (the field still holds the value exactly until the user types another).
  // Integers keep every digit.
  const std::string s = hex_          ? tarnel::model::FormatHex(v)
                        : integerOnly_ ? tarnel::model::FormatReal(v, 18)
                                       : tarnel::model::FormatReal(v, 8);
  shownText_ = QString::fromStdString(s);
  setText(shownText_);
}

bool TDataEdit::validate() {
  // Leaving a field whose text is still the one shown for its value changes nothing.
  if (!shownText_.isEmpty() && text() == shownText_) {
    valid_ = true;
    return true;
  }
  tarnel::model::EntryLimits limits;
  limits.integerOnly = integerOnly_;
  limits.minVal = minVal_;
  limits.maxVal = maxVal_;
  const tarnel::model::EntryCheck check =
      tarnel::model::CheckEntry(text().toStdString(), limits);
  // A valid entry, or one moved to a range limit, gives the field its new value; an entry
  // that does not evaluate keeps its text so the user can correct it.
  if (!check.text.empty()) {
    const bool changed = check.value != value_;
    value_ = check.value;
    if (hex_) {
      showValue(value_);
    } else {
      shownText_.clear();
      setText(QString::fromStdString(check.text));
    }
    if (changed) emit numberChanged(static_cast<double>(value_));
  }
  valid_ = check.valid;
  if (!valid_) {
    inMessage_ = true;
    prompts().information(window(), QString::fromStdString(check.message));
    inMessage_ = false;
    // The field keeps the focus until its entry is valid.
    if (isVisible()) {
      QPointer<TDataEdit> self(this);
      QTimer::singleShot(0, this, [self] {
        if (self) self->setFocus(Qt::OtherFocusReason);
      });
    }
  }
  return valid_;
}

void TDataEdit::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    validate();
    selectAll();
    e->accept();  // not passed on (no default button fires)
    return;
  }
  static const QString kAppendKeys = QStringLiteral("+-/*^=%!");
  const QString t = e->text();
  if (t.size() == 1 && kAppendKeys.contains(t) && hasSelectedText() &&
      selectedText() == text()) {
    // Typing an operator after selecting the value extends the value (10 then *2 -> 10*2).
    deselect();
    end(false);
  }
  QLineEdit::keyPressEvent(e);
}

void TDataEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  // A message box taking the focus must not validate the same entry again.
  if (inMessage_ || e->reason() == Qt::PopupFocusReason) return;
  validate();
}

void TDataEdit::changeEvent(QEvent* e) {
  QLineEdit::changeEvent(e);
  if (e->type() == QEvent::EnabledChange && label_) label_->setEnabled(isEnabled());
}
