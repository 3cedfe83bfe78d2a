#pragma once
#include <QIcon>
#include <QPixmap>
#include <QRect>

class QWidget;

namespace quillet {

bool IsX11();
// True when a compositing manager runs, so per-pixel transparency shows.
bool HasCompositor();
// The program's icon, drawn rather than loaded so nothing can be missing:
// 0 the normal icon, 1 the alarm announcement, 2 its flashing alternate.
QIcon QuilletIcon(int variant = 0);
// One size of that drawing; the build makes the installed icon files from it.
QPixmap QuilletIconPixmap(int size, int variant = 0);
// The available desktop area of the screen under the point (or the primary one).
QRect WorkArea(const QPoint* at = nullptr);
QRect VirtualScreen();
// Shows a window on every workspace, or only on the current one: sticky in
// the window manager's words. Works on windows shown or about to be.
void SetOnAllWorkspaces(QWidget* window, bool on);
// The top-left corner of a window's frame on the screen, as the X server and
// the window manager have it now, even where the toolkit has not heard of the
// frame yet.
QPoint FrameCorner(QWidget* window);

}  // namespace quillet
