// CViewArea: the left part of the main window. It keeps the 3D view at an aspect ratio of 4:3,
// as large as the area allows and centred in it, with the coordinate readouts right above the
// view and the mode texts right below it.
#pragma once

#include <QWidget>

namespace y4 {

class CViewArea : public QWidget {
    Q_OBJECT

public:
    // `above`, `view` and `below` become children of the area.
    CViewArea(QWidget* above, QWidget* view, QWidget* below, QWidget* parent);

    // Puts `view` in place of the current view (the old one is deleted) and returns it.
    QWidget* replaceView(QWidget* view);
    QWidget* view() const { return view_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeChildren();

    QWidget* above_;
    QWidget* view_;
    QWidget* below_;
};

}  // namespace y4
