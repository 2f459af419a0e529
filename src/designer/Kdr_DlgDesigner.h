#pragma once

#include "designer/Kdr_DlgDesignerData.h"
#include "ui/CButtonST.h"
#include "ui/CResizer.h"
#include "ui/Dialog.h"
#include "ui/ResourceModule.h"

#include <array>

/// Controls of the dialog designer window.
enum DlgDesignerResourceId
{
    IDD_DLG_DESIGNER = 227,
    IDC_DESIGNER_OPEN = 1299,
    IDC_DESIGNER_SAVE_AS = 1302,
    IDC_DESIGNER_ADD = 1300,
    IDC_DESIGNER_REMOVE = 1301,
    IDC_DESIGNER_WIDTH = 1306,
    IDC_DESIGNER_HEIGHT = 1307,
    IDC_DESIGNER_COPY = 1199,
    IDC_DESIGNER_ALIGN_BOTTOMS = 1200,
    IDC_DESIGNER_STICK_RIGHT = 1201,
    IDC_DESIGNER_ATTACH_IMAGE = 1303,
    IDC_DESIGNER_TYPE_GROUP = 1015,
    IDC_DESIGNER_TYPE = 1005,
    IDC_DESIGNER_HINT_GROUP = 1016,
    IDC_DESIGNER_CONTENTS = 1304,
    IDC_DESIGNER_EXTRA_GROUP = 1017,
    IDC_DESIGNER_EXTRA = 1305,
};

/// The dialog designer: the template's image at the client origin with its controls over it,
/// placed, sized, typed and named with the mouse and the property panel below, and the file
/// commands that open and save templates. Escape does nothing here: the window closes only
/// through OK or its close box, each after asking to save unsaved work.
class Kdr_DlgDesigner : public ui::Dialog
{
public:
    static constexpr const char* kSizeKey = "DLG_DLGDESIGNER";

    explicit Kdr_DlgDesigner(const Kdr_String& path);

    Kdr_DlgDesignerData& designerData() { return data_; }
    bool isModified() const { return modified_; }

    bool OnInitDialog() override;
    bool PreTranslateMessage(ui::Message& message) override;

    /// The type hint (caption of group 1016) and the extra label (group 1017, empty when the
    /// type has no extra text) of a control type.
    static Kdr_String typeHint(int type);
    static Kdr_String extraLabel(int type);
    static bool hasExtra(int type);

protected:
    void OnOK() override;
    void OnCancel() override {}
    void OnClose() override;
    void OnDestroy() override;
    void OnSize(unsigned type, int cx, int cy) override;
    bool OnEraseBkgnd(ui::PaintContext& dc) override;
    void OnPaint(ui::PaintContext& dc) override;
    bool OnSetCursor(ui::Window* window, unsigned hitTest, unsigned message) override;
    ui::Brush OnCtlColor(ui::PaintContext& dc, ui::Window* control, unsigned ctlColor) override;
    void OnLButtonDown(unsigned flags, ui::Point point) override;
    void OnMouseMove(unsigned flags, ui::Point point) override;
    void OnLButtonUp(unsigned flags, ui::Point point) override;
    void OnCaptureChanged(ui::Window* newCapture) override;

private:
    void setTitle();
    /// Reads a template with its image in place of the one shown.
    void loadTemplate(const Kdr_String& path);
    /// Asks whether to save unsaved work; false when the user cancels (or saving failed).
    bool savePrompt();
    /// Writes the template; a refused or failed write is reported and leaves the work marked
    /// unsaved. True when written.
    bool save(const Kdr_String& path);
    bool saveAs();
    void open();
    void attachImage();
    /// The folder the file dialogs start in: the current template's folder.
    Kdr_String templateFolder() const;
    /// The top of the property panel: clicks above it are in the drawing area.
    int drawingAreaBottom() const;
    void drawingAreaClicked();
    void updatePropsOfCurSel();
    void propsOfCurSelUpdated();
    void changed() { modified_ = true; }

    Kdr_String path_;
    Kdr_DlgDesignerData data_;
    std::array<CButtonST, 8> iconButtons_;
    CResizer resizer_;
    int initialWidth_ = 0;
    int initialHeight_ = 0;
    bool modified_ = false;
};

/// Opens the designer on the template at `path` (empty: a new template) and runs it modal;
/// true when it was closed with OK.
bool StartDlgDesigner(const Kdr_String& path);

/// Registers the designer window's template (227).
void registerDlgDesignerTemplate(ui::ResourceModule& module);
