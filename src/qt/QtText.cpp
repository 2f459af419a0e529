#include "qt/QtText.h"

#include "ui/ScreenText.h"

#include <QFontDatabase>

namespace qtui
{
QString toScreen(std::string_view bytes)
{
    return QString::fromStdString(ui::screenText(bytes));
}

std::string fromScreen(const QString& text)
{
    return text.toStdString();
}

QColor toColor(COLORREF colour)
{
    if ((colour & 0x80000000u) != 0)
        colour = GetSysColor(static_cast<int>(colour & 0xFFu));
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

QRect toQRect(const ui::Rect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QString dialogFace()
{
    // The condensed face comes closest to the width of the platform's dialog font, for which
    // the templates were laid out; any sans-serif face does where it is missing.
    static const QString face = []
    {
        const QStringList families = QFontDatabase::families();
        for (const char* wanted :
             {"DejaVu Sans Condensed", "Liberation Sans Narrow", "Liberation Sans", "DejaVu Sans"})
            if (families.contains(QString::fromLatin1(wanted)))
                return QString::fromLatin1(wanted);
        return QString::fromLatin1("Sans Serif");
    }();
    return face;
}

int fontPixels(int height)
{
    if (height < 0)
        return -height;
    if (height == 0)
        return 11;
    // Up to 12 the height reads as points at the platform's 96 dots per inch; a larger one is
    // the height of a text line, of which the characters take four fifths.
    return height <= 12 ? (height * 96 + 36) / 72 : (height * 4 + 2) / 5;
}

QFont toFont(const ui::Font& font)
{
    QFont result(dialogFace());
    result.setPixelSize(fontPixels(font.height));
    result.setBold(font.weight >= 600);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}
} // namespace qtui
