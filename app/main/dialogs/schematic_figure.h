#pragma once
// Explanatory pictures of the load and support dialogs: a schematic cross-section of the
// wall with the backfill on the left and the excavation on the right, drawn with QPainter
// so it scales with the dialog and needs no image files.
#include <QWidget>

namespace tarnel::dialogs {

class SchematicFigure : public QWidget {
  Q_OBJECT
 public:
  enum class Kind { Surcharge, ConcentratedLoads, Springs, Tieback };

  explicit SchematicFigure(Kind kind, QWidget* parent = nullptr);
  Kind kind() const { return kind_; }
  QSize sizeHint() const override { return {470, 370}; }
  QSize minimumSizeHint() const override { return {300, 240}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  Kind kind_;
};

}  // namespace tarnel::dialogs
