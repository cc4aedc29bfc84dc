// The help pictures of the table editors: what the rows of a table describe on the wall.
#pragma once

#include <QWidget>
#include <string>

// The picture of a table by component name, or nullptr when the table has none.
QWidget* makeHelpPicture(const std::string& tableName, QWidget* parent);

// Distributed load along the wall: depth from the top of the wall against the lateral line
// load, given at the depths of the rows and interpolated between them.
class DistributedLoadFigure : public QWidget {
  Q_OBJECT
public:
  using QWidget::QWidget;
  QSize sizeHint() const override { return {300, 230}; }
  QSize minimumSizeHint() const override { return {240, 190}; }

protected:
  void paintEvent(QPaintEvent*) override;
};
