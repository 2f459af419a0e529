#pragma once

// Tests of the dialogs on a (virtual) screen: Qt's offscreen platform, the renderer, and
// scripts that act on the real widgets with QTest's keys and clicks.

#include "GuiProgram.h"
#include "qt/Renderer.h"
#include "ui/Dialog.h"
#include "ui/MessageLoop.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace guitest
{
namespace fs = std::filesystem;

class GuiTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (qApp != nullptr)
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "qt_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }

    GuiTest() : renderer_(std::make_unique<qtui::Renderer>())
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / (std::string("kaldor-gui-") + info->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~GuiTest() override
    {
        renderer_.reset();
        ui::MessageLoop::instance().reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    qtui::Renderer& renderer() { return *renderer_; }

    /// Runs kaldor-ss-gui in this process with the arguments after the program name.
    int run(const std::vector<std::string>& args)
    {
        std::vector<const char*> argv{"kaldor-ss-gui"};
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        return gui::runProgram(static_cast<int>(argv.size()), argv.data(), *renderer_);
    }

    /// Runs `script` on the first modal dialog once it is on the screen; the script must end it.
    void onDialog(std::function<void(ui::Dialog&, QWidget&)> script)
    {
        renderer_->setModalHook(
            [this, script, done = false](ui::Dialog& dialog, QWidget& widget) mutable
            {
                if (done)
                    return;
                done = true;
                // Acts once the window manager has made the dialog the active window.
                EXPECT_TRUE(QTest::qWaitForWindowActive(&widget));
                script(dialog, widget);
            });
    }

    /// Answers every Qt message box that comes up with its default button, as a person
    /// pressing Enter would, for the lifetime of the test.
    void answerMessageBoxes()
    {
        auto* timer = new QTimer(qApp);
        QObject::connect(
            timer, &QTimer::timeout,
            [this]
            {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible())
                    {
                        seenBoxes_.push_back(box->text().toStdString());
                        box->defaultButton() != nullptr ? box->defaultButton()->click() : box->accept();
                    }
            });
        timer->start(10);
        timers_.emplace_back(timer);
    }

    fs::path root_;
    std::vector<std::string> seenBoxes_;

private:
    std::unique_ptr<qtui::Renderer> renderer_;
    std::vector<std::unique_ptr<QTimer>> timers_;
};
} // namespace guitest
