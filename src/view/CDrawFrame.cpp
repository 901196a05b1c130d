// The 3D view widget.
#include "CDrawFrame.h"

#include <GL/gl.h>

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <utility>

#include "ViewMouseHandler.h"
#include "ViewNavigationHandler.h"

namespace y4 {

CDrawFrame::CDrawFrame(const DisplaySettings& display, ProjectionSettings& projection,
                       const GridSettings& grid, QWidget* parent)
    : QOpenGLWidget(parent),
      grid_(grid),
      view_(display, projection, grid),
      textureDevice_([this] { makeCurrent(); }) {
    setObjectName("Main Draw Frame");
    setAccessibleName("Main Draw Frame");
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(0);
    setFormat(format);
    // The buffer keeps a frame that render() drew until Qt shows it.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setMouseTracking(true);
    // A click gives the view the keyboard, for the camera keys.
    setFocusPolicy(Qt::ClickFocus);
}

CDrawFrame::~CDrawFrame() {
    withContext([this] { view_.backdrops().releaseTextures(); });
}

void CDrawFrame::withContext(const std::function<void()>& work) {
    if (!contextReady_) {
        return;
    }
    makeCurrent();
    work();
    doneCurrent();
}

QSize CDrawFrame::devicePixelSize() const {
    return size() * devicePixelRatio();
}

void CDrawFrame::updateViewportSize() {
    const QSize pixels = devicePixelSize();
    view_.setViewportSize(pixels.width(), pixels.height());
}

void CDrawFrame::initializeGL() {
    contextReady_ = true;
    updateViewportSize();
    view_.initGL();
    view_.backdrops().createTextures(grid_);
}

void CDrawFrame::resizeGL(int, int) {
    frameDrawn_ = false;
    // Qt gives the size in device-independent pixels; GL works in device pixels.
    updateViewportSize();
    view_.setProjection();
}

void CDrawFrame::paintGL() {
    // A frame that render() just drew is shown as it is.
    if (std::exchange(frameDrawn_, false)) {
        return;
    }
    drawFrame();
}

bool CDrawFrame::drawFrame() {
    if (!frameTimer_) {
        return view_.render();
    }
    QElapsedTimer timer;
    timer.start();
    const bool drawn = view_.render();
    glFinish();
    if (drawn) {
        frameTimer_(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return drawn;
}

void CDrawFrame::setFrameTimer(std::function<void(double milliseconds)> report) {
    frameTimer_ = std::move(report);
}

void CDrawFrame::render() {
    if (view_.renderBusy() || !contextReady_ || !isVisible()) {
        return;
    }
    // Drawn into the widget's buffer now; the window shows it when Qt next composes it.
    makeCurrent();
    frameDrawn_ = drawFrame();
    update();
}

void CDrawFrame::finishFrames() {
    withContext([] { glFinish(); });
}

void CDrawFrame::setLighting() {
    withContext([this] { view_.setLighting(); });
}

void CDrawFrame::setProjection() {
    withContext([this] {
        updateViewportSize();
        view_.setProjection();
    });
}

void CDrawFrame::setPerspective() {
    withContext([this] { view_.setProjectionMode(ProjectionSettings::kPerspective); });
    render();
}

void CDrawFrame::setOrthogonal() {
    withContext([this] { view_.setProjectionMode(ProjectionSettings::kOrthogonal); });
    render();
}

void CDrawFrame::resetForModel(const Reader* reader) {
    view_.resetForModel(reader);
    setProjection();
}

void CDrawFrame::loadBackdrops(const GridSettings& grid) {
    if (contextReady_) {
        makeCurrent();
    }
    view_.backdrops().load(grid);
    if (contextReady_) {
        doneCurrent();
    }
}

void CDrawFrame::setBackdropImage(Backdrops::Plane plane, const RGBImage& image) {
    if (contextReady_) {
        makeCurrent();
    }
    view_.backdrops().setImage(plane, image);
    if (contextReady_) {
        doneCurrent();
    }
}

void CDrawFrame::setSceneHook(std::function<void(int mouseMode)> drawScene) {
    view_.drawScene = std::move(drawScene);
}

QPoint CDrawFrame::devicePosition(const QMouseEvent* event) const {
    return (event->position() * devicePixelRatio()).toPoint();
}

// The view's own mouse events stay with it: passed on, they would reach the main window's
// background handlers, which end a drag.
void CDrawFrame::mousePressEvent(QMouseEvent* event) {
    dropStaleNavigation(event);
    if (navigationPress(event)) {
        event->accept();
        return;
    }
    // A left press during a navigating drag waits for its end.
    if (navigationButton_ != Qt::NoButton) {
        event->accept();
        return;
    }
    if (mouseHandler_ && event->button() == Qt::LeftButton) {
        const QPoint p = devicePosition(event);
        mouseHandler_->OnLButtonDown(p.x(), p.y());
        event->accept();
        return;
    }
    QOpenGLWidget::mousePressEvent(event);
}

void CDrawFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (navigationRelease(event)) {
        event->accept();
        return;
    }
    if (mouseHandler_ && event->button() == Qt::LeftButton) {
        const QPoint p = devicePosition(event);
        mouseHandler_->OnLButtonUp(p.x(), p.y());
        event->accept();
        return;
    }
    QOpenGLWidget::mouseReleaseEvent(event);
}

void CDrawFrame::keyPressEvent(QKeyEvent* event) {
    if (mouseHandler_ && mouseHandler_->OnKeyDown(event->key())) {
        event->accept();
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}

void CDrawFrame::mouseMoveEvent(QMouseEvent* event) {
    dropStaleNavigation(event);
    if (navigationButton_ != Qt::NoButton && navigationHandler_) {
        const QPoint p = devicePosition(event);
        navigationHandler_->dragTo(p.x(), p.y());
    }
    if (mouseHandler_) {
        const QPoint p = devicePosition(event);
        mouseHandler_->OnMouseMove(p.x(), p.y());
        event->accept();
        return;
    }
    QOpenGLWidget::mouseMoveEvent(event);
}

bool CDrawFrame::navigationPress(const QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (navigationHandler_ == nullptr || navigationButton_ != Qt::NoButton ||
        (button != Qt::MiddleButton && button != Qt::RightButton)) {
        return false;
    }
    // A left-button drag under way keeps the pointer to itself.
    if ((event->buttons() & Qt::LeftButton) != 0) {
        return true;
    }
    const bool pan = button == Qt::RightButton || (event->modifiers() & Qt::ShiftModifier) != 0;
    navigationButton_ = button;
    const QPoint p = devicePosition(event);
    navigationHandler_->beginDrag(pan ? ViewNavigationHandler::kPan : ViewNavigationHandler::kOrbit,
                                  p.x(), p.y());
    return true;
}

// A navigating drag whose button is no longer held (its release went elsewhere) ends, so that
// the left button is not kept waiting for it.
void CDrawFrame::dropStaleNavigation(const QMouseEvent* event) {
    if (navigationButton_ == Qt::NoButton || (event->buttons() & navigationButton_) != 0) {
        return;
    }
    navigationButton_ = Qt::NoButton;
    if (navigationHandler_) {
        navigationHandler_->endDrag();
    }
}

bool CDrawFrame::navigationRelease(const QMouseEvent* event) {
    if (navigationButton_ == Qt::NoButton || event->button() != navigationButton_) {
        return navigationButton_ != Qt::NoButton && event->button() != Qt::LeftButton;
    }
    navigationButton_ = Qt::NoButton;
    if (navigationHandler_) {
        navigationHandler_->endDrag();
    }
    return true;
}

void CDrawFrame::wheelEvent(QWheelEvent* event) {
    // A common wheel turns 120 eighths of a degree per notch.
    const double notches = event->angleDelta().y() / 120.0;
    if (navigationHandler_ == nullptr || notches == 0) {
        QOpenGLWidget::wheelEvent(event);
        return;
    }
    navigationHandler_->wheel(notches);
    event->accept();
}

}  // namespace y4
