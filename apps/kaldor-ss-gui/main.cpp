// kaldor-ss-gui: the dialogs of kaldor-ss on the screen, with Qt 6.

#include "GuiProgram.h"
#include "qt/Renderer.h"

#include <QApplication>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    // A screenshot and the help need no display: without a platform chosen, the offscreen
    // one is used for them.
    for (int i = 1; i < argc; ++i)
        if ((std::strcmp(argv[i], "--screenshot") == 0 || std::strcmp(argv[i], "--help") == 0 ||
             std::strcmp(argv[i], "-h") == 0) &&
            std::getenv("QT_QPA_PLATFORM") == nullptr)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kaldor-ss-gui"));
    qtui::Renderer renderer;
    return gui::runProgram(argc, argv, renderer);
}
