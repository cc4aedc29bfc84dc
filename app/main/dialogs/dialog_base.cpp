#include "dialog_base.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <charconv>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"

namespace tarnel::dialogs {

using tarnel::model::TProgramData;

DialogBase::DialogBase(DialogHub* hub, const QString& caption) : QWidget(nullptr), hub_(hub) {
  setWindowTitle(caption);
  setObjectName(caption);
  setAttribute(Qt::WA_DeleteOnClose);
  connect(qApp, &QApplication::focusChanged, this, &DialogBase::onFocusChanged);
}

DialogBase::~DialogBase() {
  // Deleting the child fields moves the focus; this object is no longer a dialog by then.
  disconnect(qApp, nullptr, this, nullptr);
}

TProgramData* DialogBase::project() const { return hub_ ? hub_->project() : nullptr; }

TDataEdit* DialogBase::addNumber(QGridLayout* grid, int row, const QString& caption,
                                 const QString& unitTemplate,
                                 std::function<double(const TProgramData&)> get,
                                 std::function<void(TProgramData&, double)> set,
                                 Shown shownAs) {
  auto* label = new QLabel(this);
  auto* edit = new TDataEdit(this);
  edit->setEditLabel(label);
  edit->setCaption(caption);
  edit->setUnitsString(unitTemplate);
  label->setWordWrap(false);
  edit->setMinimumWidth(170);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  connect(edit, &QLineEdit::textEdited, this, &DialogBase::markModified);
  Binding b;
  b.edit = edit;
  b.get = std::move(get);
  b.set = std::move(set);
  b.shown_as = shownAs;
  bindings_.push_back(std::move(b));
  return edit;
}

long double DialogBase::toShown(double stored, Shown how, int units) {
  // Widen through the shortest decimal text of the double, so 0.00001 shows as 1E-5 and not
  // with the binary tail that 18 digits would reveal.
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, stored);
  long double v = 0;
  std::from_chars(buf, r.ptr, v);
  if (units != 1) return v;
  switch (how) {
    case Shown::FeetOverInches: return v / 12;
    case Shown::PsfOverPsi: return v * 144;
    default: return v;
  }
}

double DialogBase::fromShown(long double shown, Shown how, int units) {
  if (units == 1 && how == Shown::FeetOverInches) shown *= 12;
  if (units == 1 && how == Shown::PsfOverPsi) shown /= 144;
  return static_cast<double>(shown);
}

void DialogBase::load() {
  TProgramData* p = project();
  if (!p) return;
  loading_ = true;
  for (Binding& b : bindings_) {
    b.edit->setUnits(p->Units);
    b.edit->setNumber(toShown(b.get(*p), b.shown_as, p->Units));
    b.edit->setCursorPosition(0);
    b.shown = b.edit->number();
  }
  loading_ = false;
}

bool DialogBase::invalidActiveField() const {
  for (const Binding& b : bindings_)
    if (!b.edit->isValid()) return true;
  return false;
}

bool DialogBase::commit() {
  // Leaving the dialog counts as leaving its focused field: validate it now.
  if (auto* edit = qobject_cast<TDataEdit*>(QApplication::focusWidget()); edit && isAncestorOf(edit))
    edit->validate();
  for (Binding& b : bindings_)
    if (!b.edit->isValid() && !b.edit->validate()) return false;
  return true;
}

bool DialogBase::store() {
  TProgramData* p = project();
  if (!p) return true;
  if (invalidActiveField()) return false;
  bool changed = false;
  for (Binding& b : bindings_) {
    const long double shown = b.edit->number();
    if (shown == b.shown) continue;  // untouched: keep the stored value exactly
    const double value = fromShown(shown, b.shown_as, p->Units);
    if (b.get(*p) != value) {
      b.set(*p, value);
      changed = true;
    }
    b.shown = shown;
  }
  const bool wasModified = p->Modified;
  storeExtra(*p);
  if (changed || p->Modified != wasModified) markChanged();
  return true;
}

void DialogBase::markChanged() {
  if (hub_) emit hub_->projectChanged();
}

void DialogBase::markModified() {
  if (loading_) return;
  if (TProgramData* p = project()) {
    const bool was = p->Modified;
    p->SetModified();
    if (!was) markChanged();
  }
}

void DialogBase::onFocusChanged(QWidget* old, QWidget* now) {
  // The dialog loses the input focus to another window: store, or come back when the
  // focused entry is invalid (its own message box is on the way then).
  if (!old || !isAncestorOf(old)) return;
  if (now && (now == this || isAncestorOf(now))) return;
  if (!store()) {
    if (now && now->window() != window()) return;  // the entry's message box
    QTimer::singleShot(0, this, [this] {
      if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
      show();
      raise();
    });
  }
}

bool DialogBase::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    // Coming back after an entry message: keep what the user typed.
    if (!invalidActiveField()) load();
  } else if (e->type() == QEvent::WindowDeactivate) {
    store();
  }
  return QWidget::event(e);
}

void DialogBase::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && !sub->property("tarnelHooked").toBool()) {
    sub->setProperty("tarnelHooked", true);
    connect(sub, &QMdiSubWindow::aboutToActivate, this, [this] {
      if (!invalidActiveField()) load();
    });
  }
  if (!invalidActiveField()) load();
}

void DialogBase::closeEvent(QCloseEvent* e) {
  if (!commit() || !store()) {
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

}  // namespace tarnel::dialogs
