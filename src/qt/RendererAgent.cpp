// The user agent for a person: message boxes, file dialogs, prompts and menus as Qt dialogs.

#include "qt/QtText.h"
#include "qt/Renderer.h"
#include "ui/PopupMenu.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace qtui
{
namespace
{
/// "Text (*.txt)|*.txt|All (*.*)|*.*||" as Qt's "Text (*.txt);;All (*)".
QString nameFilters(const Kdr_String& filter)
{
    const QStringList parts = toScreen(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        QString description = parts[i];
        const int bracket = description.indexOf(QLatin1Char('('));
        if (bracket > 0)
            description = description.left(bracket).trimmed();
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}
} // namespace

int Renderer::messageBox(const ui::MessageBoxRequest& request)
{
    messages_.push_back(request.text);
    if (unattended_)
        return ui::defaultMessageBoxAnswer(request.flags);
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(toScreen(request.caption.empty() ? ui::applicationTitle() : request.caption));
    box.setText(toScreen(request.text));
    switch (request.flags & MB_ICONMASK)
    {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice
    {
        int answer;
        QMessageBox::StandardButton button;
    };
    static const Choice all[] = {
        {IDOK, QMessageBox::Ok},       {IDCANCEL, QMessageBox::Cancel}, {IDABORT, QMessageBox::Abort},
        {IDRETRY, QMessageBox::Retry}, {IDIGNORE, QMessageBox::Ignore}, {IDYES, QMessageBox::Yes},
        {IDNO, QMessageBox::No},
    };
    std::vector<Choice> offered;
    for (const Choice& c : all)
        if (ui::messageBoxOffers(request.flags, c.answer))
        {
            box.addButton(c.button);
            offered.push_back(c);
        }
    for (const Choice& c : offered)
        if (c.answer == ui::defaultMessageBoxAnswer(request.flags))
            box.setDefaultButton(c.button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Choice& c : offered)
        if (c.button == clicked)
            return c.answer;
    // Closed without a button: Cancel where there is one, else the default.
    return ui::messageBoxOffers(request.flags, IDCANCEL) ? IDCANCEL
                                                         : ui::defaultMessageBoxAnswer(request.flags);
}

bool Renderer::fileDialog(const ui::FileDialogRequest& request, Kdr_String& path)
{
    if (unattended_)
        return false;
    QString start = toScreen(request.initialFolder);
    if (!request.fileName.empty())
        start = start.isEmpty() ? toScreen(request.fileName)
                                : start + QLatin1Char('/') + toScreen(request.fileName);
    const QString title = toScreen(request.title);
    const QString filters = nameFilters(request.filter);
    QWidget* parent = QApplication::activeWindow();
    // The toolkit asks about replacing an existing file itself.
    const QString chosen = request.open ? QFileDialog::getOpenFileName(parent, title, start, filters)
                                        : QFileDialog::getSaveFileName(parent, title, start, filters, nullptr,
                                                                       QFileDialog::DontConfirmOverwrite);
    settle();
    if (chosen.isEmpty())
        return false;
    path = Kdr_String(QFile::encodeName(chosen).toStdString());
    return true;
}

bool Renderer::promptValue(const ui::ValuePromptRequest& request, Kdr_String& value)
{
    if (unattended_)
        return false;
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(toScreen(request.title));
    dialog.setLabelText(toScreen(request.label));
    dialog.setTextValue(toScreen(request.value));
    dialog.setOkButtonText(toScreen(request.okCaption));
    dialog.setCancelButtonText(toScreen(request.cancelCaption));
    const bool ok = dialog.exec() == QDialog::Accepted;
    settle();
    if (ok)
        value = Kdr_String(fromScreen(dialog.textValue()));
    return ok;
}

int Renderer::popupMenu(const ui::PopupMenu& menu, ui::Point screenPoint, ui::Window* owner)
{
    (void)owner;
    if (unattended_)
        return 0;
    QMenu shown;
    for (const ui::PopupMenu::Item& item : menu.items())
    {
        if (item.isSeparator())
        {
            shown.addSeparator();
            continue;
        }
        QAction* action = shown.addAction(toScreen(item.text));
        action->setData(item.command);
        action->setCheckable(item.isChecked());
        action->setChecked(item.isChecked());
        action->setEnabled(!item.isGrayed());
    }
    QAction* chosen = shown.exec(QPoint(screenPoint.x, screenPoint.y));
    settle();
    return chosen != nullptr ? chosen->data().toInt() : 0;
}
} // namespace qtui
