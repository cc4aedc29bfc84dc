#include "app/results/side_view.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main/user_prompts.h"
#include "app/model/program_data.h"
#include "app/results/profile_painter.h"
#include "app/results/profile_picture.h"

namespace {

ProfileColors ScreenColors(const QWidget& w) {
  ProfileColors c;
  c.background = w.palette().color(QPalette::Base);
  c.text = w.palette().color(QPalette::Text);
  return c;
}

}  // namespace

// The drawing surface: its whole area is the profile's frame.
class ProfileCanvas : public QWidget {
 public:
  explicit ProfileCanvas(TDlgSideView* view) : QWidget(view), view_(view) {
    setObjectName(QStringLiteral("ProfileCanvas"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
  }
  QSize sizeHint() const override { return {640, 480}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const tarnel::model::TProgramData* p = view_->project_ ? view_->project_() : nullptr;
    const QRectF all(rect());
    if (!p) {
      painter.fillRect(all, ScreenColors(*this).background);
      return;
    }
    PaintProfileView(painter, view_->model_, *p, all, all, ScreenColors(*this));
  }
  void mouseMoveEvent(QMouseEvent* e) override { view_->showDepthAt(e->position()); }

 private:
  TDlgSideView* view_;
};

TDlgSideView::TDlgSideView(ProjectAccess project, QWidget* parent)
    : QWidget(parent), project_(std::move(project)) {
  setObjectName(QStringLiteral("DlgSideView"));
  setWindowTitle(tr("Side View"));
  print_ = new QPushButton(tr("Print"), this);
  print_->setObjectName(QStringLiteral("Button1"));
  save_ = new QPushButton(tr("Save Picture..."), this);
  save_->setObjectName(QStringLiteral("SavePicture"));
  canvas_ = new ProfileCanvas(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(print_);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(buttons);
  layout->addWidget(canvas_, 1);
  connect(print_, &QPushButton::clicked, this, &TDlgSideView::Button1Click);
  connect(save_, &QPushButton::clicked, this, &TDlgSideView::SavePictureClick);
  refresh();
}

void TDlgSideView::refresh() {
  if (const tarnel::model::TProgramData* p = project_ ? project_() : nullptr) model_.Rebuild(*p);
  canvas_->update();
}

ProfileDrawing TDlgSideView::drawing() const {
  const tarnel::model::TProgramData* p = project_ ? project_() : nullptr;
  if (!p) return {};
  const QFont font = ProfileFont();
  return model_.Layout(*p, QRectF(canvas_->rect()), ProfileMetricsFor(*canvas_, font), ScreenColors(*canvas_));
}

void TDlgSideView::showDepthAt(const QPointF& pixel) {
  if (const auto depth = model_.DepthAt(pixel, QRectF(canvas_->rect()))) setWindowTitle(DepthCaption(*depth));
}

bool TDlgSideView::printTo(QPrinter& printer) {
  const tarnel::model::TProgramData* p = project_ ? project_() : nullptr;
  return p && PrintProfile(printer, model_, *p);
}

void TDlgSideView::Button1Click() {
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    prompts().information(this, tr("No printer is installed."));
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QString::fromLatin1(kProfilePrintTitle));
  QPrintDialog dlg(&printer, this);
  if (dlg.exec() == QDialog::Accepted && !printTo(printer))
    prompts().information(this, tr("The profile could not be printed."));
}

bool TDlgSideView::savePictureTo(const QString& path, QString* error) {
  const tarnel::model::TProgramData* p = project_ ? project_() : nullptr;
  if (!p) {
    if (error) *error = tr("There is no project to draw.");
    return false;
  }
  const QImage image = RenderProfileImage(model_, *p, canvas_->size(), canvas_->logicalDpiY(),
                                          ScreenColors(*canvas_));
  return SaveProfileImage(image, path, error);
}

void TDlgSideView::SavePictureClick() {
  const tarnel::model::TProgramData* p = project_ ? project_() : nullptr;
  const QFileInfo data(p ? QString::fromStdString(p->FileName) : QString());
  const QString proposed = data.absolutePath() + QLatin1Char('/') + data.completeBaseName() +
                           QStringLiteral(" profile.bmp");
  const QStringList filters = {QStringLiteral("Bitmap (*.bmp)"), QStringLiteral("PNG Picture (*.png)")};
  const UserPrompts::FileChoice choice = prompts().saveFile(this, tr("Save Picture"), proposed, filters, 0);
  if (choice.path.isEmpty()) return;
  QString path = choice.path;
  if (QFileInfo(path).suffix().isEmpty())
    path += choice.filterIndex == 1 ? QStringLiteral(".png") : QStringLiteral(".bmp");
  QString error;
  if (!savePictureTo(path, &error)) prompts().information(this, error);
}
