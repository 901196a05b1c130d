// CDrawFrame: the 3D view window, a QOpenGLWidget around a ViewRenderer. It holds the
// program's one GL context and makes it current for every GL call it makes or hands out (the
// texture device, the backdrop uploads). Sizes and positions are in device pixels, so a
// high-density screen draws and picks correctly. Mouse input goes to a ViewMouseHandler.
#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "GLTextureDevice.h"
#include "ViewRenderer.h"

namespace y4 {

class ViewMouseHandler;
class ViewNavigationHandler;

class CDrawFrame : public QOpenGLWidget {
public:
    // The settings belong to the main window and must outlive the view.
    CDrawFrame(const DisplaySettings& display, ProjectionSettings& projection,
               const GridSettings& grid, QWidget* parent = nullptr);
    ~CDrawFrame() override;

    ViewRenderer& view() { return view_; }
    // Makes the model's textures in this view's context.
    TextureDevice& textureDevice() { return textureDevice_; }
    // Whether the GL context exists (the view was shown once).
    bool hasContext() const { return contextReady_; }

    // Draws a frame at once (the window shows it when Qt next composes the window). Asked for
    // while a frame is being drawn, or before the view was shown, does nothing.
    void render();
    // Waits until the GL has drawn every frame asked for so far (for measurements).
    void finishFrames();
    // The Display and Projection settings took effect; the Perspective and Orthogonal pair.
    void setLighting();
    void setProjection();
    void setPerspective();
    void setOrthogonal();
    // The view's part of loading a model (or of having none): camera reset and placed for the
    // model, perspective projection.
    void resetForModel(const Reader* reader);
    // The grid loader's backdrop reload.
    void loadBackdrops(const GridSettings& grid);
    // A bitmap the user chose for a backdrop plane, shown at once.
    void setBackdropImage(Backdrops::Plane plane, const RGBImage& image);

    // Runs `work` with the context current, once it exists; before that, not at all.
    void withContext(const std::function<void()>& work);

    // The frame's model part (see ViewRenderer::drawScene).
    void setSceneHook(std::function<void(int mouseMode)> drawScene);
    void setMouseHandler(ViewMouseHandler* handler) { mouseHandler_ = handler; }
    // The middle button orbits, Shift with the middle button or the right button pans, and the
    // wheel zooms, whatever the left button does.
    void setNavigationHandler(ViewNavigationHandler* handler) { navigationHandler_ = handler; }
    // Reports how long each frame took to draw, in milliseconds, waiting for the GL to finish
    // it; null stops timing.
    void setFrameTimer(std::function<void(double milliseconds)> report);
    // The drawing area in device pixels.
    QSize devicePixelSize() const;

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPoint devicePosition(const QMouseEvent* event) const;
    void updateViewportSize();
    // The frame, timed when asked.
    bool drawFrame();
    // Presses and releases of the navigating buttons; false leaves the event to the left
    // button's handling.
    bool navigationPress(const QMouseEvent* event);
    bool navigationRelease(const QMouseEvent* event);
    void dropStaleNavigation(const QMouseEvent* event);

    const GridSettings& grid_;
    ViewRenderer view_;
    GLTextureDevice textureDevice_;
    ViewMouseHandler* mouseHandler_ = nullptr;
    ViewNavigationHandler* navigationHandler_ = nullptr;
    std::function<void(double)> frameTimer_;
    // The button of the navigating drag under way, or none.
    Qt::MouseButton navigationButton_ = Qt::NoButton;
    bool contextReady_ = false;
    // A frame drawn by render() and not yet shown.
    bool frameDrawn_ = false;
};

}  // namespace y4
