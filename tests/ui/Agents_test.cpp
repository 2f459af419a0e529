#include "UiTestSupport.h"
#include "ui/AcadHost.h"
#include "ui/Dialog.h"
#include "ui/DialogAids.h"
#include "ui/HeadlessAgent.h"
#include "ui/PopupMenu.h"
#include "ui/ResourceModule.h"

#include <filesystem>
#include <fstream>

namespace
{
constexpr int kAsk = 400;

void registerAskTemplate()
{
    ui::DialogTemplate t(kAsk, "Ask", 0, 0, 120, 40);
    t.editText(10, 5, 5, 110, 12)
        .defPushButton(IDOK, "OK", 5, 22, 50, 14)
        .pushButton(IDCANCEL, "Cancel", 65, 22, 50, 14);
    ui::hostResources().addDialog(t);
}

class AgentsTest : public uitest::UiTest
{
protected:
    AgentsTest()
    {
        registerAskTemplate();
        agent_.setFailureHandler([this](const std::string& m) { failures.push_back(m); });
    }
    std::vector<std::string> failures;
};

TEST(MessageBoxAnswers, DefaultButtonFollowsTheFlags)
{
    struct Case
    {
        unsigned flags;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON3, IDYES},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::defaultMessageBoxAnswer(c.flags), c.answer) << std::hex << c.flags;
    EXPECT_TRUE(ui::messageBoxOffers(MB_YESNOCANCEL, IDCANCEL));
    EXPECT_FALSE(ui::messageBoxOffers(MB_YESNO, IDCANCEL));
    EXPECT_FALSE(ui::messageBoxOffers(MB_OK, IDYES));
}

TEST_F(AgentsTest, ScriptReportsPromptsThatWereNotExpected)
{
    // Nothing expected: the message box gets its default answer and the test hears its text.
    EXPECT_EQ(AfxMessageBox("Overwrite?", MB_YESNO | MB_DEFBUTTON2), IDNO);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0], "unexpected message box \"Overwrite?\"");

    // A dialog when a message box is expected: the dialog is cancelled, the step is kept.
    agent_.expectMessageBox("Done.", IDOK);
    ui::Dialog ask(kAsk);
    EXPECT_EQ(ask.DoModal(), IDCANCEL);
    EXPECT_EQ(failures.back(), "expected message box \"Done.\", got dialog 400 \"Ask\"");
    EXPECT_EQ(AfxMessageBox("Done."), IDOK);
    EXPECT_EQ(agent_.pending(), 0u);

    // Another text uses the step up; an answer the box lacks falls back to the default.
    agent_.expectMessageBox("Saved.", IDOK);
    agent_.expectMessageBox("Again?", IDCANCEL);
    EXPECT_EQ(ui::messageBox(nullptr, "Saved!", "Caption", MB_OK), IDOK);
    EXPECT_EQ(failures.back(), "expected message box \"Saved.\", got message box \"Saved!\"");
    EXPECT_EQ(AfxMessageBox("Again?", MB_YESNO), IDYES);
    EXPECT_EQ(failures.back(), "message box \"Again?\": answer 2 is not one of its buttons");

    agent_.expectMessageBox("Caption check", "Right", IDOK);
    AfxMessageBox("Caption check");
    EXPECT_EQ(failures.back(),
              "message box \"Caption check\": expected caption \"Right\", got \"kaldor-ss\"");
}

TEST_F(AgentsTest, ScriptsMustEndTheirDialogsAndStepsNotReachedAreReported)
{
    std::vector<std::string> lost;
    {
        ui::ScriptedAgent local;
        ui::UserAgentScope scope(local);
        local.setFailureHandler([&](const std::string& m) { lost.push_back(m); });
        local.expectDialog(kAsk, [](ui::Driver& user) { user.type(10, "typed, then left open"); });
        local.expectFileDialog(Kdr_String("never.txt"));
        ui::Dialog ask(kAsk);
        EXPECT_EQ(ask.DoModal(), IDCANCEL) << "a dialog left open is cancelled";
    }
    EXPECT_EQ(lost, (std::vector<std::string>{"dialog 400 \"Ask\" was left open by its script",
                                              "expected a file dialog, which never came"}));
}

TEST_F(AgentsTest, NestedModalDialogsAndPromptsComeInScriptOrder)
{
    ui::hostResources().addDialog(ui::DialogTemplate(401, "Inner", 0, 0, 50, 20));
    struct Outer : ui::Dialog
    {
        Outer() : Dialog(kAsk) {}
        std::intptr_t inner = 0;
        bool OnInitDialog() override
        {
            onCommand(10, EN_CHANGE,
                      [this]
                      {
                          ui::Dialog nested(401, this);
                          inner = nested.DoModal();
                      });
            return true;
        }
    } outer;
    agent_.expectDialog(kAsk,
                        [](ui::Driver& user)
                        {
                            user.type(10, "x");
                            EXPECT_TRUE(user.dialog()->IsWindowEnabled())
                                << "the outer dialog is enabled again";
                            user.pressKey(VK_RETURN);
                        });
    agent_.expectDialog(401,
                        [](ui::Driver& user)
                        {
                            EXPECT_FALSE(user.dialog()->GetParent()->IsWindowEnabled())
                                << "the owner is disabled while the inner runs";
                            user.dialog()->EndDialog(42);
                        });
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(outer.inner, 42);
    EXPECT_TRUE(failures.empty()) << failures.front();
}

TEST_F(AgentsTest, FileDialogsAddTheExtensionAndGuardExistingAndMissingFiles)
{
    const auto folder = std::filesystem::temp_directory_path() / "kaldor-ui-files";
    std::filesystem::create_directories(folder);
    const std::string existing = (folder / "stock1.shp").string();
    std::ofstream(existing) << "x";

    Kdr_String path;
    agent_.expectFileDialog(Kdr_String((folder / "stock2").string()));
    EXPECT_TRUE(DlgOpenSave(false, "Save", "shp", "Stock (*.shp)|*.shp||", folder.string() + "/", path));
    EXPECT_EQ(path, (folder / "stock2.shp").string());
    EXPECT_EQ(agent_.fileDialogs().back().initialFolder, Kdr_String(folder.string() + "/"));
    EXPECT_EQ(agent_.fileDialogs().back().flags, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);

    agent_.expectFileDialog(Kdr_String(existing));
    agent_.expectMessageBox(existing + " already exists.\nDo you want to replace it?", IDNO);
    EXPECT_FALSE(DlgOpenSave(false, "Save", "shp", "", existing, path));

    agent_.expectFileDialog(Kdr_String((folder / "missing.shp").string()));
    agent_.expectMessageBox(
        (folder / "missing.shp").string() + "\nFile not found.\nCheck the file name and try again.", IDOK);
    EXPECT_FALSE(DlgOpenSave(true, "Open", "shp", "", folder.string() + "/*.shp", path));
    EXPECT_EQ(agent_.fileDialogs().back().fileName, Kdr_String(folder.string() + "/*.shp"));

    agent_.expectFileDialog(std::nullopt);
    EXPECT_FALSE(DlgOpenSave(true, "Open", "shp", "", "", path));
    EXPECT_TRUE(failures.empty()) << failures.front();
    std::filesystem::remove_all(folder);
}

TEST_F(AgentsTest, ValuePromptsAndMenusAreAnsweredFromTheScript)
{
    agent_.expectPrompt(Kdr_String("42.5"));
    agent_.expectPrompt(std::nullopt);
    ui::ValuePromptRequest request;
    request.title = "Width";
    request.value = "30";
    Kdr_String value = request.value;
    EXPECT_TRUE(ui::promptValue(request, value));
    EXPECT_EQ(value, "42.5");
    EXPECT_FALSE(ui::promptValue(request, value));
    EXPECT_EQ(value, "42.5") << "a cancelled prompt leaves the value";

    struct Owner : ui::Window
    {
        int command = 0;
        bool OnCommand(int id, int, Window*) override
        {
            command = id;
            return true;
        }
    } owner;
    ASSERT_TRUE(owner.Create("#32770", "Owner", WS_POPUP, ui::Rect(0, 0, 10, 10), nullptr, 0));
    ui::PopupMenu menu;
    menu.AppendMenu(MF_STRING, 501, "Sort");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 502, "Grey");
    menu.AppendMenu(MF_STRING, 503, "Check");
    EXPECT_EQ(menu.CheckMenuItem(503, MF_BYCOMMAND | MF_CHECKED), static_cast<int>(MF_UNCHECKED));
    EXPECT_TRUE(menu.items()[3].isChecked());
    agent_.expectMenu(503);
    agent_.expectMenu(502);
    agent_.expectMenu(501);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 5, 5, &owner), 503);
    EXPECT_EQ(owner.command, 0) << "with TPM_RETURNCMD nothing is sent";
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 5, 5, &owner), 0) << "a grey item cannot be chosen";
    EXPECT_EQ(menu.TrackPopupMenu(0, 5, 5, &owner), 1);
    EXPECT_EQ(owner.command, 501);
    owner.DestroyWindow();
}

TEST_F(AgentsTest, HeadlessAgentPrintsAnswersDefaultsAndCancelsUnknownDialogs)
{
    ui::HeadlessAgent headless;
    std::string printed;
    headless.setSink([&](std::string_view text) { printed += text; });
    ui::UserAgentScope scope(headless);

    EXPECT_EQ(ui::messageBox(nullptr, "Slot 1 is invalid.", "Ongeldige waarde", MB_OK | MB_ICONEXCLAMATION),
              IDOK);
    EXPECT_EQ(AfxMessageBox("Save changes?\n", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(printed, "Slot 1 is invalid.\nSave changes?\n");

    ui::Dialog unknown(kAsk);
    EXPECT_EQ(unknown.DoModal(), IDCANCEL);
    headless.know(kAsk,
                  [](ui::Driver& user)
                  {
                      user.type(10, "filled");
                      user.click(IDOK);
                  });
    ui::Dialog known(kAsk);
    EXPECT_EQ(known.DoModal(), IDOK);

    Kdr_String path = "kept";
    EXPECT_FALSE(DlgOpenSave(true, "Open", "txt", "", "", path));
    EXPECT_EQ(path, "kept");
    ui::ValuePromptRequest request;
    Kdr_String value = "30";
    EXPECT_FALSE(ui::promptValue(request, value));
}

TEST_F(AgentsTest, HostRequestsAreRecordedAndTheMainWindowExists)
{
    ui::hostRequests().clear();
    acedPostCommand("CANCELCMD");
    acedPostCommandPrompt();
    acedUpdateDisplay();
    acedPostCommandPrompt();
    EXPECT_EQ(ui::hostRequests().postedCommands, (std::vector<std::string>{"CANCELCMD"}));
    EXPECT_EQ(ui::hostRequests().commandPrompts, 2);
    EXPECT_EQ(ui::hostRequests().displayUpdates, 1);
    ui::Window* main = adsw_acadMainWnd();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->IsWindowVisible());
    EXPECT_EQ(main, adsw_acadMainWnd());
}
} // namespace
