#include "app/results/view3d_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

using tarnel::view3d::MouseTool;
using tarnel::view3d::Switch;
using tarnel::view3d::SwitchTable;

View3DCommands::View3DCommands(QMdiArea* mdi, TDlgBlock::ProjectAccess project,
                               TDlgBlock::DeflectionAccess deflection, QObject* parent)
    : QObject(parent), mdi_(mdi), project_(std::move(project)), deflection_(std::move(deflection)) {}

void View3DCommands::addMenuItems(QMenu* menu) {
  menu_ = menu;
  menu->clear();
  for (const auto& info : SwitchTable()) {
    QAction* a = menu->addAction(QString::fromLatin1(info.caption));
    a->setObjectName(QString::fromLatin1(info.objectName));
    a->setCheckable(true);
    a->setChecked(true);
    const Switch s = info.id;
    connect(a, &QAction::triggered, this, [this, s](bool on) {
      if (view_) view_->setSwitch(s, on);
    });
    switchActions_ << a;
  }
  menu->addSeparator();
  deformedMenu_ = menu->addAction(QStringLiteral("Deformed Shape"));
  deformedMenu_->setObjectName(QStringLiteral("DeformedShape1"));
  connect(deformedMenu_, &QAction::triggered, this, [this] {
    if (view_) view_->showDeformedShape();
  });
  connect(menu, &QMenu::aboutToShow, this, &View3DCommands::updateCommands);
}

void View3DCommands::addToolButtons(QToolBar* bar) {
  tools_ = new QActionGroup(this);
  tools_->setExclusive(true);
  struct Button {
    const char* name;
    const char* hint;
    QStyle::StandardPixmap icon;
  };
  // The tool buttons in MouseTool order: pan, zoom window, zooming, rotating.
  const Button tools[] = {{"SpeedButton20", "Panning", QStyle::SP_ArrowUp},
                          {"SpeedButton21", "Zoom Window", QStyle::SP_FileDialogContentsView},
                          {"SpeedButton22", "Zooming", QStyle::SP_FileDialogDetailedView},
                          {"SpeedButton23", "Rotating", QStyle::SP_BrowserReload}};
  buttons_ << bar->addSeparator();
  QStyle* style = bar->style();
  for (int k = 0; k < 4; ++k) {
    QAction* a = bar->addAction(style->standardIcon(tools[k].icon), QString::fromLatin1(tools[k].hint));
    a->setObjectName(QString::fromLatin1(tools[k].name));
    a->setToolTip(QString::fromLatin1(tools[k].hint));
    a->setCheckable(true);
    tools_->addAction(a);
    const MouseTool tool = static_cast<MouseTool>(k);
    connect(a, &QAction::triggered, this, [this, tool] {
      if (view_) view_->setTool(tool);
    });
    toolActions_ << a;
    buttons_ << a;
  }
  auto command = [&](const char* name, const char* hint, QStyle::StandardPixmap icon, void (TDlgBlock::*slot)()) {
    QAction* a = bar->addAction(style->standardIcon(icon), QString::fromLatin1(hint));
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(QString::fromLatin1(hint));
    connect(a, &QAction::triggered, this, [this, slot] {
      if (view_) (view_.data()->*slot)();
    });
    buttons_ << a;
    return a;
  };
  command("SpeedButton24", "Zoom In", QStyle::SP_ArrowUp, &TDlgBlock::zoomIn);
  command("SpeedButton25", "Zoom Out", QStyle::SP_ArrowDown, &TDlgBlock::zoomOut);
  command("SpeedButton26", "Restart View", QStyle::SP_DialogResetButton, &TDlgBlock::restartView);
  deformedButton_ = bar->addAction(style->standardIcon(QStyle::SP_TitleBarShadeButton),
                                   QStringLiteral("Deformed Shape"));
  deformedButton_->setObjectName(QStringLiteral("SpeedButton27"));
  deformedButton_->setToolTip(QStringLiteral("Deformed Shape"));
  connect(deformedButton_, &QAction::triggered, this, [this] {
    if (view_) view_->showDeformedShape();
  });
  buttons_ << deformedButton_;
  updateCommands();
}

TDlgBlock* View3DCommands::open() {
  if (view_) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(view_->parentWidget())) mdi_->setActiveSubWindow(sub);
    view_->raise();
    return view_;
  }
  auto* view = new TDlgBlock(project_, deflection_);
  view_ = view;
  connect(view, &TDlgBlock::toolChanged, this, &View3DCommands::updateCommands);
  connect(view, &QObject::destroyed, this, [this] {
    view_ = nullptr;  // the guard may clear only after this signal
    updateCommands();
    emit openChanged();
  });
  QMdiSubWindow* sub = mdi_->addSubWindow(view);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->resize(820, 640);
  view->show();
  updateCommands();
  emit openChanged();
  return view;
}

void View3DCommands::refresh() {
  if (view_) view_->rebuild();
  updateCommands();
}

void View3DCommands::updateCommands() {
  const bool open = view_ != nullptr;
  if (menu_) menu_->menuAction()->setVisible(open);
  for (QAction* a : std::as_const(buttons_)) a->setVisible(open);
  if (!open) return;
  for (int k = 0; k < switchActions_.size(); ++k) switchActions_[k]->setChecked(view_->switches().on[k]);
  const bool deformed = view_->canShowDeformed();
  if (deformedMenu_) deformedMenu_->setEnabled(deformed);
  if (deformedButton_) deformedButton_->setEnabled(deformed);
  const int tool = static_cast<int>(view_->view().tool);
  if (tool < toolActions_.size()) toolActions_[tool]->setChecked(true);
}
