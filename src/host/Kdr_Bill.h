#pragma once

// The host's bill of materials and the picture calls a list output makes for its parts.
// The drawing is not modelled here, so the bill is a stand-in: it records what it is asked,
// and it draws a part's picture by copying a picture file named for that row beforehand.

#include "host/Kdr_StringArray.h"

#include <map>
#include <vector>

class AcTransaction;

/// The bill a list output is fed from. Pictures are registered per row in feed order: the
/// n-th createImage call on the bill (counted from 0) asks for the picture of picture row n.
class Kdr_Bill
{
public:
    Kdr_Bill() = default;
    virtual ~Kdr_Bill() = default;

    /// Registers the bitmap file that stands for the drawn picture of the `row`-th part.
    void setPicture(int row, const Kdr_String& bitmapFile) { pictures_[row] = bitmapFile; }
    /// The registered file of a row, or "" when it has none.
    Kdr_String picture(int row) const;

    /// How many pictures were asked for so far.
    int imageRequests() const { return imageRequests_; }
    int nextImageRequest() { return imageRequests_++; }

private:
    std::map<int, Kdr_String> pictures_;
    int imageRequests_ = 0;
};

namespace host
{
/// One createImage call as the host received it.
struct ImageRequest
{
    Kdr_StringArray row;
    int setting1 = 0;
    int setting2 = 0;
    int setting3 = 0;
    bool flag1 = false;
    bool flag2 = false;
    const Kdr_Bill* bill = nullptr;
    const AcTransaction* transaction = nullptr;
    /// The file handed back ("" when the call failed).
    Kdr_String imageFile;
};

/// What list outputs asked of the host's picture calls, in order, so tests can see it.
struct BillPictureRequests
{
    /// The arguments of every initBMPDialog call.
    std::vector<int> dialogOpens;
    int dialogCloses = 0;
    std::vector<ImageRequest> images;

    void clear()
    {
        dialogOpens.clear();
        dialogCloses = 0;
        images.clear();
    }
};

BillPictureRequests& billPictureRequests();
} // namespace host

/// Opens the host's picture dialog, in which part pictures are drawn; `size` is its setting.
void initBMPDialog(int size);
/// Closes the picture dialog.
void closeBMPDialog();
/// Draws the picture of a bill row into a new image file and hands back its name; the caller
/// deletes the file once it has used it. `setting1` may be changed by the host. False, with
/// an empty name, when no picture can be made (no bill, no transaction, no picture for the
/// row).
bool createImage(const Kdr_StringArray& row, Kdr_String& imageFile, int& setting1, int setting2, int setting3,
                 bool flag1, bool flag2, Kdr_Bill* bill, AcTransaction* transaction);
