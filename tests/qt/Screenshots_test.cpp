// Every dialog command opens its dialog on the screen, and its picture shows a dialog.

#include "GuiTestSupport.h"
#include "ui/PaintContext.h"
#include "ui/Static.h"

#include <QImage>
#include <QProcess>
#include <algorithm>
#include <fstream>
#include <gmock/gmock.h>
#include <map>
#include <optional>
#include <set>

namespace
{
using guitest::GuiTest;
namespace fs = std::filesystem;

/// A picture that shows something: many colours (text, frames, cells) and dark pixels
/// (captions) on a light face.
void expectDialogPicture(const std::string& path, QSize size)
{
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_EQ(image.size(), size);
    std::set<QRgb> colours;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
        {
            const QRgb c = image.pixel(x, y);
            colours.insert(c);
            dark += qGray(c) < 96 ? 1 : 0;
        }
    EXPECT_GE(colours.size(), 16u) << path << " looks blank";
    EXPECT_GT(dark, image.width() * image.height() / 2000) << path << " shows no text";
}

/// Where a window of a dialog draws a picture: the picture's place in the dialog's client
/// area as the model lays it out, and which of its pixels show through.
struct PlacedPicture
{
    QPoint at;
    QSize size;
    std::shared_ptr<const ui::BitmapMask> mask;
    /// The windows drawn over the picture (the template's controls), in the same coordinates.
    std::vector<QRect> covered;
};

/// Where `window` lies in the dialog's client area.
QRect placeIn(const ui::Dialog& dialog, const ui::Window& window)
{
    ui::Rect rect = window.GetWindowRect();
    dialog.ScreenToClient(rect);
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

void collectCovering(const ui::Dialog& dialog, const ui::Window& window, std::vector<QRect>& out)
{
    for (const ui::Window* child : window.children())
        if (child->IsWindowVisible())
        {
            // An empty label only frames its area (the template's area is one); the picture
            // shows through it.
            const auto* label = dynamic_cast<const ui::Static*>(child);
            if (label == nullptr || !label->GetWindowText().empty() || label->image())
                out.push_back(placeIn(dialog, *child));
            collectCovering(dialog, *child, out);
        }
}

/// The first picture drawn by the dialog or one of its windows, depth first.
std::optional<PlacedPicture> findPicture(const ui::Dialog& dialog, const ui::Window& window)
{
    for (const ui::DrawOp& op : window.displayList().ops)
        if (op.kind == ui::DrawKind::Bitmap && op.bitmap)
        {
            ui::Point origin(0, 0), dialogOrigin(0, 0);
            window.ClientToScreen(origin);
            dialog.ClientToScreen(dialogOrigin);
            PlacedPicture found{
                QPoint(origin.x - dialogOrigin.x + op.rect.left, origin.y - dialogOrigin.y + op.rect.top),
                QSize(op.rect.Width(), op.rect.Height()),
                op.mask,
                {}};
            collectCovering(dialog, window, found.covered);
            return found;
        }
    for (const ui::Window* child : window.children())
        if (child->IsWindowVisible())
            if (std::optional<PlacedPicture> found = findPicture(dialog, *child))
                return found;
    return std::nullopt;
}

/// The template's bitmap file shows in the picture where the dialog's layout puts it: its opaque
/// pixels that no control covers are in the picture unchanged (a few may differ at the edges).
void expectTemplateBitmap(const std::string& png, const std::string& bmp, const PlacedPicture& placed)
{
    const QImage picture(QString::fromStdString(png));
    const QImage bitmap(QString::fromStdString(bmp));
    ASSERT_FALSE(bitmap.isNull()) << bmp;
    ASSERT_EQ(placed.size, bitmap.size()) << "the template's bitmap is drawn at its own size";
    int opaque = 0, same = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
        {
            const QPoint at = placed.at + QPoint(x, y);
            if ((placed.mask && placed.mask->isTransparent(x, y)) ||
                std::any_of(placed.covered.begin(), placed.covered.end(),
                            [&](const QRect& r) { return r.contains(at); }))
                continue;
            ++opaque;
            if (picture.rect().contains(at) &&
                (picture.pixel(at) & 0xFFFFFFu) == (bitmap.pixel(x, y) & 0xFFFFFFu))
                ++same;
        }
    EXPECT_GT(opaque, bitmap.width() * bitmap.height() / 10) << bmp;
    EXPECT_GE(same * 100, opaque * 99)
        << png << ": the template's bitmap is not at (" << placed.at.x() << ", " << placed.at.y() << ")";
}

class GuiScreenshotTest : public GuiTest
{
protected:
    /// Runs the command once to learn the size of its dialog (ended at once), then with
    /// --screenshot, and checks the picture; with `bitmap`, the picture shows that template
    /// bitmap where the dialog's layout puts it.
    void shoot(const std::string& name, const std::vector<std::string>& args, const std::string& bitmap = {})
    {
        QSize shown;
        std::optional<PlacedPicture> placed;
        renderer().setModalHook(
            [&](ui::Dialog& dialog, QWidget& widget)
            {
                const ui::Rect client = dialog.GetClientRect();
                shown = QSize(client.Width(), client.Height());
                placed = findPicture(dialog, dialog);
                EXPECT_TRUE(widget.isVisible());
                dialog.EndDialog(IDCANCEL);
            });
        ASSERT_EQ(run(args), 0) << name;
        const std::string png = (root_ / (name + ".png")).string();
        std::vector<std::string> withPicture{"--screenshot", png};
        withPicture.insert(withPicture.end(), args.begin(), args.end());
        ASSERT_EQ(run(withPicture), 0) << name;
        expectDialogPicture(png, shown);
        if (bitmap.empty())
            return;
        ASSERT_TRUE(placed.has_value()) << name << " draws no picture";
        expectTemplateBitmap(png, bitmap, *placed);
    }
};

TEST_F(GuiScreenshotTest, EveryDialogCommandShowsItsDialog)
{
    const std::string standards = KALDOR_SAMPLE_LIBRARY "Connection Standards/";
    const std::string csv = (root_ / "captions.csv").string();
    std::ofstream(csv) << "Name,Value,Unit\nLength,4500,mm\nWidth,200,mm\n";
    const std::string macro = (root_ / "macro.json").string();
    fs::copy_file(KALDOR_SAMPLE_LIBRARY "../macros/FinPlate-IPE240.json", macro);

    // The arguments each command is shown with; every command of the program must have some.
    const std::string templates = KALDOR_SAMPLE_LIBRARY "Dialog Templates/Dialog Design/";
    const std::map<std::string, std::vector<std::string>> arguments = {
        {"stock", {"stock"}},
        {"mapping", {"mapping", "FinPlate", "--macro", macro}},
        {"sheet", {"sheet", standards + "FinPlate.zxs"}},
        {"strings", {"strings", csv}},
        {"formulas", {"formulas"}},
        {"designer", {"designer", templates + "End plate.txt"}},
        {"rules", {"rules", macro}},
        {"macro", {"macro", macro}},
        {"library", {"library"}},
        {"section-size", {"section-size", "IPE"}},
    };
    // The dialogs drawn on a template show its bitmap.
    const std::map<std::string, std::string> bitmaps = {
        {"designer", templates + "End plate.bmp"},
        {"macro", templates + "Plates/Fin plate.bmp"},
    };
    std::set<std::string> shot;
    for (const gui::DialogCommand& command : gui::dialogCommands())
    {
        auto found = arguments.find(command.name);
        if (found == arguments.end())
        {
            ADD_FAILURE() << "no screenshot test for the command " << command.name;
            continue;
        }
        auto bitmap = bitmaps.find(command.name);
        shoot(command.name, found->second, bitmap != bitmaps.end() ? bitmap->second : std::string());
        shot.insert(command.name);
    }
    for (const auto& [name, args] : arguments)
        EXPECT_TRUE(shot.count(name) == 1) << "the program has no command " << name;
}

TEST_F(GuiScreenshotTest, TheProgramWritesAPictureWithoutADisplay)
{
    const QString png = QString::fromStdString((root_ / "formulas.png").string());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KALDOR_GUI_PROGRAM),
                  {QStringLiteral("--screenshot"), png, QStringLiteral("formulas")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_FALSE(QImage(png).isNull());

    program.start(
        QStringLiteral(KALDOR_GUI_PROGRAM),
        {QStringLiteral("--screenshot"), png, QStringLiteral("sheet"), QStringLiteral("/nonexistent.zxs")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 3);
    EXPECT_THAT(program.readAllStandardError().toStdString(),
                ::testing::HasSubstr("kaldor-ss-gui: cannot read /nonexistent.zxs: no such file\n"));
}
} // namespace
