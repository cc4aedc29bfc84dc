#include "app/results/profile_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

ProfileCommands::ProfileCommands(QMdiArea* mdi, ProjectAccess project, QObject* parent)
    : QObject(parent), mdi_(mdi), project_(std::move(project)) {
  // Edits made in other windows show when the view is next activated.
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    if (w && w == window_)
      if (TDlgSideView* v = view()) v->refresh();
  });
}

TDlgSideView* ProfileCommands::view() const {
  if (!window_ || !mdi_->subWindowList().contains(window_)) return nullptr;
  return qobject_cast<TDlgSideView*>(window_->widget());
}

void ProfileCommands::show() {
  // A closed window waits for its deletion outside the area's list: it counts as gone.
  if (window_ && !mdi_->subWindowList().contains(window_)) window_ = nullptr;
  if (!window_) {
    auto* view = new TDlgSideView(project_);
    window_ = mdi_->addSubWindow(view);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    window_->resize(640, 520);
  }
  window_->show();
  mdi_->setActiveSubWindow(window_);
  if (TDlgSideView* v = view()) v->refresh();
}
