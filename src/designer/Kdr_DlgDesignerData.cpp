#include "designer/Kdr_DlgDesignerData.h"

#include "designer/CControlRect.h"
#include "designer/CMultiRectTracker.h"
#include "designer/Kdr_DesignerFiles.h"
#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Kdr_PropertiesList.h"

#include <cmath>
#include <filesystem>

namespace
{
const char* const kCoordinateKeys[] = {"topLeftX", "topLeftY", "bottomRightX", "bottomRightY"};

Kdr_String indexedKey(const char* name, int index)
{
    return Kdr_String(name) + std::to_string(index);
}

void reportBadKey(const Kdr_String& path, const Kdr_String& key, const char* expected)
{
    acutPrintf("*Error* Dialog template \"%s\", key \"%s\": %s.\n", host::normalizePath(path).c_str(),
               key.c_str(), expected);
}

/// Checks what a template file holds before anything is taken from it: a count that can be
/// allocated, whole-number types, finite factors of a sane size and texts where texts belong.
/// A missing key is no fault (it gives the member's default).
bool checkTemplateList(const Kdr_PropertiesList& list, const Kdr_String& path, int& count)
{
    count = 0;
    Kdr_PropertiesList::Type type{};
    if (list.getType("nrOfControls", type))
    {
        if (type != Kdr_PropertiesList::Type::Int || !list.getInt("nrOfControls", count) || count < 0 ||
            count > Kdr_DlgDesignerData::kMaxControls)
        {
            reportBadKey(path, "nrOfControls", "expected a whole number from 0 to 10000");
            return false;
        }
    }
    for (int i = 0; i < count; ++i)
    {
        const Kdr_String typeKey = indexedKey("type", i);
        if (list.getType(typeKey, type) && type != Kdr_PropertiesList::Type::Int)
        {
            reportBadKey(path, typeKey, "expected a whole number");
            return false;
        }
        for (const char* name : kCoordinateKeys)
        {
            const Kdr_String key = indexedKey(name, i);
            double factor = 0.0;
            if (!list.getType(key, type))
                continue;
            if (type == Kdr_PropertiesList::Type::String || !list.getDouble(key, factor) ||
                !std::isfinite(factor) || std::fabs(factor) > Kdr_DlgDesignerData::kMaxFactor)
            {
                reportBadKey(path, key, "expected a number from -100 to 100");
                return false;
            }
        }
        for (const char* name : {"contents", "comboList"})
        {
            const Kdr_String key = indexedKey(name, i);
            if (list.getType(key, type) && type != Kdr_PropertiesList::Type::String)
            {
                reportBadKey(path, key, "expected a text");
                return false;
            }
        }
    }
    return true;
}
} // namespace

Kdr_DlgDesignerData::Kdr_DlgDesignerData() = default;

Kdr_DlgDesignerData::Kdr_DlgDesignerData(const Kdr_DlgDesignerData& other)
{
    *this = other;
}

Kdr_DlgDesignerData& Kdr_DlgDesignerData::operator=(const Kdr_DlgDesignerData& other)
{
    if (this == &other)
        return *this;
    removeAllDrawnCtrls();
    initialised_ = false;
    updating_ = false;
    dialog_ = 0;
    tracker_.reset();
    image_ = other.image_;
    imageMask_ = other.imageMask_;
    imageWidth_ = other.imageWidth_;
    imageHeight_ = other.imageHeight_;
    firstId_ = other.firstId_;
    lastId_ = other.lastId_;
    designerMode_ = other.designerMode_;
    typeComboId_ = other.typeComboId_;
    typeHintId_ = other.typeHintId_;
    contentsEditId_ = other.contentsEditId_;
    extraLabelId_ = other.extraLabelId_;
    extraEditId_ = other.extraEditId_;
    templateName_ = other.templateName_;
    controls_.clear();
    for (const auto& control : other.controls_)
        controls_.push_back(std::make_unique<Kdr_DesignerControl>(*control));
    return *this;
}

Kdr_DlgDesignerData::~Kdr_DlgDesignerData()
{
    removeAllDrawnCtrls();
}

// ---- template file ---------------------------------------------------------------------

bool Kdr_DlgDesignerData::readFromFile(const Kdr_String& path, bool withImage)
{
    Kdr_String name;
    if (!designer::templateNameOfPath(path, name) || !ObjectExportFileExists(path))
        return false;
    Kdr_PropertiesList list;
    int count = 0;
    // A file that cannot be read or holds nonsense leaves the template as it was, so that a
    // later save cannot overwrite the original with an empty template.
    if (!list.readFromFile(path) || !checkTemplateList(list, path, count))
        return false;
    templateName_ = name;
    removeAllDrawnCtrls();
    controls_.clear();
    for (int i = 0; i < count; ++i)
    {
        Kdr_DesignerControl control;
        control.getFromPropList(list, i);
        append(control);
    }
    if (withImage)
        attachBitmap(changeExtension(path, "bmp"));
    return true;
}

bool Kdr_DlgDesignerData::writeToFile(const Kdr_String& path)
{
    Kdr_String name;
    if (!designer::templateNameOfPath(path, name))
        return false;
    const Kdr_String previousName = templateName_;
    // A template may be saved into a new sub-folder of the root folder.
    ObjectExportCreateDirectory(getPath(designer::normalizeTemplatePath(path)));
    const Kdr_String imageTarget = changeExtension(designer::normalizeTemplatePath(path), "bmp");
    if (!previousName.isEmpty())
    {
        const Kdr_String imageSource = designer::templateImagePath(previousName);
        std::error_code code;
        const bool same =
            std::filesystem::equivalent(host::toPath(imageSource), host::toPath(imageTarget), code);
        // A copy onto itself is left out altogether; a failed copy is not worth refusing
        // the save for.
        if (!same && ObjectExportFileExists(imageSource))
            ObjectExportCopyFile(imageSource, imageTarget);
    }
    getSizeFromAllControls();
    Kdr_PropertiesList list;
    list.setInt("nrOfControls", getNrControls());
    for (int i = 0; i < getNrControls(); ++i)
        controls_[static_cast<std::size_t>(i)]->setToPropList(list, i);
    if (!list.writeToFile(designer::normalizeTemplatePath(path)))
        return false;
    templateName_ = name;
    return true;
}

bool Kdr_DlgDesignerData::attachBitmap(const Kdr_String& path)
{
    if (!ObjectExportFileExists(path))
        return false;
    std::string error;
    std::optional<ui::Bitmap> picture = ui::Bitmap::load(host::normalizePath(path), error);
    if (!picture || picture->empty())
    {
        if (!error.empty())
            acutPrintf("*Error* %s\n", error.c_str());
        return false;
    }
    auto image = std::make_shared<const ui::Bitmap>(std::move(*picture));
    imageMask_ = std::make_shared<const ui::BitmapMask>(image->maskFor(RGB(255, 255, 255)));
    image_ = std::move(image);
    imageWidth_ = image_->width();
    imageHeight_ = image_->height();
    return true;
}

void Kdr_DlgDesignerData::getAllCtrlNames(Kdr_StringArray& names) const
{
    names.clear();
    for (const auto& control : controls_)
        if (control->type == ctCellEdit)
            names.append(control->contents);
}

// ---- list access -------------------------------------------------------------------------

const Kdr_DesignerControl* Kdr_DlgDesignerData::getControl(int index) const
{
    return index >= 0 && index < getNrControls() ? controls_[static_cast<std::size_t>(index)].get() : nullptr;
}

Kdr_DesignerControl* Kdr_DlgDesignerData::getControlWrite(int index)
{
    return index >= 0 && index < getNrControls() ? controls_[static_cast<std::size_t>(index)].get() : nullptr;
}

Kdr_DesignerControl* Kdr_DlgDesignerData::getControlFromRes(int id)
{
    int index = -1;
    return findCtrlFromResource(id, index) ? getControlWrite(index) : nullptr;
}

bool Kdr_DlgDesignerData::findCtrlFromResource(int id, int& index) const
{
    if (id <= 0)
        return false;
    for (int i = 0; i < getNrControls(); ++i)
        if (controls_[static_cast<std::size_t>(i)]->resourceId == id)
        {
            index = i;
            return true;
        }
    return false;
}

int Kdr_DlgDesignerData::getCurSel() const
{
    if (!tracker_)
        return -1;
    return controlIndexOfWindow(tracker_->getCurWindow());
}

void Kdr_DlgDesignerData::getImageSize(int& width, int& height) const
{
    width = initialised_ ? imageWidth_ : 0;
    height = initialised_ ? imageHeight_ : 0;
}

ui::Window* Kdr_DlgDesignerData::getDlgPtr() const
{
    return initialised_ ? ui::Window::FromHandle(dialog_) : nullptr;
}

int Kdr_DlgDesignerData::append(const Kdr_DesignerControl& control)
{
    int id = 0;
    for (int candidate = firstId_; candidate <= lastId_ && id == 0; ++candidate)
    {
        int unused = -1;
        if (!findCtrlFromResource(candidate, unused))
            id = candidate;
    }
    auto copy = std::make_unique<Kdr_DesignerControl>(control);
    copy->resourceId = id;
    controls_.push_back(std::move(copy));
    return id;
}

void Kdr_DlgDesignerData::removeControl(int index)
{
    if (index < 0 || index >= getNrControls())
        return;
    controls_.erase(controls_.begin() + index);
}

void Kdr_DlgDesignerData::removeAllControls()
{
    removeAllDrawnCtrls();
    controls_.clear();
}

// ---- pixels and factors ------------------------------------------------------------------

double Kdr_DlgDesignerData::factorToPixels(bool horizontal, double factor) const
{
    return factor * (horizontal ? imageWidth_ : imageHeight_);
}

double Kdr_DlgDesignerData::pixelsToFactor(bool horizontal, double pixels) const
{
    const int size = horizontal ? imageWidth_ : imageHeight_;
    return size > 0 ? pixels / size : 0.0;
}

double Kdr_DlgDesignerData::getTopLeftX(const Kdr_DesignerControl& control) const
{
    return factorToPixels(true, control.topLeftX);
}

double Kdr_DlgDesignerData::getTopLeftY(const Kdr_DesignerControl& control) const
{
    return factorToPixels(false, control.topLeftY);
}

double Kdr_DlgDesignerData::getBottomRightX(const Kdr_DesignerControl& control) const
{
    return factorToPixels(true, control.bottomRightX);
}

double Kdr_DlgDesignerData::getBottomRightY(const Kdr_DesignerControl& control) const
{
    return factorToPixels(false, control.bottomRightY);
}

bool Kdr_DlgDesignerData::setTopLeftX(Kdr_DesignerControl& control, double pixels) const
{
    if (!hasImage())
        return false;
    control.topLeftX = pixelsToFactor(true, pixels);
    return true;
}

bool Kdr_DlgDesignerData::setTopLeftY(Kdr_DesignerControl& control, double pixels) const
{
    if (!hasImage())
        return false;
    control.topLeftY = pixelsToFactor(false, pixels);
    return true;
}

bool Kdr_DlgDesignerData::setBottomRightX(Kdr_DesignerControl& control, double pixels) const
{
    if (!hasImage())
        return false;
    control.bottomRightX = pixelsToFactor(true, pixels);
    return true;
}

bool Kdr_DlgDesignerData::setBottomRightY(Kdr_DesignerControl& control, double pixels) const
{
    if (!hasImage())
        return false;
    control.bottomRightY = pixelsToFactor(false, pixels);
    return true;
}

double Kdr_DlgDesignerData::getWidth(const Kdr_DesignerControl& control) const
{
    return getBottomRightX(control) - getTopLeftX(control);
}

double Kdr_DlgDesignerData::getHeight(const Kdr_DesignerControl& control) const
{
    return getBottomRightY(control) - getTopLeftY(control);
}

bool Kdr_DlgDesignerData::setWidth(Kdr_DesignerControl& control, double width) const
{
    return setBottomRightX(control, getTopLeftX(control) + width);
}

bool Kdr_DlgDesignerData::setHeight(Kdr_DesignerControl& control, double height) const
{
    return setTopLeftY(control, getBottomRightY(control) - height);
}

ui::Rect Kdr_DlgDesignerData::getPixelRect(const Kdr_DesignerControl& control) const
{
    // Factors are bounded when read and the image is at most 16384 pixels wide, so every
    // edge fits an int with room to spare.
    const auto edge = [](double pixels) { return static_cast<int>(std::lround(pixels)); };
    return ui::Rect(edge(getTopLeftX(control)), edge(getTopLeftY(control)), edge(getBottomRightX(control)),
                    edge(getBottomRightY(control)));
}

void Kdr_DlgDesignerData::getSizeFromControl(int index)
{
    if (drawn_.size() != controls_.size() || index < 0 || index >= getNrControls() || !hasImage())
        return;
    const ui::Window* window = drawn_[static_cast<std::size_t>(index)]->window();
    const ui::Window* dialog = getDlgPtr();
    if (window == nullptr || dialog == nullptr)
        return;
    ui::Rect rect = window->GetWindowRect();
    dialog->ScreenToClient(rect);
    Kdr_DesignerControl& control = *controls_[static_cast<std::size_t>(index)];
    control.topLeftX = pixelsToFactor(true, rect.left);
    control.topLeftY = pixelsToFactor(false, rect.top);
    control.bottomRightX = pixelsToFactor(true, rect.right);
    control.bottomRightY = pixelsToFactor(false, rect.bottom);
}

void Kdr_DlgDesignerData::getSizeFromAllControls()
{
    for (int i = 0; i < getNrControls(); ++i)
        getSizeFromControl(i);
}

void Kdr_DlgDesignerData::printPositions() const
{
    for (const auto& control : controls_)
    {
        acutPrintf("**** Control %s ****\n", control->contents.c_str());
        acutPrintf("Left: %f - Right: %f\n", control->topLeftX, control->bottomRightX);
        acutPrintf("Top: %f - Bottom: %f\n", control->topLeftY, control->bottomRightY);
    }
    acutPrintf("********\n");
}

// ---- drawn controls ----------------------------------------------------------------------

CControlRect* Kdr_DlgDesignerData::findDrawn(int id, int* index) const
{
    if (id <= 0)
        return nullptr;
    for (std::size_t i = 0; i < drawn_.size(); ++i)
        if (drawn_[i]->id() == id && drawn_[i]->window() != nullptr)
        {
            if (index != nullptr)
                *index = static_cast<int>(i);
            return drawn_[i].get();
        }
    return nullptr;
}

int Kdr_DlgDesignerData::controlIndexOfWindow(const ui::Window* window) const
{
    if (window == nullptr)
        return -1;
    int index = -1;
    return findCtrlFromResource(window->GetDlgCtrlID(), index) ? index : -1;
}

void Kdr_DlgDesignerData::removeAllDrawnCtrls()
{
    if (tracker_)
        tracker_->removeAll();
    drawn_.clear();
}
