#include "qt/PaintedWidget.h"

#include "qt/QtText.h"
#include "ui/ResourceModule.h"
#include "ui/Static.h"

#include <QPainter>
#include <QPen>

namespace qtui
{
QImage toImage(const ui::Bitmap& bitmap, const ui::BitmapMask* mask)
{
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
        {
            const COLORREF c = bitmap.pixel(x, y);
            const bool clear = mask != nullptr && mask->isTransparent(x, y);
            image.setPixel(x, y,
                           qRgba(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                                 static_cast<int>((c >> 16) & 0xFFu), clear ? 0 : 255));
        }
    return image;
}

QImage pictureOf(const ui::Image& image, COLORREF transparent)
{
    std::shared_ptr<const ui::Bitmap> pixels;
    if (image.resourceId != 0)
        pixels = image.kind == ui::Image::Kind::Icon ? ui::loadIconPixels(image.resourceId)
                                                     : ui::loadBitmapPixels(image.resourceId);
    if (!pixels && !image.file.empty())
    {
        std::string error;
        if (std::optional<ui::Bitmap> read = ui::Bitmap::load(image.file, error))
            pixels = std::make_shared<const ui::Bitmap>(std::move(*read));
    }
    if (!pixels)
        return {};
    const ui::BitmapMask mask = pixels->maskFor(transparent);
    return toImage(*pixels, &mask);
}

namespace
{
int textFlags(unsigned format)
{
    int flags = 0;
    if ((format & DT_CENTER) != 0)
        flags |= Qt::AlignHCenter;
    else if ((format & DT_RIGHT) != 0)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if ((format & DT_VCENTER) != 0 && (format & DT_SINGLELINE) != 0)
        flags |= Qt::AlignVCenter;
    else
        flags |= Qt::AlignTop;
    if ((format & DT_WORDBREAK) != 0)
        flags |= Qt::TextWordWrap;
    return flags;
}

void drawTracker(QPainter& painter, const QRect& r, int handle)
{
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    if (handle <= 0)
        return;
    const int xs[] = {r.left(), r.center().x() - handle / 2, r.right() - handle + 1};
    const int ys[] = {r.top(), r.center().y() - handle / 2, r.bottom() - handle + 1};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1)
                painter.fillRect(QRect(xs[i], ys[j], handle, handle), Qt::black);
}
} // namespace

void replay(QPainter& painter, const ui::DisplayList& list, QPoint origin)
{
    painter.save();
    painter.translate(origin);
    for (const ui::DrawOp& op : list.ops)
    {
        const QRect r = toQRect(op.rect);
        switch (op.kind)
        {
        case ui::DrawKind::FillRect:
            painter.fillRect(r, toColor(op.colour));
            break;
        case ui::DrawKind::FrameRect:
            for (int i = 0; i < op.thickness && 2 * i < r.width() && 2 * i < r.height(); ++i)
            {
                painter.setPen(QPen(toColor(op.colour), 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r.adjusted(i, i, -i - 1, -i - 1));
            }
            break;
        case ui::DrawKind::FocusRect:
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            break;
        case ui::DrawKind::Line:
            painter.setPen(QPen(toColor(op.colour), op.thickness));
            painter.drawLine(QPoint(op.from.x, op.from.y), QPoint(op.to.x, op.to.y));
            break;
        case ui::DrawKind::Text:
            if (op.backgroundMode == OPAQUE)
                painter.fillRect(r, toColor(op.background));
            painter.setFont(toFont(op.font));
            painter.setPen(toColor(op.colour));
            painter.drawText(r, textFlags(op.format), toScreen(op.text));
            break;
        case ui::DrawKind::Bitmap:
            if (op.bitmap)
                painter.drawImage(r, toImage(*op.bitmap, op.mask.get()));
            break;
        case ui::DrawKind::TrackerHandles:
            drawTracker(painter, r, op.handleSize);
            break;
        }
    }
    painter.restore();
}

PaintedWidget::PaintedWidget(ui::WindowHandle window, QWidget* parent) : QWidget(parent), window_(window)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PaintedWidget::paintEvent(QPaintEvent*)
{
    ui::Window* w = ui::Window::FromHandle(window_);
    if (w == nullptr)
        return;
    QPainter painter(this);
    const ui::Rect frame = w->frameThickness();
    const QPoint origin = w->isChildWindow() ? QPoint(frame.left, frame.top) : QPoint();
    replay(painter, w->displayList(), origin);
    // A picture control made from a template names its picture without holding its pixels.
    if (auto* label = dynamic_cast<ui::Static*>(w); label != nullptr && label->image() && !label->pixels())
    {
        const QImage picture = pictureOf(*label->image(), RGB(255, 255, 255));
        if (!picture.isNull())
        {
            QPoint at = origin;
            if ((label->GetStyle() & SS_CENTERIMAGE) != 0)
                at += QPoint((w->GetClientRect().Width() - picture.width()) / 2,
                             (w->GetClientRect().Height() - picture.height()) / 2);
            painter.drawImage(at, picture);
        }
    }
}
} // namespace qtui
