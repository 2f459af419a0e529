#pragma once

#include "ui/Image.h"
#include "ui/PaintContext.h"
#include "ui/Window.h"

#include <QImage>
#include <QWidget>

class QPainter;

namespace qtui
{
/// A widget that shows what its window drew: the window's last display list, replayed with
/// QPainter in the window's own pixels. Used for every window that is not a standard control
/// (pictures, frames, drawing areas, trackers).
class PaintedWidget : public QWidget
{
public:
    PaintedWidget(ui::WindowHandle window, QWidget* parent);

    ui::WindowHandle window() const { return window_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ui::WindowHandle window_;
};

/// Draws a display list; `origin` is where the window's client area starts in the painter.
void replay(QPainter& painter, const ui::DisplayList& list, QPoint origin = {});
/// A bitmap of the model as an image, transparent where `mask` says so.
QImage toImage(const ui::Bitmap& bitmap, const ui::BitmapMask* mask = nullptr);
/// The picture an image of the model stands for (a resource of the current resources, else
/// its file), with `transparent` drawn as background; a null image when there is none.
QImage pictureOf(const ui::Image& image, COLORREF transparent);
} // namespace qtui
