#include "designer/Kdr_DlgDesigner.h"

#include "designer/Kdr_DesignerFiles.h"
#include "frame/ModuleBitmaps.h"
#include "frame/ModuleResources.h"
#include "frame/ZxModalDialog.h"
#include "host/FileFunctions.h"
#include "host/Texts.h"
#include "ui/AcadHost.h"
#include "ui/ComboBox.h"
#include "ui/DialogSizes.h"
#include "ui/UserAgent.h"

namespace
{
constexpr int kIconButtons[8] = {IDC_DESIGNER_OPEN,   IDC_DESIGNER_SAVE_AS,     IDC_DESIGNER_ADD,
                                 IDC_DESIGNER_REMOVE, IDC_DESIGNER_WIDTH,       IDC_DESIGNER_HEIGHT,
                                 IDC_DESIGNER_COPY,   IDC_DESIGNER_ATTACH_IMAGE};
constexpr int kIcons[8] = {IDI_OPEN,      IDI_SAVE_AS,    IDI_ADD,  IDI_REMOVE,
                           IDI_SET_WIDTH, IDI_SET_HEIGHT, IDI_COPY, IDI_ATTACH_IMAGE};
/// The controls below the drawing area, which move with the window's bottom edge.
constexpr int kPanelControls[] = {
    IDC_DESIGNER_OPEN,        IDC_DESIGNER_SAVE_AS,      IDC_DESIGNER_ADD,         IDC_DESIGNER_REMOVE,
    IDC_DESIGNER_WIDTH,       IDC_DESIGNER_HEIGHT,       IDC_DESIGNER_COPY,        IDC_DESIGNER_ALIGN_BOTTOMS,
    IDC_DESIGNER_STICK_RIGHT, IDC_DESIGNER_ATTACH_IMAGE, IDC_DESIGNER_TYPE_GROUP,  IDC_DESIGNER_TYPE,
    IDC_DESIGNER_HINT_GROUP,  IDC_DESIGNER_CONTENTS,     IDC_DESIGNER_EXTRA_GROUP, IDC_DESIGNER_EXTRA};
constexpr int kFirstDesignerId = Kdr_DlgDesignerData::kFirstDynId;
constexpr int kLastDesignerId = Kdr_DlgDesignerData::kLastDynId;
/// Style bits that keep a label from being drawn transparent.
constexpr std::uint32_t kOpaqueLabelBits = 0x1 | 0x4;
/// The new control of the Add command: an edit field bound to a variable.
constexpr int kAddedControlType = ctCellEdit;

Kdr_String joined(std::initializer_list<int> numbers)
{
    Kdr_String text;
    for (int number : numbers)
    {
        if (!text.empty())
            text += ";";
        text += dialString(number);
    }
    return text;
}

Kdr_String fileFilter(int description, const char* pattern)
{
    return dialString(description) + " (" + pattern + ")|" + pattern + "||";
}
} // namespace

void registerDlgDesignerTemplate(ui::ResourceModule& module)
{
    ui::DialogTemplate t(IDD_DLG_DESIGNER, "", 0, 0, 420, 290);
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    const std::uint32_t icon = BS_PUSHBUTTON | WS_TABSTOP;
    t.control(IDC_DESIGNER_OPEN, "BUTTON", "", icon, 5, 232, 18, 16)
        .control(IDC_DESIGNER_SAVE_AS, "BUTTON", "", icon, 25, 232, 18, 16)
        .control(IDC_DESIGNER_ADD, "BUTTON", "", icon, 50, 232, 18, 16)
        .control(IDC_DESIGNER_REMOVE, "BUTTON", "", icon, 70, 232, 18, 16)
        .control(IDC_DESIGNER_WIDTH, "BUTTON", "", icon, 95, 232, 18, 16)
        .control(IDC_DESIGNER_HEIGHT, "BUTTON", "", icon, 115, 232, 18, 16)
        .control(IDC_DESIGNER_COPY, "BUTTON", "", icon, 140, 232, 18, 16)
        .pushButton(IDC_DESIGNER_ALIGN_BOTTOMS, "_ _", 160, 232, 20, 16)
        .pushButton(IDC_DESIGNER_STICK_RIGHT, "| |", 182, 232, 20, 16)
        .control(IDC_DESIGNER_ATTACH_IMAGE, "BUTTON", "", icon, 207, 232, 18, 16)
        .groupBox(IDC_DESIGNER_TYPE_GROUP, "", 5, 252, 100, 33)
        .comboBox(IDC_DESIGNER_TYPE, 10, 264, 90, 150, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .groupBox(IDC_DESIGNER_HINT_GROUP, "", 110, 252, 130, 33)
        .editText(IDC_DESIGNER_CONTENTS, 115, 264, 120, 12, ES_AUTOHSCROLL)
        .groupBox(IDC_DESIGNER_EXTRA_GROUP, "", 245, 252, 120, 33)
        .editText(IDC_DESIGNER_EXTRA, 250, 264, 110, 12, ES_AUTOHSCROLL)
        .defPushButton(IDOK, "", 370, 266, 45, 14)
        .control(IDCANCEL, "BUTTON", "Cancel", BS_PUSHBUTTON, 370, 250, 45, 14, 0, true);
    module.addDialog(std::move(t));
}

// ---- Tables of the property panel --------------------------------------------------------------

Kdr_String Kdr_DlgDesigner::typeHint(int type)
{
    switch (type)
    {
    case ctText:
    case ctGroup:
    case ctCellButtonA:
    case ctCellButtonB:
    case ctCellCheck:
        return dialString(827);
    case ctCellEdit:
    case ctCellCombo:
        return dialString(828);
    case ctPatternCount1:
    case ctPatternCount2:
    case ctPatternButton:
        return dialString(829);
    case ctCutType:
        return dialString(1406);
    case ctFlexFixButton:
        return dialString(1429);
    default:
        break;
    }
    if (type >= ctProfSection && type <= ctProfMoreButton)
        return dialString(830);
    if (type >= ctArrayProp1 && type <= ctArrayButton)
        return dialString(831);
    return {};
}

bool Kdr_DlgDesigner::hasExtra(int type)
{
    switch (type)
    {
    case ctText:
    case ctGroup:
    case ctCellCombo:
    case ctArrayEntry:
    case ctCellButtonA:
    case ctCellButtonB:
    case ctDrawingList:
    case ctCellCheck:
    case ctFlexFixButton:
        return true;
    default:
        return false;
    }
}

Kdr_String Kdr_DlgDesigner::extraLabel(int type)
{
    switch (type)
    {
    case ctText:
    case ctGroup:
        return dialString(1403);
    case ctCellCombo:
        return dialString(833);
    case ctArrayEntry:
        return dialString(834);
    case ctCellButtonA:
        return joined({1316, 1317, 1318, 1319});
    case ctCellButtonB:
        return joined({1316, 1317, 1320, 1319});
    case ctDrawingList:
        return dialString(1342);
    case ctCellCheck:
        return dialString(828);
    case ctFlexFixButton:
        return joined({705, 1430, 1431});
    default:
        return {};
    }
}

// ---- Opening and closing -------------------------------------------------------------------------

Kdr_DlgDesigner::Kdr_DlgDesigner(const Kdr_String& path) : ui::Dialog(IDD_DLG_DESIGNER), path_(path)
{
    onClicked(IDC_DESIGNER_OPEN, [this] { open(); });
    onClicked(IDC_DESIGNER_SAVE_AS, [this] { saveAs(); });
    onClicked(IDC_DESIGNER_ADD,
              [this]
              {
                  if (data_.addNewControl(kAddedControlType))
                      changed();
              });
    onClicked(IDC_DESIGNER_REMOVE,
              [this]
              {
                  if (data_.removeCurControls())
                      changed();
                  Invalidate();
                  updatePropsOfCurSel();
              });
    // The layout commands change the template as much as a drag does, so they mark it
    // unsaved too.
    onClicked(IDC_DESIGNER_WIDTH,
              [this]
              {
                  data_.changeCtrlSize(true);
                  changed();
              });
    onClicked(IDC_DESIGNER_HEIGHT,
              [this]
              {
                  data_.changeCtrlSize(false);
                  changed();
              });
    onClicked(IDC_DESIGNER_COPY,
              [this]
              {
                  data_.copyCurCtrls();
                  changed();
                  updatePropsOfCurSel();
              });
    onClicked(IDC_DESIGNER_ALIGN_BOTTOMS,
              [this]
              {
                  if (data_.outlineCurCtrls())
                      changed();
              });
    onClicked(IDC_DESIGNER_STICK_RIGHT,
              [this]
              {
                  if (data_.stickRightCurCtrls())
                      changed();
              });
    onClicked(IDC_DESIGNER_ATTACH_IMAGE, [this] { attachImage(); });
    onCommand(IDC_DESIGNER_TYPE, CBN_SELCHANGE, [this] { propsOfCurSelUpdated(); });
    onCommand(IDC_DESIGNER_CONTENTS, EN_CHANGE, [this] { propsOfCurSelUpdated(); });
    onCommand(IDC_DESIGNER_EXTRA, EN_CHANGE, [this] { propsOfCurSelUpdated(); });
}

bool Kdr_DlgDesigner::OnInitDialog()
{
    data_.initialize(this, kFirstDesignerId, kLastDesignerId, IDC_DESIGNER_TYPE, IDC_DESIGNER_HINT_GROUP,
                     IDC_DESIGNER_CONTENTS, IDC_DESIGNER_EXTRA_GROUP, IDC_DESIGNER_EXTRA, true);
    for (size_t i = 0; i < iconButtons_.size(); ++i)
    {
        iconButtons_[i].SubclassDlgItem(kIconButtons[i], this);
        iconButtons_[i].SetIcon(kIcons[i]);
    }
    SetDlgItemText(IDC_DESIGNER_TYPE_GROUP, dialString(836));
    SetDlgItemText(IDOK, dialString(285));

    const ui::Rect rect = GetWindowRect();
    initialWidth_ = rect.Width();
    initialHeight_ = rect.Height();
    setMinTrackSize({initialWidth_, initialHeight_});
    resizer_.Attach(this);
    for (const int id : kPanelControls)
        resizer_.AddControl(id, CResizer::anchorLeft | CResizer::anchorBottom);
    resizer_.AddControl(IDOK, CResizer::anchorBottomRight);
    resizer_.AddControl(IDCANCEL, CResizer::anchorBottomRight);
    ChangeDlgSize(this, kSizeKey);

    const Kdr_String file = designer::resolveTemplatePath(path_);
    if (!path_.empty() && ObjectExportFileExists(file))
        loadTemplate(file);
    setTitle();
    updatePropsOfCurSel();
    return true;
}

void Kdr_DlgDesigner::setTitle()
{
    Kdr_String title = dialString(843);
    if (!data_.getTemplateName().empty())
        title += " - <" + data_.getTemplateName() + ">";
    SetWindowText(title);
}

void Kdr_DlgDesigner::loadTemplate(const Kdr_String& path)
{
    data_.removeAllDrawnCtrls();
    const bool read = data_.readFromFile(path, true);
    data_.redrawAllControls();
    Invalidate();
    // A template that could not be read leaves the one shown as it was, saved or not.
    if (read)
        modified_ = false;
    setTitle();
    updatePropsOfCurSel();
}

bool Kdr_DlgDesigner::PreTranslateMessage(ui::Message& message)
{
    // Escape would cancel the window and lose the work without a question.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
        return true;
    if (data_.preTranslateMouse(message))
    {
        if (message.message == WM_LBUTTONDOWN)
            drawingAreaClicked();
        return true;
    }
    return ui::Dialog::PreTranslateMessage(message);
}

void Kdr_DlgDesigner::OnOK()
{
    if (savePrompt())
        EndDialog(IDOK);
}

void Kdr_DlgDesigner::OnClose()
{
    if (savePrompt())
        EndDialog(IDCANCEL);
}

void Kdr_DlgDesigner::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    resizer_.Detach();
    ui::Dialog::OnDestroy();
}

void Kdr_DlgDesigner::OnSize(unsigned type, int cx, int cy)
{
    ui::Dialog::OnSize(type, cx, cy);
    if (!resizer_.isAttached())
        return;
    resizer_.Move();
    Invalidate();
}

// ---- Saving --------------------------------------------------------------------------------------

bool Kdr_DlgDesigner::savePrompt()
{
    if (!modified_)
        return true;
    const Kdr_String& name = data_.getTemplateName();
    const int answer =
        MessageBox(dialString(838) + "\n<" + name + ">", dialString(837), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    if (answer != IDYES)
        return true;
    // A template without a name has no file yet: the user chooses one.
    if (name.empty())
        return saveAs();
    return save(designer::templateFilePath(name));
}

bool Kdr_DlgDesigner::save(const Kdr_String& path)
{
    if (data_.writeToFile(path))
    {
        modified_ = false;
        setTitle();
        return true;
    }
    Kdr_String name;
    const Kdr_String text = designer::templateNameOfPath(path, name)
                                ? "The template could not be written to\n" + path + "."
                                : "The template was not saved: templates are kept in the folder\n" +
                                      getDesignerRootFolder() + "\nand its sub-folders.";
    MessageBox(text, dialString(837), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool Kdr_DlgDesigner::saveAs()
{
    ui::FileDialogRequest request;
    request.owner = this;
    request.open = false;
    request.title = dialString(842);
    request.defaultExtension = "txt";
    request.filter = fileFilter(840, "*.txt");
    request.initialFolder = templateFolder();
    Kdr_String path;
    if (!ui::fileDialog(request, path))
        return false;
    return save(path);
}

Kdr_String Kdr_DlgDesigner::templateFolder() const
{
    const Kdr_String& name = data_.getTemplateName();
    return name.empty() ? getDesignerRootFolder() : getPath(designer::templateFilePath(name));
}

void Kdr_DlgDesigner::open()
{
    if (!savePrompt())
        return;
    ui::FileDialogRequest request;
    request.owner = this;
    request.open = true;
    request.title = dialString(841);
    request.defaultExtension = "txt";
    request.filter = fileFilter(840, "*.txt");
    request.initialFolder = templateFolder();
    request.flags = OFN_FILEMUSTEXIST;
    Kdr_String path;
    if (ui::fileDialog(request, path))
        loadTemplate(path);
}

void Kdr_DlgDesigner::attachImage()
{
    ui::FileDialogRequest request;
    request.owner = this;
    request.open = true;
    request.title = dialString(841);
    request.defaultExtension = "bmp";
    request.filter = fileFilter(839, "*.bmp");
    request.initialFolder = getDesignerRootFolder();
    request.flags = OFN_FILEMUSTEXIST;
    Kdr_String chosen;
    if (!ui::fileDialog(request, chosen))
        return;
    if (data_.getTemplateName().empty() && !saveAs())
        return;
    const Kdr_String image = designer::templateImagePath(data_.getTemplateName());
    ObjectExportCopyFile(chosen, image);
    if (!data_.attachBitmap(image))
        return;
    // The controls keep their places as parts of the image, so they follow its new size.
    data_.redrawAllControls();
    Invalidate();
    changed();
    updatePropsOfCurSel();
}

// ---- The property panel ----------------------------------------------------------------------------

void Kdr_DlgDesigner::updatePropsOfCurSel()
{
    auto* combo = dlgItem<ui::ComboBox>(IDC_DESIGNER_TYPE);
    if (!combo)
        return;
    data_.setUpdating(true);
    const Kdr_DesignerControl* control = data_.getControl(data_.getCurSel());
    const bool extra = control && hasExtra(control->type);
    combo->SetCurSel(control ? static_cast<int>(control->type) : -1);
    SetDlgItemText(IDC_DESIGNER_HINT_GROUP, control ? typeHint(control->type) : Kdr_String());
    SetDlgItemText(IDC_DESIGNER_CONTENTS, control ? control->contents : Kdr_String());
    SetDlgItemText(IDC_DESIGNER_EXTRA_GROUP, extra ? extraLabel(control->type) : Kdr_String());
    SetDlgItemText(IDC_DESIGNER_EXTRA, extra ? control->getMergedExtComboList() : Kdr_String());
    for (const int id : {int{IDC_DESIGNER_TYPE}, int{IDC_DESIGNER_HINT_GROUP}, int{IDC_DESIGNER_CONTENTS}})
        GetDlgItem(id)->EnableWindow(control != nullptr);
    for (const int id : {int{IDC_DESIGNER_EXTRA_GROUP}, int{IDC_DESIGNER_EXTRA}})
        GetDlgItem(id)->EnableWindow(extra);
    data_.setUpdating(false);
}

void Kdr_DlgDesigner::propsOfCurSelUpdated()
{
    if (data_.isUpdating())
        return;
    Kdr_DesignerControl* control = data_.getControlWrite(data_.getCurSel());
    auto* combo = dlgItem<ui::ComboBox>(IDC_DESIGNER_TYPE);
    if (!control || !combo)
        return;
    const Kdr_DesignerControl before = *control;
    if (combo->GetCurSel() >= 0)
        control->type = static_cast<Kdr_ControlType>(combo->GetCurSel());
    control->contents = GetDlgItemText(IDC_DESIGNER_CONTENTS);
    // The extra text is taken back only as the panel shows it for the control's own type: a
    // hidden one would wipe the list, and one shown for the previous type would be split by
    // the rules of the new one.
    if (control->type == before.type && GetDlgItem(IDC_DESIGNER_EXTRA)->IsWindowEnabled())
        control->setSplitExtComboList(GetDlgItemText(IDC_DESIGNER_EXTRA));
    if (!(control->contents == before.contents))
        if (ui::Window* window = GetDlgItem(control->resourceId))
        {
            window->SetWindowText(control->contents);
            window->Invalidate();
        }
    if (control->type != before.type)
    {
        const int id = control->resourceId;
        data_.getSizeFromAllControls();
        data_.redrawAllControls();
        data_.selectCtrls(Kdr_Array<int>{id});
        updatePropsOfCurSel();
    }
    changed();
}

// ---- The drawing area ------------------------------------------------------------------------------

int Kdr_DlgDesigner::drawingAreaBottom() const
{
    const ui::Window* first = GetDlgItem(IDC_DESIGNER_OPEN);
    return first ? first->rectInParent().top : GetClientRect().bottom;
}

void Kdr_DlgDesigner::drawingAreaClicked()
{
    updatePropsOfCurSel();
    changed();
}

bool Kdr_DlgDesigner::OnEraseBkgnd(ui::PaintContext& dc)
{
    data_.OnEraseBkgnd(dc);
    return true;
}

void Kdr_DlgDesigner::OnPaint(ui::PaintContext& dc)
{
    data_.OnPaint(dc);
}

bool Kdr_DlgDesigner::OnSetCursor(ui::Window* window, unsigned hitTest, unsigned message)
{
    return data_.OnSetCursor(hitTest, message) || ui::Dialog::OnSetCursor(window, hitTest, message);
}

ui::Brush Kdr_DlgDesigner::OnCtlColor(ui::PaintContext& dc, ui::Window* control, unsigned ctlColor)
{
    // Labels let the image behind them show through.
    if (ctlColor == CTLCOLOR_STATIC && control && control != this &&
        (control->GetStyle() & kOpaqueLabelBits) == 0)
    {
        dc.SetBkMode(TRANSPARENT);
        return ui::Brush::hollow();
    }
    return ui::Dialog::OnCtlColor(dc, control, ctlColor);
}

void Kdr_DlgDesigner::OnLButtonDown(unsigned flags, ui::Point point)
{
    if (point.y >= drawingAreaBottom())
    {
        ui::Dialog::OnLButtonDown(flags, point);
        return;
    }
    data_.OnLButtonDown(flags, point);
    drawingAreaClicked();
}

void Kdr_DlgDesigner::OnMouseMove(unsigned flags, ui::Point point)
{
    data_.OnMouseMove(flags, point);
}

void Kdr_DlgDesigner::OnLButtonUp(unsigned flags, ui::Point point)
{
    data_.OnLButtonUp(flags, point);
}

void Kdr_DlgDesigner::OnCaptureChanged(ui::Window*)
{
    data_.OnCaptureChanged();
}

// ---- Entry point -------------------------------------------------------------------------------------

bool StartDlgDesigner(const Kdr_String& path)
{
    // The designer saves its template itself: nothing goes back to the caller.
    return runModalOnRecord<Kdr_DlgDesigner>([](Kdr_DlgDesigner& designer)
                                             { designer.setParentWindow(adsw_acadMainWnd()); },
                                             [](Kdr_DlgDesigner&) {}, path);
}
