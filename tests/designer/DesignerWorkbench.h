#pragma once

// Dialogs that host a template the way the designer window and the macro tabs do, so that
// tests can work them with the mouse and the keyboard.

#include "designer/Kdr_DlgDesignerData.h"
#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"
#include "ui/MessageLoop.h"

namespace designertest
{
enum WorkbenchId
{
    kAdd = 1300,
    kRemove = 1301,
    kCopy = 1199,
    kAlign = 1200,
    kStick = 1201,
    kWidth = 1306,
    kHeight = 1307,
    kTypeCombo = 1005,
    kTypeHint = 1016,
    kContents = 1304,
    kExtraLabel = 1017,
    kExtra = 1305,
    kBefore = 2001, ///< a control of the dialog before the template area
    kAfter = 2002,  ///< and one after it
};

/// A designer: the drawing area at the client origin, command buttons on the right.
class DesignerWorkbench : public ui::Dialog
{
public:
    Kdr_DlgDesignerData data;
    int addType = ctCellEdit;

    DesignerWorkbench()
    {
        ui::DialogTemplate t(9101, "Designer", 0, 0, 300, 200);
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.pushButton(kAdd, "Add", 240, 4, 50, 12)
            .pushButton(kRemove, "Remove", 240, 18, 50, 12)
            .pushButton(kCopy, "Copy", 240, 32, 50, 12)
            .pushButton(kAlign, "_ _", 240, 46, 50, 12)
            .pushButton(kStick, "| |", 240, 60, 50, 12)
            .pushButton(kWidth, "Width", 240, 74, 50, 12)
            .pushButton(kHeight, "Height", 240, 88, 50, 12)
            .comboBox(kTypeCombo, 240, 104, 50, 100);
        CreateIndirect(t);
        ui::MessageLoop::instance().pump();
    }
    ~DesignerWorkbench() override { DestroyWindow(); }

protected:
    bool OnInitDialog() override
    {
        data.initialize(this, Kdr_DlgDesignerData::kFirstDynId, Kdr_DlgDesignerData::kLastDynId, kTypeCombo,
                        kTypeHint, kContents, kExtraLabel, kExtra, true);
        onClicked(kAdd, [this] { data.addNewControl(addType); });
        onClicked(kRemove, [this] { data.removeCurControls(); });
        onClicked(kCopy, [this] { data.copyCurCtrls(); });
        onClicked(kAlign, [this] { data.outlineCurCtrls(); });
        onClicked(kStick, [this] { data.stickRightCurCtrls(); });
        onClicked(kWidth, [this] { data.changeCtrlSize(true); });
        onClicked(kHeight, [this] { data.changeCtrlSize(false); });
        return true;
    }
    bool OnEraseBkgnd(ui::PaintContext& dc) override
    {
        data.OnEraseBkgnd(dc);
        return true;
    }
    void OnPaint(ui::PaintContext& dc) override { data.OnPaint(dc); }
    bool OnSetCursor(ui::Window* window, unsigned hitTest, unsigned message) override
    {
        return data.OnSetCursor(hitTest, message) || ui::Dialog::OnSetCursor(window, hitTest, message);
    }
    void OnLButtonDown(unsigned flags, ui::Point point) override { data.OnLButtonDown(flags, point); }
    void OnMouseMove(unsigned flags, ui::Point point) override { data.OnMouseMove(flags, point); }
    void OnLButtonUp(unsigned flags, ui::Point point) override { data.OnLButtonUp(flags, point); }
    void OnCaptureChanged(ui::Window*) override { data.OnCaptureChanged(); }
    bool PreTranslateMessage(ui::Message& message) override
    {
        return data.preTranslateMouse(message) || ui::Dialog::PreTranslateMessage(message);
    }
};

/// A macro tab page: a button before the template area, the template's controls, a button
/// after it; Tab moves through the template in its own order.
class TabWorkbench : public ui::Dialog
{
public:
    Kdr_DlgDesignerData data;
    Kdr_TabMsgHandle lastTab = tmhNotHandled;

    TabWorkbench()
    {
        ui::DialogTemplate t(9102, "Tab", 0, 0, 300, 200);
        t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
        t.pushButton(kBefore, "Before", 240, 4, 50, 12).pushButton(kAfter, "After", 240, 180, 50, 12);
        CreateIndirect(t);
        ui::MessageLoop::instance().pump();
    }
    ~TabWorkbench() override { DestroyWindow(); }

protected:
    bool OnEraseBkgnd(ui::PaintContext& dc) override
    {
        data.OnEraseBkgnd(dc);
        return true;
    }
    bool PreTranslateMessage(ui::Message& message) override
    {
        if (message.message == WM_KEYDOWN && message.wParam == VK_TAB)
        {
            if (data.handleTabKey(VK_TAB, lastTab))
            {
                if (lastTab == tmhAfterLast)
                    GetDlgItem(kAfter)->SetFocus();
                else if (lastTab == tmhBeforeFirst)
                    GetDlgItem(kBefore)->SetFocus();
                return true;
            }
        }
        return ui::Dialog::PreTranslateMessage(message);
    }
};
} // namespace designertest
