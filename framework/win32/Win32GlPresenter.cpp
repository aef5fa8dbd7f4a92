// Presenting through OpenGL; see the header.
#include "framework/win32/Win32GlPresenter.h"

#include "framework/PictureFit.h"
#include "framework/graphics/Screen.h"

#include <windows.h>
#include <GL/gl.h>

namespace lum {

void Win32GlPresenter::place(const PictureFit& fit) {
    if (fit.getImageWidth() == 0 || fit.getImageHeight() == 0) return;
    // OpenGL counts rows upwards from the bottom of the window.
    const int bottom = fit.getOutputHeight() - fit.getY() - fit.getHeight();
    glViewport(fit.getX(), bottom, fit.getWidth(), fit.getHeight());
    // With no transformation set, (-1, -1) is the viewport's lower left corner.
    glRasterPos2i(-1, -1);
    glPixelZoom(static_cast<GLfloat>(fit.getWidth()) / static_cast<GLfloat>(fit.getImageWidth()),
                static_cast<GLfloat>(fit.getHeight()) / static_cast<GLfloat>(fit.getImageHeight()));
}

void Win32GlPresenter::present(void* deviceContext, const Screen& screen) {
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawPixels(static_cast<GLsizei>(screen.getWidth()), static_cast<GLsizei>(screen.getHeight()), GL_RGBA,
                 GL_UNSIGNED_BYTE, screen.getPixels());
    SwapBuffers(static_cast<HDC>(deviceContext));
}

} // namespace lum
