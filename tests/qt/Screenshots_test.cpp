// Every dialog command opens its dialog on the screen, and its picture shows a dialog.

#include "GuiTestSupport.h"

#include <QImage>
#include <QProcess>
#include <fstream>
#include <gmock/gmock.h>
#include <map>
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

class ScreenshotTest : public GuiTest
{
protected:
    /// Runs the command once to learn the size of its dialog (ended at once), then with
    /// --screenshot, and checks the picture.
    void shoot(const std::string& name, const std::vector<std::string>& args)
    {
        QSize shown;
        renderer().setModalHook(
            [&](ui::Dialog& dialog, QWidget& widget)
            {
                const ui::Rect client = dialog.GetClientRect();
                shown = QSize(client.Width(), client.Height());
                EXPECT_TRUE(widget.isVisible());
                dialog.EndDialog(IDCANCEL);
            });
        ASSERT_EQ(run(args), 0) << name;
        const std::string png = (root_ / (name + ".png")).string();
        std::vector<std::string> withPicture{"--screenshot", png};
        withPicture.insert(withPicture.end(), args.begin(), args.end());
        ASSERT_EQ(run(withPicture), 0) << name;
        expectDialogPicture(png, shown);
    }
};

TEST_F(ScreenshotTest, EveryDialogCommandShowsItsDialog)
{
    const std::string standards = KALDOR_SAMPLE_LIBRARY "Connection Standards/";
    const std::string csv = (root_ / "captions.csv").string();
    std::ofstream(csv) << "Name,Value,Unit\nLength,4500,mm\nWidth,200,mm\n";
    const std::string macro = (root_ / "macro.json").string();
    fs::copy_file(KALDOR_SAMPLE_LIBRARY "../macros/FinPlate-IPE240.json", macro);

    // The arguments each command is shown with; every command of the program must have some.
    const std::map<std::string, std::vector<std::string>> arguments = {
        {"stock", {"stock"}},
        {"mapping", {"mapping", "FinPlate", "--macro", macro}},
        {"sheet", {"sheet", standards + "FinPlate.zxs"}},
        {"strings", {"strings", csv}},
        {"formulas", {"formulas"}},
        {"designer", {"designer", KALDOR_SAMPLE_LIBRARY "Dialog Templates/Dialog Design/End plate.txt"}},
        {"rules", {"rules", macro}},
        {"macro", {"macro", macro}},
        {"library", {"library"}},
        {"section-size", {"section-size", "IPE"}},
    };
    for (const gui::DialogCommand& command : gui::dialogCommands())
    {
        auto found = arguments.find(command.name);
        if (found == arguments.end())
        {
            ADD_FAILURE() << "no screenshot test for the command " << command.name;
            continue;
        }
        shoot(command.name, found->second);
    }
}

TEST_F(ScreenshotTest, TheProgramWritesAPictureWithoutADisplay)
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
