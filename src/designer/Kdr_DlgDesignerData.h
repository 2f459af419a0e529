#pragma once

#include "designer/Kdr_DesignerControl.h"
#include "host/Kdr_Array.h"
#include "ui/Bitmap.h"
#include "ui/Geometry.h"
#include "ui/Image.h"
#include "ui/Window.h"

#include <memory>
#include <vector>

class CControlRect;
class CMultiRectTracker;
class MacroTabData;

namespace ui
{
class PaintContext;
struct Message;
} // namespace ui

/// What handleTabKey did with a key.
enum Kdr_TabMsgHandle
{
    tmhMoved = 0,       ///< the focus moved to another template control
    tmhNotHandled = 1,  ///< the key was not handled
    tmhAfterLast = 2,   ///< Tab on the last control: the caller moves on past the template
    tmhBeforeFirst = 3, ///< Shift+Tab on the first control: the caller moves back before it
};

/// The controls of one dialog template (a property file and a bitmap of the same name under
/// the designer root folder) and their windows on a dialog.
///
/// Controls keep their rectangles as fractions of the background image; every layout
/// operation works in pixels of that image through factorToPixels and pixelsToFactor. The
/// same object serves the designer (designer mode: controls are drawn disabled and are
/// selected, moved and sized with the mouse through a multi-selection tracker) and the macro
/// tabs (run time: controls are live, bound to a MacroTabData and ordered for the Tab key).
///
/// Copying copies the template (controls, name, image, identifier range and mode) but not
/// the windows: a copy is not attached to any dialog until it is initialised.
class Kdr_DlgDesignerData
{
public:
    /// The identifier range of the macro tabs and of the designer window.
    static constexpr int kFirstDynId = 33000;
    static constexpr int kLastDynId = 33099;
    /// The most controls a template file may declare. More than any drawing holds, few
    /// enough that a damaged count cannot exhaust the memory.
    static constexpr int kMaxControls = 10000;
    /// The largest magnitude a stored factor may have: a control may reach past its image,
    /// but not a hundred images away.
    static constexpr double kMaxFactor = 100.0;
    /// The smallest height a combo box gets at run time, so that its list has room.
    static constexpr int kMinComboHeight = 200;

    Kdr_DlgDesignerData();
    Kdr_DlgDesignerData(const Kdr_DlgDesignerData& other);
    Kdr_DlgDesignerData& operator=(const Kdr_DlgDesignerData& other);
    virtual ~Kdr_DlgDesignerData();

    // ---- template file -----------------------------------------------------------------

    /// Reads a template below the root folder, with its image when `withImage` is true.
    /// False, with nothing changed, when the file is missing, lies outside the root folder,
    /// cannot be read or holds a value that no template can hold (the file and key are
    /// printed on the command line).
    bool readFromFile(const Kdr_String& path, bool withImage);
    /// Writes the template to `path` below the root folder, copying the image of the
    /// previous name along (a copy onto itself changes nothing). False, with nothing
    /// written, outside the root folder or when the file cannot be written.
    bool writeToFile(const Kdr_String& path);
    /// Loads the background image; false (the previous image stays) when the file is missing
    /// or is no readable bitmap.
    bool attachBitmap(const Kdr_String& path);
    /// The contents (variable names) of every edit-field control (type 2), in list order.
    void getAllCtrlNames(Kdr_StringArray& names) const;
    /// The name of the template last read or written: its path below the root folder
    /// without extension, sub-folders separated by '/'.
    const Kdr_String& getTemplateName() const { return templateName_; }
    void setTemplateName(const Kdr_String& name) { templateName_ = name; }
    /// The background image (null without one) and its mask.
    std::shared_ptr<const ui::Bitmap> getImage() const { return image_; }
    bool hasImage() const { return imageWidth_ > 0 && imageHeight_ > 0; }

    // ---- list access -------------------------------------------------------------------

    int getNrControls() const { return static_cast<int>(controls_.size()); }
    const Kdr_DesignerControl* getControl(int index) const;
    Kdr_DesignerControl* getControlWrite(int index);
    Kdr_DesignerControl* getControlFromRes(int id);
    /// The first control with identifier `id`; false for an identifier ≤ 0 or none.
    bool findCtrlFromResource(int id, int& index) const;
    /// The control whose window is the tracker's current window; −1 without one.
    int getCurSel() const;
    /// The image size in pixels; 0 by 0 while not initialised.
    void getImageSize(int& width, int& height) const;
    /// The dialog; null while not initialised or when it is gone.
    ui::Window* getDlgPtr() const;
    /// Adds a copy of `control` with the lowest free identifier of the range (0 when the
    /// range is used up) and returns that identifier.
    int append(const Kdr_DesignerControl& control);
    /// Deletes the control at `index`; an invalid index does nothing.
    void removeControl(int index);
    /// Deletes every control and its window.
    void removeAllControls();

    // ---- pixels and factors ------------------------------------------------------------

    double factorToPixels(bool horizontal, double factor) const;
    /// 0 while there is no image, as no factor can be worked out then.
    double pixelsToFactor(bool horizontal, double pixels) const;
    double getTopLeftX(const Kdr_DesignerControl& control) const;
    double getTopLeftY(const Kdr_DesignerControl& control) const;
    double getBottomRightX(const Kdr_DesignerControl& control) const;
    double getBottomRightY(const Kdr_DesignerControl& control) const;
    /// The pixel setters store factors; without an image they refuse (false, nothing changed).
    bool setTopLeftX(Kdr_DesignerControl& control, double pixels) const;
    bool setTopLeftY(Kdr_DesignerControl& control, double pixels) const;
    bool setBottomRightX(Kdr_DesignerControl& control, double pixels) const;
    bool setBottomRightY(Kdr_DesignerControl& control, double pixels) const;
    double getWidth(const Kdr_DesignerControl& control) const;
    double getHeight(const Kdr_DesignerControl& control) const;
    /// Keeps the left edge.
    bool setWidth(Kdr_DesignerControl& control, double width) const;
    /// Keeps the bottom edge.
    bool setHeight(Kdr_DesignerControl& control, double height) const;
    /// The control's window rectangle relative to the dialog's client origin, each edge
    /// rounded to a whole pixel.
    ui::Rect getPixelRect(const Kdr_DesignerControl& control) const;
    /// Takes the window rectangle of drawn control `index` back into its factors.
    void getSizeFromControl(int index);
    void getSizeFromAllControls();

    // ---- designer editing --------------------------------------------------------------

    /// A new 30 × 18 pixel control at (0.2, 0.2) with the default caption; false without an
    /// image, as its size cannot be expressed as factors then.
    bool addNewControl(int type);
    bool removeCurControls();
    void copyCurCtrls();
    /// Aligns the bottoms of the selected controls to the leftmost one.
    bool outlineCurCtrls();
    /// Puts the right one of two selected controls against the left one.
    bool stickRightCurCtrls();
    /// Asks for a width (horizontal) or height and gives it to every selected control. Only
    /// a number above 0 is taken; anything else changes nothing.
    void changeCtrlSize(bool horizontal);
    /// Right = left + pixels (horizontal) or bottom = top + pixels.
    void changeCtrlSize(int index, bool horizontal, double pixels);
    void selectCtrls(const Kdr_Array<int>& identifiers);
    /// The identifiers of the selected windows, in selection order.
    Kdr_Array<int> getSelectedIds() const;
    void redrawAllControls();
    void removeAllDrawnCtrls();
    void printPositions() const;

    // ---- keyboard order ----------------------------------------------------------------

    void sortAllControls();
    bool handleTabKey(unsigned key, Kdr_TabMsgHandle& result);
    bool containsEditableCtrls() const;
    bool findCtrlWithTabOrder(int tabOrder, int& index) const;
    bool setFocusToCtrl(int index);
    bool setFocusToCtrl(bool first);
    bool getFocusedDynControl(int& id) const;
    bool isADynControl(int id) const;

    // ---- on a dialog -------------------------------------------------------------------

    bool initialize(ui::Window* dialog, int firstId, int lastId, int typeComboId, int typeHintId,
                    int contentsEditId, int extraLabelId, int extraEditId, bool designerMode);
    bool isInitialized() const { return initialised_; }
    bool isDesignerMode() const { return designerMode_; }
    bool isUpdating() const { return updating_; }
    void setUpdating(bool updating) { updating_ = updating; }
    int getFirstId() const { return firstId_; }
    int getLastId() const { return lastId_; }
    /// The designer window's property controls: type combo, type hint, contents edit,
    /// extra label and extra edit.
    int getTypeComboId() const { return typeComboId_; }
    int getTypeHintId() const { return typeHintId_; }
    int getContentsEditId() const { return contentsEditId_; }
    int getExtraLabelId() const { return extraLabelId_; }
    int getExtraEditId() const { return extraEditId_; }

    /// Draws the background: button face in designer mode, then the image through its mask.
    int OnEraseBkgnd(ui::PaintContext& dc);
    /// Draws the tracker's handles.
    void OnPaint(ui::PaintContext& dc);
    /// Sets a sizing cursor over the tracker's handles; true when it did.
    bool OnSetCursor(unsigned hitTest, unsigned message);
    /// Mouse messages of the drawing area (dialog client coordinates) for the tracker:
    /// select, move, resize, and rubber-band selection.
    void OnLButtonDown(unsigned flags, ui::Point point);
    void OnMouseMove(unsigned flags, ui::Point point);
    void OnLButtonUp(unsigned flags, ui::Point point);
    /// The dialog lost the mouse: a drag ends where it is.
    void OnCaptureChanged();
    /// For the dialog's PreTranslateMessage in designer mode: a press on a template control's
    /// own window (a label is not disabled, so it would take the click itself) goes to the
    /// tracker instead. True when the message was taken.
    bool preTranslateMouse(const ui::Message& message);

    bool drawControl(Kdr_DesignerControl& control);
    bool FillDesCombo(ui::Window* dialog, Kdr_DesignerControl& control);

    // ---- values ------------------------------------------------------------------------

    bool getCtrlValue(int id, Kdr_String& text) const;
    bool setCtrlValue(int id, const Kdr_String& text);
    bool getSetCheckValue(bool set, int index, Kdr_String& text);
    bool getCheckValue(int id, Kdr_String& text);
    bool setCheckValue(int id, const Kdr_String& text);
    bool getSetComboValue(bool set, int index, Kdr_String& text);
    bool getComboValue(int id, Kdr_String& text);
    bool setComboValue(int id, const Kdr_String& text);
    bool setCtrlReadOnly(int id, bool readOnly);
    bool isTypeBoltCount(int id) const;
    bool getDynControlType(int id, int& type) const;
    bool findEditCtrlWithContents(const Kdr_String& name, int& index) const;

    // ---- flex/fix buttons --------------------------------------------------------------

    void getFlexBtnsGroups(Kdr_StringArray& names) const;
    bool getFlexBtnsInGroup(const Kdr_String& group, Kdr_Array<int>& all, Kdr_Array<int>& marked) const;
    bool findFlexButton(const Kdr_String& group, const Kdr_String& variable, int& index) const;
    void getAllFlexVarsOfGroup(const Kdr_String& group, Kdr_StringArray& names) const;
    bool getFlexBtnGroupName(int id, Kdr_String& group, Kdr_String& variable) const;
    bool getSetFlexBtnStatus(bool set, int index, int& status);
    bool getFlexBtnStatus(const Kdr_String& group, const Kdr_String& variable, int& status);
    bool setFlexBtnStatus(const Kdr_String& group, const Kdr_String& variable, int status);
    void hideAllFlexBtns(const Kdr_String& group);

    // ---- binding to a macro tab --------------------------------------------------------

    /// Shows the tab's template on `dialog`: clears the tab's dialog references, reads the
    /// template with its image, binds every control to the tab (dropping those whose binding
    /// fails), orders and draws them and sets the flex/fix buttons. False when the tab has
    /// no template or it cannot be read; the tab then shows no template controls.
    bool loadMacroTab(ui::Window* dialog, MacroTabData& tab);
    /// Binds one control; false when it has to be dropped.
    bool bindControl(Kdr_DesignerControl& control, MacroTabData& tab);
    /// Sets every flex/fix button of the template from the tab's groups.
    void setFlexFixStates(const MacroTabData& tab);
    /// A click on flex/fix button `id`: reports its new state to the tab. False when `id` is
    /// no flex/fix button or the tab refused the change.
    bool flexBtnClicked(int id, MacroTabData& tab);
    /// Writes the tab's values into the bound controls (variables with their read-only
    /// state, bolt counts, bolt data, member groups, arrays, cuts).
    void setTabValuesToControls(const MacroTabData& tab);
    /// Reads the bound controls back into the tab. Cell buttons (types 25 and 26) show a
    /// caption, not a value, so they are never read back into their variable.
    void getTabValuesFromControls(MacroTabData& tab) const;

    /// The indeterminate text (host dialog text 695).
    static Kdr_String indeterminateText();
    /// The caption of narrow buttons (types 17 and 24): `text` when the control is wide
    /// enough for it, else "...".
    Kdr_String narrowButtonCaption(const Kdr_DesignerControl& control, const Kdr_String& text) const;

private:
    friend class CMultiRectTracker;

    /// The drawn control whose window has `id`, and its index in the drawn list.
    CControlRect* findDrawn(int id, int* index = nullptr) const;
    /// The window of control `index`, or null when it is not drawn.
    ui::Window* drawnWindowOf(int index) const;
    /// The index of the control that a drawn window belongs to, or −1.
    int controlIndexOfWindow(const ui::Window* window) const;
    bool hasTracker() const { return tracker_ != nullptr; }
    /// Gathers the selected controls (indices in selection order) that resolve to a control.
    std::vector<int> selectedControlIndices() const;
    void reselect(const Kdr_Array<int>& identifiers);
    void fillTypeCombo();
    void sortNextRow(std::vector<int>& candidates, int& counter);
    ui::Image& flexIcon();

    bool initialised_ = false;
    bool updating_ = false;
    ui::WindowHandle dialog_ = 0;
    std::unique_ptr<ui::Image> flexIcon_;
    std::vector<std::unique_ptr<CControlRect>> drawn_;
    std::unique_ptr<CMultiRectTracker> tracker_;
    std::shared_ptr<const ui::Bitmap> image_;
    std::shared_ptr<const ui::BitmapMask> imageMask_;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int firstId_ = kFirstDynId;
    int lastId_ = kLastDynId;
    bool designerMode_ = false;
    int typeComboId_ = 0;
    int typeHintId_ = 0;
    int contentsEditId_ = 0;
    int extraLabelId_ = 0;
    int extraEditId_ = 0;
    Kdr_String templateName_;
    std::vector<std::unique_ptr<Kdr_DesignerControl>> controls_;
};
