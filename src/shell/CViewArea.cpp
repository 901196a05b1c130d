// CViewArea: the 4:3 placement of the view and its readout and mode rows.
#include "shell/CViewArea.h"

#include <algorithm>

namespace y4 {

namespace {
// Space between the view and the rows above and below it.
constexpr int kGap = 5;
}  // namespace

CViewArea::CViewArea(QWidget* above, QWidget* view, QWidget* below, QWidget* parent)
    : QWidget(parent), above_(above), view_(view), below_(below) {
    for (QWidget* child : {above_, view_, below_}) {
        child->setParent(this);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QWidget* CViewArea::replaceView(QWidget* view) {
    delete view_;
    view_ = view;
    view_->setParent(this);
    view_->show();
    placeChildren();
    return view_;
}

QSize CViewArea::sizeHint() const {
    const int width = 800;
    return {width,
            width * 3 / 4 + above_->sizeHint().height() + below_->sizeHint().height() + 2 * kGap};
}

QSize CViewArea::minimumSizeHint() const {
    const int width = 320;
    return {width,
            width * 3 / 4 + above_->sizeHint().height() + below_->sizeHint().height() + 2 * kGap};
}

void CViewArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
}

void CViewArea::placeChildren() {
    const int aboveHeight = above_->sizeHint().height();
    const int belowHeight = below_->sizeHint().height();
    const int rows = aboveHeight + belowHeight + 2 * kGap;
    // The widest 4:3 view that fits; never so small that a projection would divide by zero.
    int viewWidth = width();
    int viewHeight = viewWidth * 3 / 4;
    if (viewHeight > height() - rows) {
        viewHeight = std::max(height() - rows, 3);
        viewWidth = viewHeight * 4 / 3;
    }
    viewWidth = std::max(viewWidth, 4);
    const int left = (width() - viewWidth) / 2;
    const int top = std::max((height() - rows - viewHeight) / 2, 0);
    above_->setGeometry(left, top, viewWidth, aboveHeight);
    view_->setGeometry(left, top + aboveHeight + kGap, viewWidth, viewHeight);
    below_->setGeometry(left, top + aboveHeight + kGap + viewHeight + kGap, viewWidth, belowHeight);
}

}  // namespace y4
