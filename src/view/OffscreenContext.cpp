// The surfaceless EGL context and its pixel buffer.
#include "OffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

namespace y4 {

namespace {

std::string eglFailure(const char* step) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(eglGetError()));
    return std::string("Error: no off-screen OpenGL: ") + step + " failed (EGL error " + code + ")";
}

EGLDisplay surfacelessDisplay() {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

std::unique_ptr<OffscreenContext> OffscreenContext::create(int width, int height,
                                                           std::string* error) {
    std::unique_ptr<OffscreenContext> c(new OffscreenContext);
    const auto fail = [&](const char* step) -> std::unique_ptr<OffscreenContext> {
        if (error) {
            *error = eglFailure(step);
        }
        return nullptr;
    };
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY) {
        return fail("opening the surfaceless display");
    }
    if (!eglInitialize(display, nullptr, nullptr)) {
        return fail("eglInitialize");
    }
    c->display_ = display;
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       0,
                                       EGL_DEPTH_SIZE,
                                       24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs < 1) {
        return fail("choosing a pixel format");
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    c->surface_ = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (c->surface_ == EGL_NO_SURFACE) {
        return fail("creating the pixel buffer");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        return fail("eglBindAPI");
    }
    c->context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (c->context_ == EGL_NO_CONTEXT) {
        return fail("creating the context");
    }
    c->width_ = width;
    c->height_ = height;
    if (!eglMakeCurrent(display, c->surface_, c->surface_, c->context_)) {
        return fail("eglMakeCurrent");
    }
    return c;
}

OffscreenContext::~OffscreenContext() {
    if (!display_) {
        return;
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_) {
        eglDestroyContext(display_, context_);
    }
    if (surface_) {
        eglDestroySurface(display_, surface_);
    }
}

void OffscreenContext::makeCurrent() {
    eglMakeCurrent(display_, surface_, surface_, context_);
}

}  // namespace y4
