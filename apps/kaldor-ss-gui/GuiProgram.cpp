#include "GuiProgram.h"

#include "../kaldor-ss/LibraryFolder.h"
#include "host/Settings.h"
#include "qt/Renderer.h"
#include "spread/Kdr_Spread.h"
#include "ui/Dialog.h"
#include "ui/UserAgent.h"

#if KALDOR_HAVE_FORMATS
#include "formats/SheetFiles.h"
#endif

#include <CLI/CLI.hpp>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <exception>

namespace gui
{
void reportError(const std::string& text)
{
    std::fprintf(stderr, "kaldor-ss-gui: %s\n", text.c_str());
}

int editRecord(const std::function<bool(std::string& error)>& load, const std::function<bool()>& edit,
               const std::function<bool(std::string& error)>& save)
{
    std::string error;
    if (!load(error))
    {
        reportError(error);
        return kBadInput;
    }
    if (edit() && !save(error))
    {
        reportError(error);
        return kFailed;
    }
    return kSuccess;
}

namespace
{
const char* const kDescription =
    "kaldor-ss-gui shows the dialogs of kaldor-ss on the screen: the person's clicks and keys go to the "
    "same dialogs the command line and the tests run.\n"
    "Exit status: 0 success (the dialog was closed, with OK or Cancel), 1 a file could not be written, "
    "2 usage error, 3 an input file could not be read.";

/// Writes the first dialog shown as a PNG, then closes it.
void takeScreenshot(qtui::Renderer& renderer, const std::string& path, bool& done, bool& written)
{
    renderer.setUnattended(true);
    renderer.setModalHook(
        [&renderer, path, &done, &written](ui::Dialog& dialog, QWidget& widget)
        {
            if (done)
                return;
            done = true;
            const ui::WindowHandle handle = dialog.GetSafeHwnd();
            // Qt lays out and paints on its own turn; the picture is taken after that.
            QTimer::singleShot(100, &widget,
                               [&renderer, &widget, path, handle, &written]
                               {
                                   written = widget.grab().save(QString::fromStdString(path), "PNG");
                                   if (auto* d = dynamic_cast<ui::Dialog*>(ui::Window::FromHandle(handle)))
                                       d->EndDialog(IDCANCEL);
                                   renderer.settle();
                               });
        });
}
} // namespace

int runProgram(int argc, const char* const* argv, qtui::Renderer& renderer)
{
    CLI::App app{kDescription, "kaldor-ss-gui"};
    app.require_subcommand(1);
    app.fallthrough();
    std::string lib;
    std::string screenshot;
    bool trustSheets = false;
    app.add_option(
        "--lib", lib,
        "Library folder (else the environment variable KALDOR_LIB, else the bundled sample library)");
    app.add_option("--screenshot", screenshot,
                   "Write the dialog as a PNG file once it is laid out, then close it (works without a "
                   "display with QT_QPA_PLATFORM=offscreen)");
    app.add_flag("--trust-sheets", trustSheets,
                 "Let sheets read data files and child sheets outside the library folder and the sheet's own "
                 "folder");

    Run run;
    for (const DialogCommand& command : dialogCommands())
        command.define(*app.add_subcommand(command.name, command.help), run);

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        const int code = app.exit(error);
        return code == 0 ? kSuccess : kUsage;
    }
    if (!run)
    {
        std::fputs(app.help().c_str(), stderr);
        return kUsage;
    }

    std::string error;
    if (!cli::setUpLibraryFolder(lib, argv[0], error))
    {
        reportError(error);
        return kBadInput;
    }
#if KALDOR_HAVE_FORMATS
    formats::registerSheetFormats();
#endif
    gSettings.setTrustSheets(trustSheets);
    ui::setApplicationTitle("kaldor-ss");
    // F3 and F5 open the find and replace dialog in every grid the program shows.
    Kdr_Spread::setFindReplaceProvider([](Kdr_Spread& grid, bool replace)
                                       { return grid.showFindReplace(replace); });

    bool shot = false;
    bool written = false;
    if (!screenshot.empty())
        takeScreenshot(renderer, screenshot, shot, written);
    int status = kFailed;
    try
    {
        status = run();
    }
    catch (const std::exception& failure)
    {
        reportError(std::string("internal error: ") + failure.what());
        status = kFailed;
    }
    if (!screenshot.empty())
    {
        renderer.setModalHook({});
        renderer.setUnattended(false);
    }
    if (!screenshot.empty() && status == kSuccess && !written)
    {
        reportError(shot ? "cannot write " + screenshot : "no dialog was shown, so no screenshot was taken");
        return kFailed;
    }
    return status;
}
} // namespace gui
