#include "ui/ScriptedAgent.h"

#include "ui/Dialog.h"
#include "ui/PopupMenu.h"

#include <cstdio>

namespace ui
{
namespace
{
ScriptedAgent::FailureHandler& defaultHandler()
{
    static ScriptedAgent::FailureHandler handler;
    return handler;
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}
} // namespace

ScriptedAgent::ScriptedAgent() : onFailure_(defaultHandler())
{
}

ScriptedAgent::~ScriptedAgent()
{
    for (const Step& step : steps_)
        fail("expected " + describe(step) + ", which never came");
}

void ScriptedAgent::setDefaultFailureHandler(FailureHandler handler)
{
    defaultHandler() = std::move(handler);
}

void ScriptedAgent::fail(const std::string& message)
{
    failures_.push_back(message);
    if (onFailure_)
        onFailure_(message);
    else
        std::fprintf(stderr, "scripted agent: %s\n", message.c_str());
}

std::string ScriptedAgent::describe(const Step& step)
{
    switch (step.kind)
    {
    case Kind::Dialog:
        return "dialog " + std::to_string(step.templateId);
    case Kind::MessageBox:
        return "message box " + quoted(step.text);
    case Kind::FileDialog:
        return "a file dialog";
    case Kind::Prompt:
        return "a value prompt";
    case Kind::Menu:
        return "a popup menu";
    }
    return {};
}

ScriptedAgent& ScriptedAgent::expectDialog(int templateId, DialogScript script)
{
    Step step;
    step.kind = Kind::Dialog;
    step.templateId = templateId;
    step.script = std::move(script);
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedAgent& ScriptedAgent::expectMessageBox(std::string_view text, int answer)
{
    Step step;
    step.kind = Kind::MessageBox;
    step.text = Kdr_String(text);
    step.answer = answer;
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedAgent& ScriptedAgent::expectMessageBox(std::string_view text, std::string_view caption, int answer)
{
    expectMessageBox(text, answer);
    steps_.back().caption = Kdr_String(caption);
    return *this;
}

ScriptedAgent& ScriptedAgent::expectFileDialog(std::optional<Kdr_String> path)
{
    Step step;
    step.kind = Kind::FileDialog;
    step.value = std::move(path);
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedAgent& ScriptedAgent::expectPrompt(std::optional<Kdr_String> value)
{
    Step step;
    step.kind = Kind::Prompt;
    step.value = std::move(value);
    steps_.push_back(std::move(step));
    return *this;
}

ScriptedAgent& ScriptedAgent::expectMenu(int command)
{
    Step step;
    step.kind = Kind::Menu;
    step.answer = command;
    steps_.push_back(std::move(step));
    return *this;
}

std::optional<ScriptedAgent::Step> ScriptedAgent::take(Kind kind, const std::string& what)
{
    if (steps_.empty())
    {
        fail("unexpected " + what);
        return std::nullopt;
    }
    if (steps_.front().kind != kind)
    {
        fail("expected " + describe(steps_.front()) + ", got " + what);
        return std::nullopt;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    return step;
}

void ScriptedAgent::runModal(Dialog& dialog)
{
    const std::string what =
        "dialog " + std::to_string(dialog.templateId()) + " " + quoted(dialog.GetWindowText());
    transcript_.push_back(what);
    std::optional<Step> step = take(Kind::Dialog, what);
    if (step && step->templateId != dialog.templateId())
    {
        fail("expected " + describe(*step) + ", got " + what);
        step.reset();
    }
    if (!step)
    {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    const WindowHandle handle = dialog.GetSafeHwnd();
    if (step->script)
    {
        Driver driver(dialog, [this](const std::string& message) { fail(message); });
        step->script(driver);
    }
    if (Window::FromHandle(handle) == &dialog && !dialog.hasEnded())
        fail(what + " was left open by its script");
}

int ScriptedAgent::messageBox(const MessageBoxRequest& request)
{
    const std::string what = "message box " + quoted(request.text);
    transcript_.push_back(what);
    messageBoxes_.push_back(request);
    std::optional<Step> step = take(Kind::MessageBox, what);
    if (!step)
        return defaultMessageBoxAnswer(request.flags);
    if (step->text != request.text)
        fail("expected " + describe(*step) + ", got " + what);
    if (step->caption && *step->caption != request.caption)
        fail(what + ": expected caption " + quoted(*step->caption) + ", got " + quoted(request.caption));
    if (!messageBoxOffers(request.flags, step->answer))
    {
        fail(what + ": answer " + std::to_string(step->answer) + " is not one of its buttons");
        return defaultMessageBoxAnswer(request.flags);
    }
    return step->answer;
}

bool ScriptedAgent::fileDialog(const FileDialogRequest& request, Kdr_String& path)
{
    const std::string what =
        std::string(request.open ? "open" : "save") + " file dialog " + quoted(request.title);
    transcript_.push_back(what);
    fileDialogs_.push_back(request);
    std::optional<Step> step = take(Kind::FileDialog, what);
    if (!step || !step->value)
        return false;
    path = *step->value;
    return true;
}

bool ScriptedAgent::promptValue(const ValuePromptRequest& request, Kdr_String& value)
{
    const std::string what = "value prompt " + quoted(request.title);
    transcript_.push_back(what);
    prompts_.push_back(request);
    std::optional<Step> step = take(Kind::Prompt, what);
    if (!step || !step->value)
        return false;
    value = *step->value;
    return true;
}

int ScriptedAgent::popupMenu(const PopupMenu& menu, Point screenPoint, Window* owner)
{
    (void)screenPoint;
    (void)owner;
    const std::string what = "popup menu of " + std::to_string(menu.GetMenuItemCount()) + " items";
    transcript_.push_back(what);
    std::optional<Step> step = take(Kind::Menu, what);
    if (!step)
        return 0;
    if (step->answer != 0 && menu.findCommand(step->answer) == nullptr)
        fail(what + ": it has no command " + std::to_string(step->answer));
    return step->answer;
}
} // namespace ui
