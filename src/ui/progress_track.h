#pragma once

#include <QWidget>

class QFrame;

namespace hextant::ui {

/// The track of the conversion page's progress bar `Shape_Progres`: the bar fills the given share
/// of the track's width, so 100 % fills the track however wide the page is.
class ProgressTrack : public QWidget {
 public:
  explicit ProgressTrack(QWidget* parent = nullptr);

  QFrame* Bar() const { return bar_; }
  /// Sets the filled share of the track, 0 to 1.
  void SetShare(double share);
  double Share() const { return share_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Place();

  QFrame* bar_;
  double share_ = 0;
};

}  // namespace hextant::ui
