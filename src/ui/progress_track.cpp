#include "progress_track.h"

#include <QFrame>
#include <algorithm>
#include <cmath>

namespace hextant::ui {

ProgressTrack::ProgressTrack(QWidget* parent) : QWidget(parent), bar_(new QFrame(this)) {
  bar_->setObjectName("Shape_Progres");
  bar_->setStyleSheet("background-color: #2a6fdb;");
  setMinimumSize(120, 18);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  Place();
}

void ProgressTrack::SetShare(double share) {
  share_ = std::clamp(share, 0.0, 1.0);
  Place();
}

void ProgressTrack::resizeEvent(QResizeEvent*) {
  Place();
}

void ProgressTrack::Place() {
  bar_->setGeometry(0, 0, static_cast<int>(std::lround(share_ * width())), height());
}

}  // namespace hextant::ui
