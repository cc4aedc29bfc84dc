#pragma once
// Common behaviour of the project dialogs: load the project's values when the dialog
// becomes active, store them when it loses activation or closes, refuse both while a
// numeric field holds an invalid entry, and set the project's modified flag on any edit.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class DialogHub;
class TDataEdit;
class QLabel;
class QGridLayout;

namespace tarnel::model {
class TProgramData;
}

namespace tarnel::dialogs {

class DialogBase : public QWidget {
  Q_OBJECT
 public:
  DialogBase(DialogHub* hub, const QString& caption);
  ~DialogBase() override;

  // Loads the project values into the fields (also units, labels, enabling).
  virtual void load();
  // Stores the fields in the project. Returns false (storing nothing) while the active
  // numeric field is invalid.
  bool store();
  // Runs validation of the focused numeric field; false keeps the dialog in front.
  bool commit();

  tarnel::model::TProgramData* project() const;
  DialogHub* hub() const { return hub_; }

 protected:
  // How a stored value is shown: as it is, in feet over inches stored (English / 12), or in
  // lb/ft^2 over lb/in^2 stored (English x 144).
  enum class Shown { AsStored, FeetOverInches, PsfOverPsi };
  // A numeric field bound to one project value.
  struct Binding {
    TDataEdit* edit = nullptr;
    std::function<double(const tarnel::model::TProgramData&)> get;
    std::function<void(tarnel::model::TProgramData&, double)> set;
    Shown shown_as = Shown::AsStored;
    long double shown = 0;  // value shown at load time, so unchanged fields keep full precision
  };

  // Creates a labelled numeric field in `grid` at `row` and binds it.
  TDataEdit* addNumber(QGridLayout* grid, int row, const QString& caption, const QString& unitTemplate,
                       std::function<double(const tarnel::model::TProgramData&)> get,
                       std::function<void(tarnel::model::TProgramData&, double)> set,
                       Shown shownAs = Shown::AsStored);
  // Stores the dialog's own (non-numeric) values.
  virtual void storeExtra(tarnel::model::TProgramData&) {}
  // Called after a store that changed switches, so the main window refreshes its menus.
  void markChanged();
  void markModified();

  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

  std::vector<Binding> bindings_;

 private:
  void onFocusChanged(QWidget* old, QWidget* now);
  static long double toShown(double stored, Shown how, int units);
  static double fromShown(long double shown, Shown how, int units);
  bool invalidActiveField() const;
  QPointer<DialogHub> hub_;  // the hub may go first when the main window closes down
  bool loading_ = false;
};

}  // namespace tarnel::dialogs
