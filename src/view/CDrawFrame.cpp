// The 3D view widget.
#include "CDrawFrame.h"

#include <QMouseEvent>
#include <QSurfaceFormat>
#include <utility>

#include "ViewMouseHandler.h"

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
    view_.render();
}

void CDrawFrame::render() {
    if (view_.renderBusy() || !contextReady_ || !isVisible()) {
        return;
    }
    // Drawn into the widget's buffer now; the window shows it when Qt next composes it.
    makeCurrent();
    frameDrawn_ = view_.render();
    update();
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

void CDrawFrame::setSceneHook(std::function<void(int mouseMode)> drawScene) {
    view_.drawScene = std::move(drawScene);
}

QPoint CDrawFrame::devicePosition(const QMouseEvent* event) const {
    return (event->position() * devicePixelRatio()).toPoint();
}

void CDrawFrame::mousePressEvent(QMouseEvent* event) {
    if (mouseHandler_ && event->button() == Qt::LeftButton) {
        const QPoint p = devicePosition(event);
        mouseHandler_->OnLButtonDown(p.x(), p.y());
    }
    QOpenGLWidget::mousePressEvent(event);
}

void CDrawFrame::mouseReleaseEvent(QMouseEvent* event) {
    if (mouseHandler_ && event->button() == Qt::LeftButton) {
        const QPoint p = devicePosition(event);
        mouseHandler_->OnLButtonUp(p.x(), p.y());
    }
    QOpenGLWidget::mouseReleaseEvent(event);
}

void CDrawFrame::mouseMoveEvent(QMouseEvent* event) {
    if (mouseHandler_) {
        const QPoint p = devicePosition(event);
        mouseHandler_->OnMouseMove(p.x(), p.y());
    }
    QOpenGLWidget::mouseMoveEvent(event);
}

}  // namespace y4
