#pragma once

#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

namespace qtui
{
/// A text of the model as a person sees it: through the one 8-bit-to-screen rule.
QString toScreen(std::string_view bytes);
/// What a person typed, as the bytes the model keeps (UTF-8, the encoding of texts typed here).
std::string fromScreen(const QString& text);
/// A colour of the model (0x00BBGGRR, or a system colour with the high bit set).
QColor toColor(COLORREF colour);
QRect toQRect(const ui::Rect& rect);
/// The screen font for a font of the model. Dialog fonts are given in points (8 for the
/// usual dialog font), larger heights in pixels; the face is the screen's sans-serif face,
/// narrow enough that texts fit the rectangles the templates give them.
QFont toFont(const ui::Font& font);
/// The character height in pixels of a font height of the model (see toFont).
int fontPixels(int height);
/// The face every mirrored widget uses.
QString dialogFace();
} // namespace qtui
