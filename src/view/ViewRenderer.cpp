// The fixed GL state, the light, the projections, the camera and the frame.
#include "ViewRenderer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "AxesAndGrids.h"
#include "files/Reader.h"

namespace y4 {

namespace {
// The modelview matrix pushed for a part of the frame and popped after it, also when the part
// throws.
class ModelviewScope {
public:
    ModelviewScope() { glPushMatrix(); }
    ~ModelviewScope() { glPopMatrix(); }
    ModelviewScope(const ModelviewScope&) = delete;
    ModelviewScope& operator=(const ModelviewScope&) = delete;
};
}  // namespace

ViewRenderer::ViewRenderer(const DisplaySettings& display, ProjectionSettings& projection,
                           const GridSettings& grid)
    : display_(display), projection_(projection), grid_(grid) {}

void ViewRenderer::initGL() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glPolygonMode(GL_BACK, GL_LINE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setLighting();
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    const float specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, 128.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    setProjection();
}

void ViewRenderer::setLighting() {
    const DisplaySettings& d = display_;
    glClearColor(d.backgroundR, d.backgroundG, d.backgroundB, d.backgroundA);
    const float ambient[] = {d.ambientR, d.ambientG, d.ambientB, d.ambientA};
    const float diffuse[] = {d.diffuseR, d.diffuseG, d.diffuseB, d.diffuseA};
    const float specular[] = {d.specularR, d.specularG, d.specularB, d.specularA};
    const float position[] = {d.lightPosX, d.lightPosY, d.lightPosZ, d.lightPosDistance};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    // Given under the identity, the light stays fixed relative to the eye.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glPopMatrix();
    glEnable(GL_LIGHT0);
}

void ViewRenderer::setViewportSize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
}

void ViewRenderer::setProjection() {
    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const ProjectionSettings& p = projection_;
    if (p.projectionMode == ProjectionSettings::kPerspective) {
        // A view squeezed to no height (or width) has no aspect ratio; any will do until it
        // grows again.
        const double aspect = width_ > 0 && height_ > 0
                                  ? static_cast<double>(width_) / static_cast<double>(height_)
                                  : 1.0;
        gluPerspective(p.perspective1, aspect, p.perspective2, p.perspective3);
    } else {
        glOrtho(p.orthogonal1, p.orthogonal2, p.orthogonal3, p.orthogonal4, p.orthogonal5,
                p.orthogonal6);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void ViewRenderer::setProjectionMode(int mode) {
    projection_.projectionMode = mode;
    setProjection();
}

void ViewRenderer::resetView() {
    cameraRotation[0] = kResetRotationX;
    cameraRotation[1] = kResetRotationY;
    cameraRotation[2] = 0;
    cameraTranslation[0] = cameraTranslation[1] = cameraTranslation[2] = 0;
    mouseMode = 0;
    editKind = 0;
}

void ViewRenderer::placeCamera(const Reader& reader) {
    const float z = -4 * (reader.maxX + reader.maxY + reader.maxZ) / 3;
    cameraTranslation[2] = z > kNearestStart ? kNearestStart : z;
}

void ViewRenderer::resetForModel(const Reader* reader) {
    resetView();
    if (reader) {
        placeCamera(*reader);
    }
    projection_.projectionMode = ProjectionSettings::kPerspective;
}

void ViewRenderer::applyCamera() const {
    glTranslatef(cameraTranslation[0], cameraTranslation[1], cameraTranslation[2]);
    glRotatef(cameraRotation[0], 1, 0, 0);
    glRotatef(-cameraRotation[1], 0, 1, 0);
    glRotatef(cameraRotation[2], 0, 0, 1);
}

bool ViewRenderer::render() {
    if (renderBusy_) {
        return false;
    }
    renderBusy_ = true;
    // Cleared however the frame ends.
    struct Guard {
        bool& busy;
        ~Guard() { busy = false; }
    } guard{renderBusy_};
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPointSize(5.0f);
    glMatrixMode(GL_MODELVIEW);
    {
        const ModelviewScope scope;
        applyCamera();
        glGetDoublev(GL_MODELVIEW_MATRIX, savedModelview);
        glGetDoublev(GL_PROJECTION_MATRIX, savedProjection);
        glGetIntegerv(GL_VIEWPORT, savedViewport);
        if (drawScene) {
            drawScene(mouseMode);
        }
    }
    if (drawAxesGridsAndBackdrops) {
        const ModelviewScope scope;
        applyCamera();
        AxesAndGrids::draw(grid_);
        backdrops_.draw(grid_);
    }
    glFlush();
    ++frames_;
    return true;
}

}  // namespace y4
